#pragma once
// The regional difference plan told to a person: the lines of the
// installation check's section (GBK, each indented by two spaces). Paths
// under the sub-application folder are shown relative to it.
//
//   zone code 1330106, regions matched against 330106; kind 1 (GS_Differ)
//   version 2.0.1; cookie.ini records none: parameters stored, files copied
//   parts, in the order they are applied:
//     1. general part  AppComs\difference\SysDifference.xml
//     2. 33  AppComs\difference\33\SysDifference.xml  ZCODE 33 matches
//   parameters:
//     #1 SWJGMC = 国家税务总局 (text)  part 1 line 5, replaced by #4
//   copies:
//     #1 file Difference.txt -> Difference.txt  part 1 line 40, source missing
#include "startup/regional/SysDifferencePlan.h"

#include <ostream>
#include <string>

namespace startup {

void WriteDifferencePlanText(std::ostream& out, const DifferencePlan& plan);

// The names the report uses for a parameter's kind and a copy's kind.
const char* ParameterKindName(ParameterKind kind) noexcept;
const char* CopyKindName(CopyKind kind) noexcept;
const char* ZcodeCheckName(ZcodeCheck check) noexcept;

// The typed value a parameter stores, as text: the number, "true" or
// "false", or the text itself.
std::string StoredValueText(const PlannedParameter& parameter);

// One line of text for the part a folder is: "general part", or the zone
// directory with its kind directory ("3301-city\GS_Differ").
std::string PartName(const PlannedFolder& folder);

} // namespace startup
