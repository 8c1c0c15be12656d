#include "startup/catalogue/ErrorCataloguePlan.h"

#include "support/TestText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using startup::CatalogueFile;
using startup::ErrorCataloguePlan;

namespace {

ErrorCataloguePlan Plan(std::string bytes)
{
    CatalogueFile file;
    file.path = "C:\\app\\errmsg.xml";
    file.read = true;
    file.bytes = std::move(bytes);
    return startup::PlanErrorCatalogue(file, text::SystemGbkConverter());
}

// "line: message" of every problem, in order.
std::vector<std::string> Problems(const ErrorCataloguePlan& plan)
{
    std::vector<std::string> lines;
    for (const auto& problem : plan.problems) {
        EXPECT_EQ(problem.file, "C:\\app\\errmsg.xml");
        lines.push_back(std::to_string(problem.line) + ": " + problem.message);
    }
    return lines;
}

bool HasProblem(const ErrorCataloguePlan& plan, unsigned long line, std::string_view part)
{
    for (const auto& problem : plan.problems)
        if (problem.line == line && problem.message.find(part) != std::string::npos)
            return true;
    return false;
}

} // namespace

TEST(ErrorCataloguePlan, ACleanCatalogueHasItsEntriesAndLinesAndNoProblems)
{
    const auto plan = Plan("<?xml version=\"1.0\" encoding=\"GB2312\"?>\n"
                           "<LIST>\n"
                           "  <!-- 读卡器 -->\n"
                           "  <E><CODE>1</CODE><MSG>读卡器未连接</MSG></E>\n"
                           "  <E>\n"
                           "    <CODE>2</CODE><MSG>二</MSG><moduleType>1</moduleType>\n"
                           "  </E>\n"
                           "</LIST>\n");
    ASSERT_TRUE(plan.loads);
    EXPECT_TRUE(plan.failureMessage.empty());
    EXPECT_EQ(plan.encoding, "GBK");
    EXPECT_EQ(plan.declaredEncoding, "GB2312");
    ASSERT_EQ(plan.entries.size(), 3u);
    EXPECT_EQ(plan.entries[1].msg, "读卡器未连接");
    EXPECT_EQ(plan.entryLines, (std::vector<unsigned long>{3, 4, 5}));
    EXPECT_TRUE(plan.problems.empty()) << testing::PrintToString(Problems(plan));
    // The comment is an entry of the module's array: told, not a problem.
    ASSERT_EQ(plan.notes.size(), 1u);
    EXPECT_EQ(plan.notes[0].line, 3u);
}

TEST(ErrorCataloguePlan, AMalformedCatalogueFailsTheStartAtItsLine)
{
    const auto plan = Plan("<LIST>\n"
                           "  <E><CODE>1</CODE><MSG>a</MSG></E>\n"
                           "  <E><CODE>2</CODE><MSG>b</MSGX></E>\n"
                           "</LIST>\n");
    EXPECT_FALSE(plan.loads);
    EXPECT_TRUE(plan.entries.empty());
    EXPECT_EQ(plan.failureMessage, "错误代码：[0002]\r\n初始化系统错误信息列表出错！错误文件内容为空！");
    ASSERT_EQ(plan.problems.size(), 1u);
    EXPECT_EQ(plan.problems[0].line, 3u);
    EXPECT_NE(plan.problems[0].message.find("not well-formed: mismatched tag"), std::string::npos)
        << plan.problems[0].message;
    // What pugixml would let pass is refused here too: text after the root.
    const auto trailing = Plan("<LIST><E><CODE>1</CODE><MSG>a</MSG></E></LIST>\n\n<LIST/>\n");
    EXPECT_FALSE(trailing.loads);
    ASSERT_EQ(trailing.problems.size(), 1u);
    EXPECT_EQ(trailing.problems[0].line, 3u);
}

TEST(ErrorCataloguePlan, AFileThatCannotBeReadCarriesTheLoadersMessage)
{
    CatalogueFile file;
    file.path = "C:\\app\\errmsg.xml";
    file.failureMessage = "错误代码：[0001]\r\n初始化系统错误信息列表出错！错误信息文件不存在！";
    const auto plan = startup::PlanErrorCatalogue(file, text::SystemGbkConverter());
    EXPECT_FALSE(plan.loads);
    EXPECT_EQ(plan.failureMessage, file.failureMessage);
    ASSERT_EQ(plan.problems.size(), 1u);
    EXPECT_NE(plan.problems[0].message.find("[0001]"), std::string::npos);
}

