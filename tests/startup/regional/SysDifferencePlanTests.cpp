// Planning the regional differences over a made-up installation: the files
// live in memory, and the site fails the test when anything would be
// written, logged or stored.
#include "startup/regional/SysDifferencePlan.h"

#include "startup/regional/MemoryDifferenceFiles.h"
#include "support/FailingConverter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using startup::DifferencePlan;
using startup::DifferenceProblem;
using startup::ZcodeCheck;
using testing::ElementsAre;

namespace {

constexpr const char* kApp = testing_support::kMemoryApp;
constexpr const char* kDifference = testing_support::kMemoryDifference;
using MemoryFiles = testing_support::MemoryDifferenceFiles;

std::string Document(const char* zcode, const std::string& body)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<SYSDIFFERENCE";
    if (zcode != nullptr)
        text += std::string(" ZCODE=\"") + zcode + "\"";
    return text + ">\r\n" + body + "</SYSDIFFERENCE>\r\n";
}

// One element to a line: in Document's body the first line is line 3.
std::string Parameter(const char* name, const char* type, const char* value)
{
    std::string text = "<DIFF-PARAMETER><NAME>" + std::string(name) + "</NAME>";
    if (*type)
        text += "<TYPE>" + std::string(type) + "</TYPE>";
    return text + "<VALUE>" + value + "</VALUE></DIFF-PARAMETER>\r\n";
}

std::string FileItem(const char* name, const char* type, const char* target)
{
    return std::string("<DIFF-FILE><NAME>") + name + "</NAME><TYPE>" + type + "</TYPE><TARGETDIR>" + target +
           "</TARGETDIR></DIFF-FILE>\r\n";
}

class SysDifferencePlanTest : public testing::Test {
protected:
    SysDifferencePlanTest()
    {
        site_.subAppFolder = kApp;
        site_.version = "2.0.118";
        site_.vo = &vo_;
        files_.Directory("C:\\app\\WSCBS");
        site_.readIni = [this](const std::string& file, const std::string& section, const std::string& key) {
            EXPECT_EQ(file, std::string(kApp) + "cookie.ini");
            EXPECT_EQ(section, "Difference");
            const auto found = record_.find(key);
            return found == record_.end() ? std::string() : found->second;
        };
        site_.log = [](const std::string& line) { ADD_FAILURE() << "planning logged: " << line; };
        site_.writeIni = [](const std::string&, const std::string&, const std::string& key, const std::string&) {
            ADD_FAILURE() << "planning wrote " << key;
        };
    }

    DifferencePlan Plan(const std::string& zoneCode, int stripSwitch = 0, int kind = 1)
    {
        DifferencePlan plan = startup::PlanSysDifference(site_, files_, zoneCode, stripSwitch, kind);
        EXPECT_EQ(vo_.Items->Count(), 0) << "planning stored into the value object";
        return plan;
    }

    static std::vector<std::string> FolderNames(const DifferencePlan& plan)
    {
        std::vector<std::string> names;
        for (const auto& folder : plan.folders)
            names.push_back(folder.zoneDirectory.value_or("(general)"));
        return names;
    }

    static std::vector<std::string> Messages(const DifferencePlan& plan)
    {
        std::vector<std::string> messages;
        for (const DifferenceProblem& problem : startup::PlannedProblems(plan))
            messages.push_back(problem.message);
        return messages;
    }

    MemoryFiles files_;
    rt::DataVO vo_;
    startup::DifferenceSite site_;
    std::map<std::string, std::string> record_;
};

} // namespace

