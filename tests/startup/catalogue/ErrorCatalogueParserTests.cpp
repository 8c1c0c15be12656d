#include "startup/catalogue/ErrorCatalogueParser.h"

#include "support/TestText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using startup::ErrorCatalogueEntry;
using startup::ParseErrorCatalogue;

namespace {

startup::ParsedErrorCatalogue Parse(std::string_view bytes)
{
    return ParseErrorCatalogue(bytes, text::SystemGbkConverter());
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
    ExpectEntry(parsed.entries[1], 12, "无模块", "", "Z");        // order of children does not matter
    ExpectEntry(parsed.entries[2], 0, "", "0", "0");           // the comment is an entry
    ExpectEntry(parsed.entries[3], 0, "代码非数字", "0", "");       // nested element: "0"
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
    // A reference in a GBK document: its GBK form, or the mark.
    const auto gbk = Parse("<?xml version=\"1.0\" encoding=\"GBK\"?><L><E><MSG>税&#x0E01;&#x7A0E;</MSG></E></L>");
    ASSERT_EQ(gbk.entries.size(), 1u);
    EXPECT_EQ(gbk.entries[0].msg, "税?税");
}

TEST(ErrorCatalogueParser, MalformedDocumentsAreNotLoaded)
{
    const std::string entry = "<E><CODE>1</CODE><MSG>m</MSG></E>";
    for (const std::string& bad : std::vector<std::string>{
             "<L>" + entry + "a & b</L>",                      // a bare ampersand
             "<L>" + entry + "<E><MSG>&nbsp;</MSG></E></L>",   // an undefined entity
             "<L>" + entry + "</L><L>" + entry + "</L>",       // two top-level elements
             "<L>" + entry + "</L>trailing text",              // text after the root element
             "<L><E a=\"1\" a=\"2\"><CODE>1</CODE></E></L>",   // a duplicate attribute
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

TEST(ErrorCatalogueParser, DeclarationsOfTheInternalSubsetApply)
{
    // A general entity, in GBK and in UTF-8.
    for (const std::string& bytes :
         {std::string("<!DOCTYPE ERRORLIST [<!ENTITY co \"税务机关\">]>"
                      "<ERRORLIST><E><CODE>1</CODE><MSG>请联系&co;处理</MSG></E></ERRORLIST>"),
          testing_text::Utf8(u8"<?xml version=\"1.0\" encoding=\"UTF-8\"?><!DOCTYPE ERRORLIST [<!ENTITY co \"税务机关\">]>"
                             u8"<ERRORLIST><E><CODE>1</CODE><MSG>请联系&co;处理</MSG></E></ERRORLIST>")}) {
        const auto parsed = Parse(bytes);
        ASSERT_TRUE(parsed.loaded);
        ASSERT_EQ(parsed.entries.size(), 1u);
        ExpectEntry(parsed.entries[0], 1, "请联系税务机关处理", "", "");
    }
    // A parameter entity that declares a general entity; an entity that
    // holds markup; a character reference inside an entity.
    const auto parsed = Parse(
        "<!DOCTYPE L [<!ENTITY % p \"<!ENTITY co 'x&#x7A0E;'>\"> %p; <!ENTITY code \"<CODE>7</CODE>\">]>"
        "<L><E>&code;<MSG>&co;</MSG></E><E><MSG>a&co;&co;b</MSG></E></L>");
    ASSERT_TRUE(parsed.loaded);
    ASSERT_EQ(parsed.entries.size(), 2u);
    ExpectEntry(parsed.entries[0], 7, "x税", "", "");
    ExpectEntry(parsed.entries[1], 0, "ax税x税b", "", "");  // one text, not four
}

TEST(ErrorCatalogueParser, NestedExpansionBeyondTheBoundIsMalformed)
{
    // Nine ten-fold levels: 3 * 10^9 characters from about 500 bytes.
    const std::string subset = testing_text::NestedEntities(9);
    EXPECT_FALSE(Parse("<!DOCTYPE L [" + subset + "]><L><E><MSG>&a9;</MSG></E></L>").loaded);
    EXPECT_FALSE(Parse("<!DOCTYPE L [" + subset + "]><L><E x=\"&a9;\"><MSG>m</MSG></E></L>").loaded);
    // Expansion that stays within the bound is read in full.
    const auto three = Parse("<!DOCTYPE L [" + testing_text::NestedEntities(3) + "]><L><E><MSG>&a3;</MSG></E></L>");
    ASSERT_TRUE(three.loaded);
    ASSERT_EQ(three.entries.size(), 1u);
    EXPECT_EQ(three.entries[0].msg.size(), 3000u);
    EXPECT_EQ(three.entries[0].msg.substr(0, 6), "lollol");
}

TEST(ErrorCatalogueParser, AttributeDefaultsRepeatedInEveryElementAreBoundedToo)
{
    // The parser expands a default of the internal subset once (30,000
    // characters here, within its bound) and hands it to every element
    // without counting it again: a thousand elements would make 30 MB of a
    // document of 4 KB.
    const std::string subset = testing_text::NestedEntities(4) + "<!ATTLIST E x CDATA \"&a4;\">";
    std::string elements;
    for (int i = 0; i < 1000; ++i)
        elements += "<E/>";
    EXPECT_FALSE(Parse("<!DOCTYPE L [" + subset + "]><L>" + elements + "</L>").loaded);
    // A few elements stay within the bound and are read.
    const auto few = Parse("<!DOCTYPE L [" + subset + "]><L>" + elements.substr(0, 40) + "</L>");
    ASSERT_TRUE(few.loaded);
    EXPECT_EQ(few.entries.size(), 10u);
}

TEST(ErrorCatalogueParser, ExternalEntitiesAreNeverRead)
{
    // Files that would change the entries if they were read.
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("wscbs-external-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(folder);
    const auto write = [&](const char* name, std::string_view text) {
        std::ofstream(folder / name, std::ios::binary) << text;
        return (folder / name).string();
    };
    const std::string entityFile = write("ext.xml", "<CODE>9</CODE>read");
    const std::string dtdFile = write("ext.dtd", "<!ENTITY co \"read\"><!ATTLIST E a CDATA \"read\">");

    const auto entity = Parse("<!DOCTYPE L [<!ENTITY ext SYSTEM \"" + entityFile + "\">]>"
                              "<L><E><MSG>a&ext;b</MSG></E></L>");
    ASSERT_TRUE(entity.loaded);
    ASSERT_EQ(entity.entries.size(), 1u);
    ExpectEntry(entity.entries[0], 0, "ab", "", "");

    const auto subset = Parse("<!DOCTYPE L SYSTEM \"" + dtdFile + "\"><L><E><MSG>a&co;b</MSG></E></L>");
    ASSERT_TRUE(subset.loaded);
    ASSERT_EQ(subset.entries.size(), 1u);
    ExpectEntry(subset.entries[0], 0, "ab", "", "");
    std::filesystem::remove_all(folder);
}

TEST(ErrorCatalogueParser, APairWhoseTrailByteIsNoGbkTrailByteIsMalformed)
{
    // Each document is well-formed but for the pair.
    for (const std::string& bad : std::vector<std::string>{
             "<L><E><MSG>\xB0<!--x--></MSG></E></L>",  // '<' would be hidden in the pair
             "<L><E><MSG>\xB0\x7F</MSG></E></L>",
             "<L><E><MSG>\xB0\x1F</MSG></E></L>",
             "<L><E><MSG>\xB0\xFF</MSG></E></L>",
             "<?xml version=\"1.0\" encoding=\"GBK\"?><L><E><MSG>\xB0\x7F</MSG></E></L>",
         }) {
        EXPECT_FALSE(Parse(bad).loaded) << bad;
    }
    const auto good = Parse("<L><E><MSG>\xB0\x40\xB0\xFE</MSG></E></L>");
    ASSERT_TRUE(good.loaded);
    EXPECT_EQ(good.entries.at(0).msg, "\xB0\x40\xB0\xFE");
}

TEST(ErrorCatalogueParser, GbkTextIsReadByteForByte)
{
    // Ideographs, a user-defined character (AA A1), the single byte 0x80,
    // a pair outside the assigned ranges (A2 E3) and Chinese element names.
    const std::string text = "税\xAA\xA1\x80\xA2\xE3－";
    const auto parsed = Parse("<?xml version=\"1.0\" encoding=\"GB2312\"?><错误列表><错误><CODE>2</CODE><MSG>" +
                              text + "</MSG><moduleType>模块</moduleType></错误></错误列表>");
    ASSERT_TRUE(parsed.loaded);
    ASSERT_EQ(parsed.entries.size(), 1u);
    ExpectEntry(parsed.entries[0], 2, text, "模块", "");
}

TEST(ErrorCatalogueParser, Utf32DocumentsAreRead)
{
    std::string bytes("\xFF\xFE\x00\x00", 4);
    for (char32_t c : std::u32string(U"<L><E><CODE>3</CODE><MSG>税务</MSG></E></L>")) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<char>((c >> shift) & 0xFF));
    }
    const auto parsed = Parse(bytes);
    ASSERT_TRUE(parsed.loaded);
    ASSERT_EQ(parsed.entries.size(), 1u);
    ExpectEntry(parsed.entries[0], 3, "税务", "", "");
}

TEST(ErrorCatalogueParser, OnlyTheFirstChildOfAFieldNameCountsAndOnlyDirectChildren)
{
    const auto parsed = Parse(
        "<ERRORLIST>"
        "<ERROR><CODE><!--x-->7</CODE><CODE>8</CODE><MSG>一</MSG><MSG>二</MSG></ERROR>"
        "<ERROR><wrap><CODE>9</CODE><MSG>深</MSG></wrap><moduleType>  </moduleType></ERROR>"
        "<ERROR><MSG> <![CDATA[块]]> </MSG><insideCode><![CDATA[]]></insideCode><moduleType>a<![CDATA[b]]></moduleType></ERROR>"
        "<ERROR><MSG>a&amp;b&#x4E00;</MSG><CODE><x>1</x></CODE><insideCode><?pi?></insideCode></ERROR>"
        "</ERRORLIST>");
    ASSERT_TRUE(parsed.loaded);
    ASSERT_EQ(parsed.entries.size(), 4u);
    ExpectEntry(parsed.entries[0], 0, "一", "", "");      // the first CODE is no plain text; the second is not read
    ExpectEntry(parsed.entries[1], 0, "", "", "");       // grandchildren are no fields; blank text is no node
    ExpectEntry(parsed.entries[2], 0, "块", "0", "");     // blanks around CDATA are no nodes; text and CDATA are two
    ExpectEntry(parsed.entries[3], 0, "a&b一", "", "0");
}

TEST(ErrorCatalogueParser, TextAndNodesDirectlyUnderTheDocumentElementAreEntries)
{
    const auto parsed = Parse(
        "<!--before--><?before?><ERRORLIST>word<![CDATA[]]>\n<ERROR><CODE>1</CODE></ERROR><?pi x?>\n</ERRORLIST>"
        "<!--after-->");
    ASSERT_TRUE(parsed.loaded);
    ASSERT_EQ(parsed.entries.size(), 4u);
    ExpectEntry(parsed.entries[0], 0, "", "0", "0");  // the text
    ExpectEntry(parsed.entries[1], 0, "", "0", "0");  // the empty CDATA section
    ExpectEntry(parsed.entries[2], 1, "", "", "");
    ExpectEntry(parsed.entries[3], 0, "", "0", "0");  // the processing instruction
}

TEST(ErrorCatalogueParser, AFailureLateInTheDocumentLeavesNoEntries)
{
    const auto parsed = Parse("<ERRORLIST><ERROR><CODE>1</CODE></ERROR><ERROR></ERRORLIST>");
    EXPECT_FALSE(parsed.loaded);
    EXPECT_TRUE(parsed.entries.empty());
}
