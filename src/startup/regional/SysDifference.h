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
//
// A run is planned first (SysDifferencePlan.h: everything read, nothing
// changed), then the plan is applied.
#include "startup/regional/SysDifferencePlan.h"

#include <string>

namespace startup {

// The file system of this machine, read only.
const DifferenceFiles& SystemDifferenceFiles();

// The system's decimal separator (its number format); '.' when it cannot
// be read.
char SystemDecimalSeparator();

// A site over the host: "cookie.ini" read and written through the host's INI
// functions, problems to the module log, the system's decimal separator.
DifferenceSite HostDifferenceSite(const std::string& subAppFolder, const std::string& version, rt::DataVO* vo);

// The run at initialisation: the sub-application code, folder and version
// come from the host; `vo` null means the current sub-application's value
// object. Strip switch 0 matches region directories against the zone code
// less its first character, any other value against the whole zone code.
// Returns 0 when everything was applied, 1 when something failed.
int ApplySysDifference(const std::string& zoneCode, int stripSwitch, rt::DataVO* vo, int kind);

// The same on a given site: planned on this machine's files, then applied.
int ApplyDifferences(const DifferenceSite& site, const std::string& zoneCode, int stripSwitch, int kind);

// Carries a plan out on its site: stores the parameters of every part that
// applies into the site's value object, copies the items when the plan
// copies files, logs every problem through the site in the order met, and
// when everything was applied records the version and zone code in
// "cookie.ini". Returns 0 when everything was applied, 1 otherwise.
int ApplySysDifferencePlan(const DifferencePlan& plan, const DifferenceSite& site);

} // namespace startup
