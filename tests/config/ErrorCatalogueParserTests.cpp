#include "config/ErrorCatalogueParser.h"

#include "TestText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using config::ErrorCatalogueEntry;
using config::ParseErrorCatalogue;

namespace {

config::ParsedErrorCatalogue Parse(std::string_view bytes)
{
    return ParseErrorCatalogue(bytes, config::SystemGbkConverter());
}

void ExpectEntry(const ErrorCatalogueEntry& e, std::int32_t code, std::string_view msg, std::string_view moduleType,
                 std::string_view insideCode)
{
    EXPECT_EQ(e.code, code);
    EXPECT_EQ(e.msg, msg);
    EXPECT_EQ(e.moduleType, moduleType);
    EXPECT_EQ(e.insideCode, insideCode);
}

} // namespace

TEST(ErrorCatalogueParser, ReadsEntriesWithTheirFallbacks)
{
    const auto parsed = Parse(
        "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n"
        "<ERRORLIST>\r\n"
        "  <ERROR><CODE>70001005</CODE><MSG>读卡器未连接</MSG><moduleType>1</moduleType><insideCode>A7</insideCode></ERROR>\r\n"
        "  <ERROR><insideCode>Z</insideCode><MSG>无模块</MSG><CODE> 12 </CODE></ERROR>\r\n"
        "  <!-- 以下为卡片错误 -->\r\n"
        "  <anything><CODE>abc</CODE><MSG>代码非数字</MSG><moduleType><x/></moduleType><insideCode/></anything>\r\n"
        "  <ERROR><CODE><![CDATA[-3]]></CODE><MSG><![CDATA[<b>粗</b>]]></MSG><moduleType>m<!--c--></moduleType></ERROR>\r\n"
        "  <ERROR><code>5</code><MSG>a<b/>c</MSG></ERROR>\r\n"
        "  <ERROR><CODE>99999999999</CODE></ERROR>\r\n"
        "</ERRORLIST>\r\n");
    ASSERT_TRUE(parsed.loaded);
    ASSERT_EQ(parsed.entries.size(), 7u);
    ExpectEntry(parsed.entries[0], 70001005, "读卡器未连接", "1", "A7");
    ExpectEntry(parsed.entries[1], 12, "无模块", "", "Z");     // order of children does not matter
    ExpectEntry(parsed.entries[2], 0, "", "0", "0");           // the comment is an entry
    ExpectEntry(parsed.entries[3], 0, "代码非数字", "0", "");  // nested element: "0"
    ExpectEntry(parsed.entries[4], -3, "<b>粗</b>", "0", "");
    ExpectEntry(parsed.entries[5], 0, "", "", "");             // names are case-sensitive; MSG has two nodes
    ExpectEntry(parsed.entries[6], 0, "", "", "");             // beyond 32 bits
}

TEST(ErrorCatalogueParser, EmptyDocumentElementLoadsWithoutEntries)
{
    const auto parsed = Parse("<ERRORLIST>\n  \n</ERRORLIST>");
    EXPECT_TRUE(parsed.loaded);
    EXPECT_TRUE(parsed.entries.empty());
}

TEST(ErrorCatalogueParser, UnloadableBytesAreNotLoaded)
{
    EXPECT_FALSE(Parse("").loaded);
    EXPECT_FALSE(Parse("   \r\n").loaded);
    EXPECT_FALSE(Parse("<?xml version=\"1.0\"?><!-- only a comment -->").loaded);
    EXPECT_FALSE(Parse("<ERRORLIST><ERROR></ERRORLIST>").loaded);
    EXPECT_FALSE(Parse("not xml at all").loaded);
}

