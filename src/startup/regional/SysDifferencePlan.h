#pragma once
// The regional difference step as data: what one start would do with the
// difference configuration of a sub-application, and every problem it
// would log, read from the installation without changing anything.
// OS-free: the files are read through DifferenceFiles, "cookie.ini"
// through the site's readIni; nothing is written, logged or stored.
// ApplySysDifferencePlan (SysDifference.h) carries a plan out.
#include "startup/regional/DifferenceParameterValue.h"
#include "text/GbkConverter.h"
#include "sharedrt/ValueLayout.h"
#include "util/FileUtil.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace startup {

inline constexpr const char kDifferenceDirectory[] = "AppComs\\difference\\";
inline constexpr const char kDifferenceFileName[] = "SysDifference.xml";
inline constexpr const char kDifferenceRecordFile[] = "cookie.ini";
inline constexpr const char kDifferenceRecordSection[] = "Difference";
inline constexpr const char kDifferenceVersionKey[] = "lastVersion";
inline constexpr const char kDifferenceZoneKey[] = "lastRevenueCode";

// What one run works with. The host-backed run fills it from the host; tests
// fill it themselves.
struct DifferenceSite {
    std::string subAppFolder;  // ends with "\"
    std::string version;       // the sub-application's version text
    rt::DataVO* vo = nullptr;  // parameters are stored only when there is one
    char decimalSeparator = '.';
    // Turns the texts of Unicode documents into GBK; borrowed.
    const text::GbkConverter* converter = &text::SystemGbkConverter();
    std::function<void(const std::string&)> log;
    // Reading and writing "cookie.ini" (the host's INI functions).
    std::function<std::string(const std::string& file, const std::string& section, const std::string& key)> readIni;
    std::function<void(const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value)>
        writeIni;

    std::string DifferenceFolder() const { return subAppFolder + kDifferenceDirectory; }
    std::string RecordFile() const { return subAppFolder + kDifferenceRecordFile; }
};

// What planning reads of the file system. Only reads: a plan is made
// without changing anything.
class DifferenceFiles {
public:
    virtual ~DifferenceFiles() = default;
    // Missing only when the system answers that the path was not found.
    virtual util::PathKind Kind(const std::string& path) const = 0;
    // The file's bytes as they are; nullopt when they cannot be read.
    virtual std::optional<std::string> Read(const std::string& path) const = 0;
    // The entry names of a folder in the order the system lists them,
    // hidden and system entries, "." and ".." left out. A missing folder has
    // none; a listing that fails otherwise sets `failed`.
    virtual std::vector<std::string> List(const std::string& folder, bool& failed) const = 0;
};

// One line of the module log, with the place it concerns: the
// configuration file (or the folder or path the message names) and the line
// of the element in it, 0 when the problem concerns the file as a whole.
struct DifferenceProblem {
    std::string file;
    std::uint32_t line = 0;
    std::string message;  // exactly as the module logs it
    std::string detail;   // what the reader said (a parse error), not logged

    bool operator==(const DifferenceProblem&) const = default;
};

enum class ZcodeCheck {
    NotChecked,  // the general part, or a file that did not get that far
    Matches,
    Differs,
};

// A part of the configuration, in the order the parts are applied: the
// general part first, then the zone directories from the widest region to
// the narrowest.
struct PlannedFolder {
    std::optional<std::string> zoneDirectory;   // none for the general part
    std::string prefix;                         // the zone directory's prefix; empty for the general part
    std::string kindDirectory;                  // "GS_Differ" or "DS_Differ" when one takes its place
    std::optional<std::string> sourceFolder;    // relative to the difference directory; none for the general part
    std::string configPath;
    bool configExists = false;
    std::string zcode;  // as read (trimmed)
    ZcodeCheck zcodeCheck = ZcodeCheck::NotChecked;
    std::uint32_t zcodeLine = 0;
    // The problem that stops this part before anything of it is applied.
    std::optional<DifferenceProblem> stop;

    bool Applies() const { return configExists && !stop; }
};