TEST_F(SysDifferencePlanTest, PartsInTheOrderTheyApplyWithTheirKindDirectories)
{
    files_.Put("SysDifference.xml", Document(nullptr, ""));
    files_.Put("33\\SysDifference.xml", Document("33", ""));
    files_.Put("32-city\\SysDifference.xml", Document("99", ""));  // GS_Differ's takes its place
    files_.Put("32-city\\GS_Differ\\SysDifference.xml", Document("32", ""));
    files_.Put("4\\SysDifference.xml", Document("4", ""));
    files_.Folder("3");  // no configuration: listed, nothing to apply
    files_.Put("326\\SysDifference.xml", Document("326", ""));

    const DifferencePlan plan = Plan("1326");
    EXPECT_EQ(plan.matchCode, "326");
    EXPECT_THAT(FolderNames(plan), ElementsAre("(general)", "3", "32-city", "326"));
    EXPECT_TRUE(plan.folders[0].Applies());
    EXPECT_EQ(plan.folders[0].zcodeCheck, ZcodeCheck::NotChecked);
    EXPECT_FALSE(plan.folders[1].configExists);
    EXPECT_FALSE(plan.folders[1].Applies());
    EXPECT_EQ(plan.folders[2].kindDirectory, "GS_Differ");
    EXPECT_EQ(plan.folders[2].configPath, std::string(kDifference) + "32-city\\GS_Differ\\SysDifference.xml");
    EXPECT_EQ(plan.folders[2].zcodeCheck, ZcodeCheck::Matches);
    EXPECT_EQ(plan.folders[3].prefix, "326");
    EXPECT_TRUE(Messages(plan).empty());

    // Kind 2 has no DS_Differ: the zone directory's own file, whose ZCODE is wrong.
    const DifferencePlan other = Plan("1326", 0, 2);
    EXPECT_EQ(other.folders[2].kindDirectory, "");
    EXPECT_EQ(other.folders[2].zcodeCheck, ZcodeCheck::Differs);
    // The whole zone code matches no directory here.
    EXPECT_THAT(FolderNames(Plan("1326", 1)), ElementsAre("(general)"));
}

TEST_F(SysDifferencePlanTest, LaterPartsOverrideEarlierParametersWithTypedValues)
{
    files_.Put("SysDifference.xml",
               Document(nullptr, "<DIFF-PARAMETERS>\r\n" + Parameter("Title", "", " 国税&amp;amp;lt; ") +
                                     Parameter("Retry", "Integer", "12a") + Parameter("Rate", "float", "0.17") +
                                     "</DIFF-PARAMETERS>\r\n"));
    files_.Put("3\\SysDifference.xml",
               Document("3", "<DIFF-PARAMETERS>\r\n" + Parameter("RETRY", "integer", "5") +
                                 Parameter("Proxy", "BOOLEAN", "true") + "</DIFF-PARAMETERS>\r\n"));
    files_.Put("32\\SysDifference.xml",
               Document("32", "<DIFF-PARAMETERS>\r\n" + Parameter("retry", "", "seven") + "</DIFF-PARAMETERS>\r\n"));

    const DifferencePlan plan = Plan("132");
    ASSERT_EQ(plan.parameters.size(), 6u);
    const auto& p = plan.parameters;
    EXPECT_EQ(p[0].value, " 国税&lt; ");
    EXPECT_EQ(p[0].kind, startup::ParameterKind::Text);
    EXPECT_EQ(p[1].kind, startup::ParameterKind::Integer);
    EXPECT_EQ(p[1].integerValue, 0);
    EXPECT_EQ(p[1].line, 5u);  // the list's start tag is line 3
    EXPECT_DOUBLE_EQ(p[2].floatValue, 0.17);
    EXPECT_EQ(p[3].integerValue, 5);
    EXPECT_EQ(p[3].folder, 1u);
    EXPECT_TRUE(p[4].booleanValue);
    // Retry (general) <- RETRY (3) <- retry (32): names compare ignoring case.
    EXPECT_EQ(p[1].overrides, std::nullopt);
    EXPECT_EQ(p[1].overriddenBy, 3u);
    EXPECT_EQ(p[3].overrides, 1u);
    EXPECT_EQ(p[3].overriddenBy, 5u);
    EXPECT_EQ(p[5].overrides, 3u);
    EXPECT_EQ(p[5].overriddenBy, std::nullopt);
    EXPECT_EQ(p[0].overriddenBy, std::nullopt);

    // What the value object ends with: one value per item, in the order the
    // items are first added, the last store of each.
    std::vector<std::string> final;
    for (const startup::PlannedParameter* parameter : startup::FinalParameters(plan))
        final.push_back(parameter->name + "=" + parameter->value);
    EXPECT_THAT(final, ElementsAre("Title= 国税&lt; ", "retry=seven", "Rate=0.17", "Proxy=true"));

    // Without a value object nothing is stored, so no parameter is planned.
    site_.vo = nullptr;
    EXPECT_TRUE(startup::PlanSysDifference(site_, files_, "132", 0, 1).parameters.empty());
}