TEST(ErrorCatalogueParser, EveryEncodingGivesTheSameGbkBytes)
{
    const std::string expected = "读卡器未连接，请检查 USB 连接。";
    const std::string gbkUndeclared = "<L><E><CODE>1</CODE><MSG>读卡器未连接，请检查 USB 连接。</MSG></E></L>";
    const std::string utf8 = testing_text::Utf8(
        u8"<?xml version=\"1.0\" encoding=\"UTF-8\"?><L><E><CODE>1</CODE><MSG>读卡器未连接，请检查 USB 连接。</MSG></E></L>");
    const std::string utf8Undeclared =
        testing_text::Utf8(u8"<L><E><CODE>1</CODE><MSG>读卡器未连接，请检查 USB 连接。</MSG></E></L>");
    const std::string utf16 = testing_text::Utf16LeWithBom(
        u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><L><E><CODE>1</CODE><MSG>读卡器未连接，请检查 USB 连接。</MSG></E></L>");
    const std::string utf16Be =
        testing_text::Utf16BeWithBom(u"<L><E><CODE>1</CODE><MSG>读卡器未连接，请检查 USB 连接。</MSG></E></L>");
    const std::string referenced = "<L><E><CODE>1</CODE><MSG>&#x8BFB;卡器未连接，请检查 USB 连接&#12290;</MSG></E></L>";
    for (const std::string& bytes : {gbkUndeclared, utf8, utf8Undeclared, utf16, utf16Be, referenced}) {
        const auto parsed = Parse(bytes);
        ASSERT_TRUE(parsed.loaded);
        ASSERT_EQ(parsed.entries.size(), 1u);
        EXPECT_EQ(parsed.entries[0].msg, expected);
        EXPECT_EQ(parsed.entries[0].code, 1);
    }
}

TEST(ErrorCatalogueParser, CharactersWithoutGbkFormBecomeQuestionMarks)
{
    const auto parsed = Parse(testing_text::Utf8(u8"<L><E><MSG>ok \u0E01 &#x0E01;</MSG></E></L>"));
    ASSERT_EQ(parsed.entries.size(), 1u);
    EXPECT_EQ(parsed.entries[0].msg, "ok ? ?");
}

TEST(ErrorCatalogueParser, MalformedDocumentsAreNotLoaded)
{
    const std::string entry = "<E><CODE>1</CODE><MSG>m</MSG></E>";
    for (const std::string& bad : std::vector<std::string>{
             "<L>" + entry + "a & b</L>",                      // a bare ampersand
             "<L>" + entry + "<E><MSG>&nbsp;</MSG></E></L>",   // an undefined entity
             "<L>" + entry + "</L><L>" + entry + "</L>",       // two top-level elements
             "<L>" + entry + "</L>trailing text",              // text after the root element
             "<L><E a=\"1\" a=\"2\"><CODE>1</CODE></E></L>",  // a duplicate attribute
             "<L>" + entry + "<E><CODE>1</CODE></L>",          // an unclosed element
             std::string("<?xml version=\"1.0\" encoding=\"GB2312\"?><L>\xB0<</L>"), // '<' as a trail byte
         }) {
        EXPECT_FALSE(Parse(bad).loaded) << bad;
    }
    // The same documents made whole load, in GBK and in UTF-8.
    EXPECT_TRUE(Parse("<L>" + entry + "a &amp; b</L>").loaded);
    EXPECT_TRUE(Parse("<?xml version=\"1.0\" encoding=\"GB2312\"?><L><E><MSG>税&#x4E2D;</MSG></E></L>").loaded);
    EXPECT_TRUE(Parse("\xEF\xBB\xBF<L><E><MSG>\xE7\xA8\x8E</MSG></E></L>").loaded);
}

TEST(ErrorCatalogueParser, AProcessingInstructionIsAnEntryLikeAComment)
{
    const auto parsed = Parse("<L><E><CODE>1</CODE></E><?pi data?><!--c--><E><CODE>4</CODE><MSG>m</MSG></E></L>");
    ASSERT_TRUE(parsed.loaded);
    ASSERT_EQ(parsed.entries.size(), 4u);
    ExpectEntry(parsed.entries[1], 0, "", "0", "0");
    ExpectEntry(parsed.entries[2], 0, "", "0", "0");
    ExpectEntry(parsed.entries[3], 4, "m", "", "");
}
