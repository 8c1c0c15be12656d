#pragma once
// Merging the sub-application's function action configuration into the
// host's: every key of every section of the sub-application folder's
// "action.ini" is written into the same section of the "action.ini" in the
// host's application folder. Keys only the host's file has stay; a key in
// both ends with the sub-application's value; nothing is removed and the
// sub-application's file is not changed.
#include <string>

namespace startup {

inline constexpr const char kActionIniName[] = "action.ini";

// The merge between the running sub-application's folder and the host's
// application folder, both asked of the host. A missing source does
// nothing (the target is neither touched nor created). A folder the host
// gives empty is logged and raises rt::Error: no file is looked for or
// written relative to nothing.
void MergeActionIni();

// The merge between two given files. The host's file is read once, merged
// in memory and, when anything changed, replaced whole by the merged file
// (written beside it, flushed, moved over it); lines not changed keep their
// bytes. A source, or a section of it, that cannot be read raises
// rt::IoError, as does a merged file that cannot be written; the host's file
// then stays as it was.
void MergeActionIniFiles(const std::string& source, const std::string& target);

} // namespace startup
