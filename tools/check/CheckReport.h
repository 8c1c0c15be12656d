#pragma once
// The installation check's report: what was checked (the installation as
// the host profile describes it), then each section, then every problem
// with its file and line; as text (GBK) or as JSON (UTF-8). The exit status
// follows from the problems: 0 without any, 1 with some (2, an installation
// that cannot be read, never gets this far).
#include "CheckSection.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace check {

inline constexpr int kClean = 0;
inline constexpr int kProblemsFound = 1;
inline constexpr int kUnreadableInstallation = 2;

// What the host would give the module, as the host profile says.
struct CheckedInstallation {
    std::string folder;          // ends with "\"
    std::string profileFile;
    std::string hostFolder;      // the host program's folder (GetAppPath), ends with "\"
    std::string subAppCode;
    std::string subAppFolder;    // ends with "\"
    std::string version;
    std::string databaseFile;    // empty: the sub-application has no database
    std::string databaseScript;
    std::string zoneCode;
    std::string zoneSource;      // where the zone code comes from
};

using Sections = std::vector<std::unique_ptr<CheckSection>>;

// "file:line: message", or "file: message" for a problem of a whole file.
std::string ProblemLine(const startup::PlanProblem& problem);

std::vector<startup::PlanProblem> AllProblems(const Sections& sections);

void WriteTextReport(std::ostream& out, const CheckedInstallation& installation, const Sections& sections);
std::string JsonReport(const CheckedInstallation& installation, const Sections& sections);

int ExitStatus(const Sections& sections);

} // namespace check
