#pragma once
// The module's error catalogue: "errmsg.xml" in the sub-application's folder,
// read into the counted TErrorMsg array that the module owns and publishes
// to the host as the pointer item "Global_Errlist" of the sub-application's
// value object. The host looks codes up in it; the module never does.
#include "startup/catalogue/ErrorCatalogueParser.h"
#include "sharedrt/ValueLayout.h"

#include <string>

namespace startup {

inline constexpr const char kCatalogueFileName[] = "errmsg.xml";
inline constexpr const char kErrorListItem[] = "Global_Errlist";

// Loads the running sub-application's catalogue and publishes it. True when
// published; false with the [0001] message (no file) or the [0002] message
// (unloadable, or no document element) stored whole in `message`, the
// catalogue and "Global_Errlist" then left as they were.
bool LoadErrorCatalogue(std::string& message);

// Publishes a parsed catalogue: the module's array replaced and its first
// record set as "Global_Errlist" in `vo`. A null value object raises
// rt::Error; nothing is published then.
void PublishErrorCatalogue(const ParsedErrorCatalogue& parsed, rt::DataVO* vo);

// Reads, parses and publishes, for a given file and value object. A null value object raises
// rt::Error after the file was read; nothing is published then.
bool LoadErrorCatalogueFile(const std::string& file, rt::DataVO* vo, std::string& message);

// The published array's first record (null when empty or not loaded).
const void* PublishedErrorCatalogue() noexcept;

// Releases the array with all its strings; called when the module unloads.
void ReleaseErrorCatalogue() noexcept;

} // namespace startup