TEST_F(SysDifferencePlanTest, WrongZcodeStopsThePartAndNamesTheLineOfTheDocumentElement)
{
    files_.Put("32-x\\SysDifference.xml",
               "<?xml version=\"1.0\"?>\r\n\r\n<SYSDIFFERENCE\r\n ZCODE=\" 33 \">\r\n<DIFF-PARAMETERS>" +
                   Parameter("Wrong", "", "1") + "</DIFF-PARAMETERS><DIFF-FILES>" + FileItem("a.dll", "0", "") +
                   "</DIFF-FILES></SYSDIFFERENCE>");
    files_.Put("32-x\\a.dll", "dll");
    const DifferencePlan plan = Plan("132");
    ASSERT_EQ(plan.folders.size(), 2u);
    const startup::PlannedFolder& zone = plan.folders[1];
    EXPECT_EQ(zone.zcode, "33");
    EXPECT_EQ(zone.zcodeCheck, ZcodeCheck::Differs);
    EXPECT_FALSE(zone.Applies());
    EXPECT_TRUE(plan.parameters.empty());
    EXPECT_TRUE(plan.copies.empty());
    const std::string config = std::string(kDifference) + "32-x\\SysDifference.xml";
    const std::vector<DifferenceProblem> problems = startup::PlannedProblems(plan);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].file, config);
    EXPECT_EQ(problems[0].line, 3u);
    EXPECT_EQ(problems[0].message, "差异化配置文件[" + config + "]配置有误：目标位置[ZCODE]！");
}

TEST_F(SysDifferencePlanTest, CopiesWithSourcesTargetsAndWhatAMissingSourceWillLog)
{
    files_.Put("SysDifference.xml",
               Document(nullptr, "<DIFF-FILES>\r\n" + FileItem("a.dll", "0", "") + FileItem("gone.dll", "0", "sub\\x") +
                                     FileItem("bin", "1", "D:\\x") + FileItem("nodir", "1", "") +
                                     FileItem("held.dll", "0", "") + "</DIFF-FILES>\r\n"));
    files_.Put("a.dll", "a");
    files_.Put("bin\\top.dat", "t");
    files_.Put("held.dll", "h");
    files_.Unknown(std::string(kDifference) + "held.dll");

    const DifferencePlan plan = Plan("132");
    EXPECT_TRUE(plan.copiesFiles);
    ASSERT_EQ(plan.copies.size(), 5u);
    const auto& c = plan.copies;
    EXPECT_EQ(c[0].source, std::string(kDifference) + "a.dll");
    EXPECT_EQ(c[0].destination, std::string(kApp) + "a.dll");
    EXPECT_TRUE(c[0].SourceExists());
    EXPECT_EQ(c[1].destination, std::string(kApp) + "sub\\x\\gone.dll");
    EXPECT_FALSE(c[1].SourceExists());
    EXPECT_EQ(c[2].kind, startup::CopyKind::Directory);
    EXPECT_EQ(c[2].target, "D:\\x");
    EXPECT_EQ(c[2].destination, "D:\\x");
    EXPECT_TRUE(c[2].SourceExists());
    EXPECT_FALSE(c[3].SourceExists());

    const std::string config = std::string(kDifference) + "SysDifference.xml";
    const std::string processing = "处理差异化配置文件[" + config + "]发生错误：拷贝文件失败！";
    const std::vector<DifferenceProblem> problems = startup::PlannedProblems(plan);
    std::vector<std::pair<std::uint32_t, std::string>> placed;
    for (const DifferenceProblem& problem : problems) {
        EXPECT_EQ(problem.file, config);
        placed.emplace_back(problem.line, problem.message);
    }
    EXPECT_THAT(placed, ElementsAre(std::pair(5u, "找不到差异化文件" + std::string(kDifference) + "gone.dll"),
                                    std::pair(5u, processing),
                                    std::pair(7u, "差异化配置文件[" + config + "]配置有误：目标位置[DIFF-FILE]！"),
                                    std::pair(8u, "拷贝差异化文件" + std::string(kDifference) + "held.dll失败"),
                                    std::pair(8u, processing)));
}

