#pragma once
// f_SysDifference: the regional difference configuration of the
// sub-application, in its folder under "AppComs\difference\": a general part
// ("SysDifference.xml" in that directory) and regional parts in directories
// named after region codes ("32", "3201-city"; the prefix is the part before
// the first '-'), optionally with a kind directory "GS_Differ" (kind 1) or
// "DS_Differ" (kind 2) inside that takes the region directory's place.
//
// At every start the parts that fit the zone code are applied, general part
// first, then the regions from the widest to the narrowest: parameters go
// into the value object every time; files and directories are copied only
// when the sub-application's version or the zone code differs from what
// "cookie.ini" (section "Difference") recorded at the last complete success.
// The record is written only after a run in which everything was applied.
// Every problem is written to the module log, never shown.
#include "config/GbkConverter.h"
#include "sharedrt/ValueLayout.h"

#include <functional>
#include <optional>
#include <string>

namespace config {

inline constexpr const char kDifferenceDirectory[] = "AppComs\\difference\\";
inline constexpr const char kDifferenceFileName[] = "SysDifference.xml";
inline constexpr const char kDifferenceRecordFile[] = "cookie.ini";
inline constexpr const char kDifferenceRecordSection[] = "Difference";

// What one run works with. The host-backed run fills it from the host; tests
// fill it themselves.
struct DifferenceSite {
    std::string subAppFolder;  // ends with "\"
    std::string version;       // the sub-application's version text
    rt::DataVO* vo = nullptr;  // parameters are stored only when there is one
    char decimalSeparator = '.';
    // Turns the texts of Unicode documents into GBK; borrowed.
    const GbkConverter* converter = &SystemGbkConverter();
    std::function<void(const std::string&)> log;
    // Reading and writing "cookie.ini" (the host's INI functions).
    std::function<std::string(const std::string& file, const std::string& section, const std::string& key)> readIni;
    std::function<void(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value)>
        writeIni;

    std::string DifferenceFolder() const { return subAppFolder + kDifferenceDirectory; }
    std::string RecordFile() const { return subAppFolder + kDifferenceRecordFile; }
};

// The run at initialisation: the sub-application code, folder and version
// come from the host; `vo` null means the current sub-application's value
// object. Strip switch 0 matches region directories against the zone code
// less its first character, any other value against the whole zone code.
// Returns 0 when everything was applied, 1 when something failed.
int ApplySysDifference(const std::string& zoneCode, int stripSwitch, rt::DataVO* vo, int kind);

// The same on a given site.
int ApplyDifferences(const DifferenceSite& site, const std::string& zoneCode, int stripSwitch, int kind);

// False only when the record holds this zone code and the site's version.
bool DifferenceChanged(const DifferenceSite& site, const std::string& zoneCode);

// Applies one configuration file: the general part without a zone
// directory, otherwise that region's. True when everything in it was
// applied (a missing file is nothing to apply).
bool ApplyDifferenceFile(const DifferenceSite& site, bool copyFiles, const std::optional<std::string>& zoneDirectory,
                         int kind);

// Copies one item of a configuration in `sourceFolder` (relative to the
// difference directory; none for the general part). Type "0" copies the
// file `name` into the target directory, any other type copies the contents
// of the directory `name` into the target directory itself. The target is
// the sub-application folder for an empty `targetDir`, `targetDir` itself
// when it holds ':', else the sub-application folder + `targetDir`.
// False, after logging why, when the copy failed; a missing source
// directory raises rt::IoError.
bool CopyDifferenceItem(const DifferenceSite& site, const std::optional<std::string>& sourceFolder,
                        const std::string& name, const std::string& type, const std::string& targetDir);

} // namespace config