struct PlannedParameter {
    std::size_t folder = 0;  // index into the plan's folders
    std::uint32_t line = 0;
    std::string name;
    std::string type;  // as written
    ParameterKind kind = ParameterKind::Text;
    std::string value;  // as written; the stored text for a text parameter
    std::int32_t integerValue = 0;
    bool booleanValue = false;
    double floatValue = 0;
    // Unreadable: logged and skipped.
    std::optional<DifferenceProblem> problem;
    // The earlier parameter of the same item name that this one replaces,
    // and the later one that replaces this; indices into the plan's
    // parameters.
    std::optional<std::size_t> overrides;
    std::optional<std::size_t> overriddenBy;
};

enum class CopyKind { File, Directory };

// Whether a plan holds the copies that its run does not make (version and
// zone unchanged): a report of the installation shows them, with what
// their sources and targets look like; the run itself leaves them out and
// looks at none of their files.
enum class CopiesNotMade { Planned, LeftOut };

struct PlannedCopy {
    std::size_t folder = 0;
    std::uint32_t line = 0;
    std::string name;
    std::string type;
    std::string targetDir;  // as written
    CopyKind kind = CopyKind::File;
    std::string source;       // the file, or the directory whose contents are copied
    std::string target;       // the target directory
    std::string destination;  // a file's path there; the target directory for a directory
    util::PathKind sourceKind = util::PathKind::Missing;
    // A file is copied into its target directory as it is: the copy fails
    // when the directory is not there (nor made by an earlier directory copy
    // of the same run).
    bool targetExists = false;
    // Unreadable: logged and skipped.
    std::optional<DifferenceProblem> problem;
    // What copying it logs, as far as reading can tell (a missing source).
    std::vector<DifferenceProblem> expected;

    bool SourceExists() const { return sourceKind == (kind == CopyKind::File ? util::PathKind::File : util::PathKind::Directory); }
};

struct DifferencePlan {
    std::string zoneCode;
    std::string matchCode;
    int stripSwitch = 0;
    int kind = 0;
    std::string subAppFolder;
    std::string differenceFolder;
    std::string recordFile;
    std::string version;
    std::string lastVersion;  // as "cookie.ini" records them
    std::string lastZoneCode;
    // Files are copied only when the version or the zone code differs from
    // the record; parameters only into a value object.
    bool copiesFiles = false;
    bool storesParameters = false;
    CopiesNotMade copiesNotMade = CopiesNotMade::Planned;
    std::vector<PlannedFolder> folders;  // in the order they are applied
    std::vector<PlannedParameter> parameters;
    std::vector<PlannedCopy> copies;
    // The difference directory could not be listed (logged after the general part).
    std::optional<DifferenceProblem> scanProblem;
};

// Where an item of a configuration comes from and goes to: the source in the
// difference directory (in `sourceFolder`, or the directory itself for the
// general part) and the target directory (the sub-application folder for an
// empty `targetDir`, `targetDir` itself when it holds ':', else under the
// sub-application folder).
struct CopyPaths {
    std::string source;
    std::string target;
};
CopyPaths DifferenceCopyPaths(const DifferenceSite& site, const std::optional<std::string>& sourceFolder,
                              const std::string& name, const std::string& targetDir);

// False only when the record holds this zone code and the site's version.
bool DifferenceChanged(const DifferenceSite& site, const std::string& zoneCode);

// The plan of one run. Strip switch 0 matches zone directories against the
// zone code less its first character, any other value against the whole
// zone code; kind 1 takes "GS_Differ" directories, kind 2 "DS_Differ". Reads
// through `files` and the site's readIni; never calls the site's log or
// writeIni and never touches its value object.
DifferencePlan PlanSysDifference(const DifferenceSite& site, const DifferenceFiles& files, const std::string& zoneCode,
                                 int stripSwitch, int kind, CopiesNotMade copiesNotMade = CopiesNotMade::Planned);

// Every problem the run would log, in the order it would log them. Those of
// copies only when files are copied; what copying finds only then (a file
// held by another program) is not among them.
std::vector<DifferenceProblem> PlannedProblems(const DifferencePlan& plan);

// The typed values the value object holds after the run: for each item name
// the last readable parameter stored under it (none when no value object is
// at hand).
std::vector<const PlannedParameter*> FinalParameters(const DifferencePlan& plan);

} // namespace startup