TEST_F(SysDifferencePlanTest, AFileCopiedIntoADirectoryThatIsNotThereWillFail)
{
    // Directories are made only by directory copies: their target with its
    // parents, and the source's sub-directories inside it.
    files_.Put("SysDifference.xml",
               Document(nullptr, "<DIFF-FILES>\r\n" + FileItem("a.txt", "0", "Regional\\tree\\sub") +
                                     FileItem("tree", "1", "Regional\\tree") +
                                     FileItem("a.txt", "0", "Regional\\tree\\sub") + FileItem("a.txt", "0", "Regional") +
                                     FileItem("a.txt", "0", "Regional\\tree\\none") + "</DIFF-FILES>\r\n"));
    files_.Put("a.txt", "a");
    files_.Put("tree\\sub\\s.txt", "s");
    const DifferencePlan plan = Plan("132");
    ASSERT_EQ(plan.copies.size(), 5u);
    std::vector<bool> there;
    for (const startup::PlannedCopy& copy : plan.copies)
        there.push_back(copy.targetExists);
    EXPECT_THAT(there, ElementsAre(false, false, true, true, false));
    const std::vector<DifferenceProblem> problems = startup::PlannedProblems(plan);
    ASSERT_EQ(problems.size(), 4u);
    EXPECT_EQ(problems[0].line, 4u);
    EXPECT_EQ(problems[0].message, "拷贝差异化文件" + std::string(kDifference) + "a.txt失败");
    EXPECT_EQ(problems[2].line, 8u);
}

TEST_F(SysDifferencePlanTest, SameVersionAndZoneCopyNothingButStoreParametersAgain)
{
    files_.Put("SysDifference.xml", Document(nullptr, "<DIFF-PARAMETERS>" + Parameter("p", "", "v") +
                                                           "</DIFF-PARAMETERS><DIFF-FILES>" +
                                                           FileItem("missing.dll", "0", "") + "</DIFF-FILES>"));
    record_ = {{"lastVersion", "2.0.118"}, {"lastRevenueCode", "132"}};
    const DifferencePlan same = Plan("132");
    EXPECT_FALSE(same.copiesFiles);
    EXPECT_EQ(same.lastVersion, "2.0.118");
    EXPECT_EQ(same.parameters.size(), 1u);
    // The copy is still shown with its missing source, but nothing is copied,
    // so nothing is logged.
    ASSERT_EQ(same.copies.size(), 1u);
    EXPECT_FALSE(same.copies[0].SourceExists());
    EXPECT_TRUE(startup::PlannedProblems(same).empty());

    EXPECT_TRUE(Plan("1320").copiesFiles);
    site_.version = "2.0.119";
    const DifferencePlan newer = Plan("132");
    EXPECT_TRUE(newer.copiesFiles);
    EXPECT_EQ(Messages(newer).size(), 2u);
}

