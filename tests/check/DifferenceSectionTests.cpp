// The regional differences' section of the check, on plans made over a
// made-up installation.
#include "CheckReport.h"
#include "DifferenceSection.h"

#include "startup/regional/MemoryDifferenceFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <sstream>

using testing::HasSubstr;
using testing::Not;
using testing_support::kMemoryApp;
using testing_support::kMemoryDifference;

namespace {

class DifferenceSectionTest : public testing::Test {
protected:
    DifferenceSectionTest()
    {
        files_.Directory("C:\\app\\WSCBS");
        site_.subAppFolder = kMemoryApp;
        site_.version = "2.0.1";
        site_.vo = &vo_;
        site_.readIni = [](const std::string&, const std::string&, const std::string&) { return std::string(); };
        files_.Put("SysDifference.xml",
                   "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<D>\r\n<DIFF-PARAMETERS>\r\n"
                   "<DIFF-PARAMETER><NAME>TaxRate</NAME><TYPE>float</TYPE><VALUE>0.17</VALUE></DIFF-PARAMETER>\r\n"
                   "<DIFF-PARAMETER><NAME>税务机关</NAME><VALUE>国家税务总局</VALUE></DIFF-PARAMETER>\r\n"
                   "</DIFF-PARAMETERS>\r\n</D>\r\n");
        files_.Put("33\\SysDifference.xml",
                   "<D ZCODE=\"33\">\r\n<DIFF-PARAMETERS>\r\n"
                   "<DIFF-PARAMETER><NAME>taxrate</NAME><TYPE>FLOAT</TYPE><VALUE>0.13</VALUE></DIFF-PARAMETER>\r\n"
                   "<DIFF-PARAMETER><NAME>Retry</NAME><TYPE>integer</TYPE><VALUE>5</VALUE></DIFF-PARAMETER>\r\n"
                   "</DIFF-PARAMETERS>\r\n<DIFF-FILES>\r\n"
                   "<DIFF-FILE><NAME>a.dll</NAME><TYPE>0</TYPE><TARGETDIR/></DIFF-FILE>\r\n"
                   "</DIFF-FILES>\r\n</D>\r\n");
        files_.Put("33\\a.dll", "dll");
    }

    std::unique_ptr<check::CheckSection> Section()
    {
        return check::MakeDifferenceSection(startup::PlanSysDifference(site_, files_, "1330106", 0, 1));
    }

    static std::string Json(const check::CheckSection& section)
    {
        check::JsonWriter json;
        json.BeginObject();
        section.WriteJson(json);
        json.EndObject();
        return json.Text();
    }

    testing_support::MemoryDifferenceFiles files_;
    rt::DataVO vo_;
    startup::DifferenceSite site_;
};

} // namespace

TEST_F(DifferenceSectionTest, JsonCarriesTheTypedValuesTheChainAndTheCopies)
{
    const auto section = Section();
    EXPECT_TRUE(section->Problems().empty());
    const std::string json = Json(*section);
    EXPECT_THAT(json, HasSubstr("\"zoneCode\": \"1330106\""));
    EXPECT_THAT(json, HasSubstr("\"matchCode\": \"330106\""));
    EXPECT_THAT(json, HasSubstr("\"copiesFiles\": true"));
    EXPECT_THAT(json, HasSubstr("\"appliesAnything\": true"));
    EXPECT_THAT(json, HasSubstr("\"zcodeCheck\": \"matches\""));
    // Typed: a float as a number, an integer as a number, a text as UTF-8.
    EXPECT_THAT(json, HasSubstr("\"stored\": 0.17,"));
    EXPECT_THAT(json, HasSubstr("\"stored\": 0.13,"));
    EXPECT_THAT(json, HasSubstr("\"stored\": 5,"));
    EXPECT_THAT(json, HasSubstr("\"name\": \"\xE7\xA8\x8E\xE5\x8A\xA1\xE6\x9C\xBA\xE5\x85\xB3\""));  // 税务机关
    // taxrate (part 2) replaces TaxRate (part 1).
    EXPECT_THAT(json, HasSubstr("\"replaces\": null,\n"));
    EXPECT_THAT(json, HasSubstr("\"replacedBy\": 3,"));
    EXPECT_THAT(json, HasSubstr("\"replaces\": 1,"));
    EXPECT_THAT(json, HasSubstr("\"destination\": \"C:\\\\app\\\\WSCBS\\\\a.dll\""));
    EXPECT_THAT(json, HasSubstr("\"sourceExists\": true"));
    EXPECT_THAT(json, Not(HasSubstr("\"sourceExists\": false")));

    std::ostringstream text;
    section->PrintText(text);
    EXPECT_THAT(text.str(), HasSubstr("#3 taxrate = 0.13 (float)  part 2 line 3, replaces #1\n"));
}