TEST(ErrorCataloguePlan, EntriesWithoutCodeOrMessageAndBadCodesAreProblemsAtTheirLines)
{
    const auto plan = Plan("<LIST>\n"
                           "<E><MSG>no code</MSG></E>\n"
                           "<E><CODE>3</CODE></E>\n"
                           "<E><CODE>4294967296</CODE><MSG>x</MSG></E>\n"
                           "<E><CODE>-2147483648</CODE><MSG>lowest</MSG></E>\n"
                           "<E><CODE>12a</CODE><MSG>x</MSG></E>\n"
                           "<E><CODE></CODE><MSG>empty code</MSG></E>\n"
                           "<E><CODE>7</CODE><MSG><b>nested</b></MSG>\n"
                           "  <moduleType><x/></moduleType></E>\n"
                           "</LIST>\n");
    ASSERT_TRUE(plan.loads);
    EXPECT_TRUE(HasProblem(plan, 2, "has no CODE"));
    EXPECT_TRUE(HasProblem(plan, 3, "has no MSG"));
    EXPECT_TRUE(HasProblem(plan, 4, "4294967296 lies outside 32 bits"));
    EXPECT_TRUE(HasProblem(plan, 6, "\"12a\" is no whole number"));
    EXPECT_TRUE(HasProblem(plan, 7, "has no CODE"));
    EXPECT_TRUE(HasProblem(plan, 8, "MSG is not plain text"));
    EXPECT_TRUE(HasProblem(plan, 9, "moduleType is not plain text"));
    // The lowest 32-bit code is a code like any other.
    for (const auto& problem : plan.problems)
        EXPECT_NE(problem.line, 5u) << problem.message;
    EXPECT_EQ(plan.problems.size(), 7u) << testing::PrintToString(Problems(plan));
}

TEST(ErrorCataloguePlan, ARepeatedCodeNamesTheFirstEntry)
{
    const auto plan = Plan("<LIST>\n"
                           "<E><CODE>70001005</CODE><MSG>a</MSG></E>\n"
                           "<E><CODE>70001006</CODE><MSG>b</MSG></E>\n"
                           "<E><CODE> 70001005 </CODE><MSG>c</MSG></E>\n"
                           "<E><CODE>70001005</CODE><MSG>d</MSG></E>\n"
                           "</LIST>\n");
    ASSERT_EQ(plan.problems.size(), 2u) << testing::PrintToString(Problems(plan));
    EXPECT_TRUE(HasProblem(plan, 4, "code 70001005 repeats the entry of line 2"));
    EXPECT_TRUE(HasProblem(plan, 5, "code 70001005 repeats the entry of line 2"));
}

TEST(ErrorCataloguePlan, TextsThatGbkCannotHoldAreProblemsButQuestionMarksAreNot)
{
    const auto plan = Plan(testing_text::Utf8(u8"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                              u8"<LIST>\n"
                                              u8"<E><CODE>1</CODE><MSG>读卡器?</MSG></E>\n"
                                              u8"<E><CODE>2</CODE>\n"
                                              u8"<MSG>emoji 😀 here</MSG></E>\n"
                                              u8"</LIST>\n"));
    ASSERT_TRUE(plan.loads);
    EXPECT_EQ(plan.encoding, "UTF-8");
    ASSERT_EQ(plan.problems.size(), 1u) << testing::PrintToString(Problems(plan));
    EXPECT_TRUE(HasProblem(plan, 5, "MSG holds characters that GBK cannot hold"));
}

TEST(ErrorCataloguePlan, EntriesAreThoseTheModuleLoads)
{
    const std::string bytes = "<LIST><?pi x?>text<E><CODE>5</CODE><MSG>m</MSG><insideCode>I</insideCode></E></LIST>";
    const auto plan = Plan(bytes);
    const auto parsed = startup::ParseErrorCatalogue(bytes, text::SystemGbkConverter());
    ASSERT_EQ(plan.entries.size(), parsed.entries.size());
    for (std::size_t i = 0; i < parsed.entries.size(); ++i) {
        EXPECT_EQ(plan.entries[i].code, parsed.entries[i].code);
        EXPECT_EQ(plan.entries[i].msg, parsed.entries[i].msg);
        EXPECT_EQ(plan.entries[i].moduleType, parsed.entries[i].moduleType);
        EXPECT_EQ(plan.entries[i].insideCode, parsed.entries[i].insideCode);
    }
    EXPECT_EQ(plan.notes.size(), 2u);
}
