#pragma once
// The regional differences' section: for the zone code, the general part
// and every zone directory that fits, in the order the start applies them,
// with their kind directory and ZCODE check; every parameter with its type,
// the typed value it stores and which one it replaces; every copy with
// source, target and whether the source is there; whether files are copied
// at all (version and zone unchanged); every problem the start would log,
// with file and line.
//
// The plan comes from startup::PlanSysDifference over the installation's
// files (startup::SystemDifferenceFiles()), on a site that only reads:
// "cookie.ini" read with the private-profile functions, a value object of
// the check's own (planning never stores into it), no log, no writeIni.
#include "CheckSection.h"

#include "startup/regional/SysDifferencePlan.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace check {

// `regionDirectories`: the region directories the difference folder holds
// (names that start with a digit), for the warning when none of them
// matches the zone code.
std::unique_ptr<CheckSection> MakeDifferenceSection(startup::DifferencePlan plan,
                                                    std::vector<std::string> regionDirectories = {});

// A plan's problems as the report lists them: the module's log text, with
// what the reader said after it in brackets.
std::vector<startup::PlanProblem> DifferenceProblems(const startup::DifferencePlan& plan);

// A zone code that matches none of the region directories there are: the
// start then applies the general part alone, silently (a digit left off
// the company's ZONECODE, say). None when one matches or there are none.
std::optional<startup::PlanProblem> UnmatchedZoneProblem(const startup::DifferencePlan& plan,
                                                        const std::vector<std::string>& regionDirectories);

} // namespace check