// A start leaves out the copies it does not make and looks at none of their
// files; one that copies plans them as a report does.
TEST_F(SysDifferencePlanTest, AStartThatCopiesNothingLooksAtNoFileOfACopy)
{
    files_.Put("SysDifference.xml", Document(nullptr, "<DIFF-PARAMETERS>" + Parameter("p", "", "v") +
                                                           "</DIFF-PARAMETERS><DIFF-FILES>" +
                                                           FileItem("missing.dll", "0", "") +
                                                           FileItem("tree", "1", "sub") + "</DIFF-FILES>"));
    const auto startPlan = [&](const std::string& zoneCode) {
        files_.lookedAt.clear();
        return startup::PlanSysDifference(site_, files_, zoneCode, 0, 1, startup::CopiesNotMade::LeftOut);
    };
    const auto lookedAtACopy = [&] {
        return std::any_of(files_.lookedAt.begin(), files_.lookedAt.end(), [](const std::string& path) {
            return path.find("missing.dll") != std::string::npos || path.find("tree") != std::string::npos ||
                   path.find("sub") != std::string::npos;
        });
    };
    record_ = {{"lastVersion", "2.0.118"}, {"lastRevenueCode", "132"}};
    const DifferencePlan same = startPlan("132");
    EXPECT_FALSE(same.copiesFiles);
    EXPECT_EQ(same.parameters.size(), 1u);
    EXPECT_TRUE(same.copies.empty());
    EXPECT_FALSE(lookedAtACopy());
    EXPECT_EQ(Messages(same), Messages(Plan("132")));

    site_.version = "2.0.119";
    const DifferencePlan newer = startPlan("132");
    EXPECT_TRUE(lookedAtACopy());
    const DifferencePlan report = Plan("132");
    ASSERT_EQ(newer.copies.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(newer.copies[i].source, report.copies[i].source);
        EXPECT_EQ(newer.copies[i].sourceKind, report.copies[i].sourceKind);
        EXPECT_EQ(newer.copies[i].expected, report.copies[i].expected);
    }
    EXPECT_EQ(Messages(newer), Messages(report));
}

TEST_F(SysDifferencePlanTest, UnreadablePartsNameTheParsersLineAndComeInLogOrder)
{
    files_.Put("SysDifference.xml", Document(nullptr, "<DIFF-PARAMETERS>\r\n<DIFF-PARAMETER>\r\n</DIFF-PARAMETERS>"));
    files_.Put("3\\SysDifference.xml", "");
    files_.Put("32\\SysDifference.xml", "x");
    files_.Put("32\\GS_Differ", "a file, not a kind directory");
    files_.Folder("325\\GS_Differ");
    files_.Unknown(std::string(kDifference) + "325\\GS_Differ");
    files_.ListingFails();

    const DifferencePlan plan = Plan("1325");
    const std::vector<DifferenceProblem> problems = startup::PlannedProblems(plan);
    ASSERT_EQ(problems.size(), 5u);
    const std::string general = std::string(kDifference) + "SysDifference.xml";
    EXPECT_EQ(problems[0].file, general);
    EXPECT_EQ(problems[0].line, 5u);  // the mismatched end tag
    EXPECT_EQ(problems[0].message, "差异化配置文件[" + general + "]有错误！");
    EXPECT_FALSE(problems[0].detail.empty());
    // The directory is listed after the general part.
    EXPECT_EQ(problems[1].message, "差异化配置文件[" + std::string(kDifference) + "]有错误！");
    EXPECT_EQ(problems[2].file, std::string(kDifference) + "3\\SysDifference.xml");
    EXPECT_EQ(problems[3].file, std::string(kDifference) + "32\\SysDifference.xml");
    EXPECT_EQ(problems[3].line, 1u);
    EXPECT_EQ(problems[4].message, "差异化配置文件[" + std::string(kDifference) + "325\\GS_Differ]有错误！");
}

TEST_F(SysDifferencePlanTest, AnUnreadableItemIsPlannedInItsPlaceAndTheRestStillCounts)
{
    const testing_support::FailingConverter converter;
    site_.converter = &converter;
    files_.Put("SysDifference.xml",
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SYSDIFFERENCE>\n<DIFF-PARAMETERS>\n"
               "<DIFF-PARAMETER><NAME>bad</NAME><VALUE>\xE0\xB8\x81</VALUE></DIFF-PARAMETER>\n"
               "<DIFF-PARAMETER><NAME>good</NAME><TYPE>integer</TYPE><VALUE>7</VALUE></DIFF-PARAMETER>\n"
               "</DIFF-PARAMETERS></SYSDIFFERENCE>");
    const DifferencePlan plan = Plan("132");
    ASSERT_EQ(plan.parameters.size(), 2u);
    ASSERT_TRUE(plan.parameters[0].problem);
    EXPECT_EQ(plan.parameters[0].problem->line, 3u);
    EXPECT_EQ(plan.parameters[1].integerValue, 7);
    ASSERT_EQ(startup::FinalParameters(plan).size(), 1u);
    EXPECT_EQ(startup::FinalParameters(plan)[0]->name, "good");
}