TEST_F(DifferenceSectionTest, AWrongZcodeAndAMissingFileAreProblemsWithFileAndLine)
{
    files_.Put("3\\SysDifference.xml", "<D\r\nZCODE=\"4\"/>");
    files_.Put("330\\SysDifference.xml",
               "<D ZCODE=\"330\">\r\n<DIFF-FILES>\r\n"
               "<DIFF-FILE><NAME>gone.dll</NAME><TYPE>0</TYPE><TARGETDIR/></DIFF-FILE>\r\n</DIFF-FILES></D>");
    check::Sections sections;
    sections.push_back(Section());
    const std::vector<startup::PlanProblem> problems = check::AllProblems(sections);
    ASSERT_EQ(problems.size(), 3u);
    const std::string wrong = std::string(kMemoryDifference) + "3\\SysDifference.xml";
    EXPECT_EQ(problems[0].file, wrong);
    EXPECT_EQ(problems[0].line, 1u);
    EXPECT_THAT(problems[0].message, HasSubstr("差异化配置文件[" + wrong + "]配置有误：目标位置[ZCODE]！"));
    EXPECT_THAT(problems[0].message, HasSubstr("ZCODE \"4\""));
    const std::string missing = std::string(kMemoryDifference) + "330\\SysDifference.xml";
    EXPECT_EQ(problems[1].file, missing);
    EXPECT_EQ(problems[1].line, 3u);
    EXPECT_THAT(problems[1].message, HasSubstr("找不到差异化文件" + std::string(kMemoryDifference) + "330\\gone.dll"));
    EXPECT_EQ(problems[2].line, 3u);
    EXPECT_EQ(check::ExitStatus(sections), check::kProblemsFound);
    EXPECT_THAT(Json(*sections[0]), HasSubstr("\"zcodeCheck\": \"differs\""));
    EXPECT_THAT(Json(*sections[0]), HasSubstr("\"sourceExists\": false"));
}

TEST(DifferenceSectionJson, NumbersReadBackAsTheSameDouble)
{
    check::JsonWriter json;
    json.BeginArray().Float(0.1 + 0.2).Float(-2.5e-300).Float(std::numeric_limits<double>::infinity()).EndArray();
    EXPECT_THAT(json.Text(), HasSubstr("0.30000000000000004"));
    EXPECT_THAT(json.Text(), HasSubstr("-2.5e-300"));
    EXPECT_THAT(json.Text(), HasSubstr("null"));
}

TEST_F(DifferenceSectionTest, AZoneCodeThatMatchesNoRegionDirectoryIsAProblem)
{
    const std::vector<std::string> regions{"32-jiangsu", "33", "3301-hangzhou"};
    // A digit left off the zone code: only the general part applies.
    const startup::DifferencePlan unmatched = startup::PlanSysDifference(site_, files_, "330106", 0, 1);
    const auto problem = check::UnmatchedZoneProblem(unmatched, regions);
    ASSERT_TRUE(problem.has_value());
    EXPECT_EQ(problem->file, unmatched.differenceFolder);
    EXPECT_EQ(problem->message, "zone code 330106 (matched as 30106) matches no region directory (32-jiangsu, 33, "
                                "3301-hangzhou): the start applies the general part alone");
    EXPECT_EQ(check::MakeDifferenceSection(unmatched, regions)->Problems().size(),
              check::DifferenceProblems(unmatched).size() + 1);
    // A zone that a region directory fits, or no region directories at all.
    EXPECT_FALSE(check::UnmatchedZoneProblem(startup::PlanSysDifference(site_, files_, "1330106", 0, 1), regions));
    EXPECT_FALSE(check::UnmatchedZoneProblem(unmatched, {}));
}
