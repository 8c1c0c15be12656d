#include "startup/regional/SysDifferenceReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using testing::HasSubstr;
using testing::Not;

namespace {

const std::string kApp = "C:\\app\\WSCBS\\";

// A plan as planning gives it: a general part, a zone that applies through
// its kind directory and one whose ZCODE is wrong; parameters of which the
// zone's replaces the general part's; a copy whose source is missing.
startup::DifferencePlan SamplePlan()
{
    startup::DifferencePlan plan;
    plan.zoneCode = "1330106";
    plan.matchCode = "330106";
    plan.kind = 1;
    plan.subAppFolder = kApp;
    plan.version = "2.0.1";
    plan.copiesFiles = true;
    plan.storesParameters = true;

    startup::PlannedFolder general;
    general.configPath = kApp + "AppComs\\difference\\SysDifference.xml";
    general.configExists = true;
    startup::PlannedFolder city;
    city.zoneDirectory = "3301-city";
    city.prefix = "3301";
    city.kindDirectory = "GS_Differ";
    city.configPath = kApp + "AppComs\\difference\\3301-city\\GS_Differ\\SysDifference.xml";
    city.configExists = true;
    city.zcode = "3301";
    city.zcodeCheck = startup::ZcodeCheck::Matches;
    startup::PlannedFolder wrong;
    wrong.zoneDirectory = "33";
    wrong.prefix = "33";
    wrong.configPath = kApp + "AppComs\\difference\\33\\SysDifference.xml";
    wrong.configExists = true;
    wrong.zcode = "32";
    wrong.zcodeCheck = startup::ZcodeCheck::Differs;
    wrong.stop = startup::DifferenceProblem{wrong.configPath, 2, "zcode", ""};
    plan.folders = {general, city, wrong};

    startup::PlannedParameter rate;
    rate.line = 5;
    rate.name = "TaxRate";
    rate.type = "float";
    rate.kind = startup::ParameterKind::Float;
    rate.value = "0.17";
    rate.floatValue = 0.17;
    rate.overriddenBy = 1;
    startup::PlannedParameter cityRate = rate;
    cityRate.folder = 1;
    cityRate.line = 9;
    cityRate.value = "0.13x";
    cityRate.floatValue = 0;
    cityRate.overrides = 0;
    cityRate.overriddenBy.reset();
    plan.parameters = {rate, cityRate};

    startup::PlannedCopy copy;
    copy.line = 12;
    copy.name = "a.dll";
    copy.kind = startup::CopyKind::File;
    copy.source = kApp + "AppComs\\difference\\a.dll";
    copy.destination = kApp + "bin\\a.dll";
    copy.sourceKind = util::PathKind::Missing;
    plan.copies = {copy};
    return plan;
}

std::string Text(const startup::DifferencePlan& plan)
{
    std::ostringstream out;
    startup::WriteDifferencePlanText(out, plan);
    return out.str();
}

} // namespace

TEST(SysDifferenceReport, TellsThePartsParametersAndCopiesInApplyOrder)
{
    const std::string text = Text(SamplePlan());
    EXPECT_THAT(text, HasSubstr("  zone code 1330106, regions matched against 330106; kind 1 (GS_Differ)\n"));
    EXPECT_THAT(text, HasSubstr("cookie.ini records none: parameters stored, files copied\n"));
    EXPECT_THAT(text, HasSubstr("    1. general part  AppComs\\difference\\SysDifference.xml\n"));
    EXPECT_THAT(text, HasSubstr("    2. 3301-city\\GS_Differ  AppComs\\difference\\3301-city\\GS_Differ\\SysDifference.xml"
                                "  ZCODE 3301 matches\n"));
    EXPECT_THAT(text, HasSubstr("    3. 33  AppComs\\difference\\33\\SysDifference.xml  ZCODE \"32\" is not 33"
                                "  not applied (line 2)\n"));
    EXPECT_THAT(text, HasSubstr("    #1 TaxRate = 0.17 (float)  part 1 line 5, replaced by #2\n"));
    // A value that does not read as its type shows what it was written as.
    EXPECT_THAT(text, HasSubstr("    #2 TaxRate = 0 (float from \"0.13x\")  part 2 line 9, replaces #1\n"));
    EXPECT_THAT(text, HasSubstr("    #1 file a.dll -> bin\\a.dll  part 1 line 12, source missing\n"));
    EXPECT_THAT(text, Not(HasSubstr("nothing applies")));
    // Parts come before parameters, parameters before copies.
    EXPECT_LT(text.find("3. 33"), text.find("#1 TaxRate"));
    EXPECT_LT(text.find("#2 TaxRate"), text.find("#1 file"));
}

TEST(SysDifferenceReport, SaysWhenNothingIsCopiedOrNothingApplies)
{
    startup::DifferencePlan plan = SamplePlan();
    plan.copiesFiles = false;
    plan.lastVersion = "2.0.1";
    plan.lastZoneCode = "1330106";
    const std::string unchanged = Text(plan);
    EXPECT_THAT(unchanged, HasSubstr("cookie.ini records version 2.0.1, zone 1330106: parameters stored, "
                                     "files not copied (version and zone unchanged)\n"));
    EXPECT_THAT(unchanged, HasSubstr("  copies (not made this time):\n"));

    plan.folders.resize(1);
    plan.folders[0].configExists = false;
    plan.parameters.clear();
    plan.copies.clear();
    const std::string nothing = Text(plan);
    EXPECT_THAT(nothing, HasSubstr("    1. general part  AppComs\\difference\\SysDifference.xml  missing: nothing to apply\n"));
    EXPECT_THAT(nothing, HasSubstr("  nothing applies"));
    EXPECT_THAT(nothing, Not(HasSubstr("parameters:")));
}

TEST(SysDifferenceReport, StoredValuesAreTheTypedOnes)
{
    startup::PlannedParameter parameter;
    parameter.kind = startup::ParameterKind::Boolean;
    parameter.value = "1";
    parameter.booleanValue = true;
    EXPECT_EQ(startup::StoredValueText(parameter), "true");
    parameter.kind = startup::ParameterKind::Integer;
    parameter.integerValue = -2147483647 - 1;
    EXPECT_EQ(startup::StoredValueText(parameter), "-2147483648");
    parameter.kind = startup::ParameterKind::Float;
    parameter.floatValue = 0.1 + 0.2;  // not 0.3: the text reads back as this very number
    EXPECT_EQ(startup::StoredValueText(parameter), "0.30000000000000004");
    parameter.kind = startup::ParameterKind::Text;
    parameter.value = " 国税 ";
    EXPECT_EQ(startup::StoredValueText(parameter), " 国税 ");
}
