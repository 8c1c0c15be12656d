#include "startup/regional/SysDifferenceDocument.h"

#include "support/TestText.h"
#include "support/FailingConverter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::optional<startup::SysDifferenceDocument> Parse(std::string_view bytes)
{
    return startup::ParseSysDifference(bytes, text::SystemGbkConverter());
}

} // namespace

TEST(SysDifferenceDocument, ReadsParametersAndFilesInDocumentOrder)
{
    const auto document = Parse(
        "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n"
        "<SYSDIFFERENCE ZCODE=\" 32 \">\r\n"
        "  <DIFF-PARAMETERS>\r\n"
        "    <DIFF-PARAMETER><NAME> 税务机关 </NAME><TYPE> string </TYPE><VALUE> 江苏省&amp;amp;lt;国税&gt; </VALUE></DIFF-PARAMETER>\r\n"
        "    <OTHER><NAME>skipped</NAME></OTHER>\r\n"
        "    <DIFF-PARAMETER><NAME>MaxRetry</NAME><TYPE>Integer</TYPE><VALUE>12a</VALUE></DIFF-PARAMETER>\r\n"
        "    <DIFF-PARAMETER><NAME>NoType</NAME><VALUE>&#x4E2D;</VALUE></DIFF-PARAMETER>\r\n"
        "  </DIFF-PARAMETERS>\r\n"
        "  <DIFF-PARAMETERS><DIFF-PARAMETER><NAME>second list</NAME></DIFF-PARAMETER></DIFF-PARAMETERS>\r\n"
        "  <DIFF-FILES>\r\n"
        "    <DIFF-FILE><NAME> a.dll </NAME><TYPE>0</TYPE><TARGETDIR/></DIFF-FILE>\r\n"
        "    <DIFF-FILE><NAME>bin</NAME><TYPE> 1 </TYPE><TARGETDIR> D:\\x </TARGETDIR></DIFF-FILE>\r\n"
        "    <diff-file><NAME>case matters</NAME></diff-file>\r\n"
        "  </DIFF-FILES>\r\n"
        "</SYSDIFFERENCE>\r\n");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->zcode, "32");
    ASSERT_EQ(document->parameters.size(), 3u);
    EXPECT_EQ(document->parameters[0].name, "税务机关");
    EXPECT_EQ(document->parameters[0].type, "string");
    // Resolved by the parser to "&amp;lt;", decoded once more to "&lt;";
    // the value keeps its blanks.
    EXPECT_EQ(document->parameters[0].value, " 江苏省&lt;国税> ");
    EXPECT_EQ(document->parameters[1].value, "12a");
    EXPECT_EQ(document->parameters[2].type, "");
    EXPECT_EQ(document->parameters[2].value, "中");
    ASSERT_EQ(document->files.size(), 2u);
    EXPECT_EQ(document->files[0].name, "a.dll");
    EXPECT_EQ(document->files[0].targetDir, "");
    EXPECT_EQ(document->files[1].type, "1");
    EXPECT_EQ(document->files[1].targetDir, "D:\\x");
}

TEST(SysDifferenceDocument, EntityDecodedTwiceGivesTheCharacter)
{
    const auto document = Parse(
        "<D><DIFF-PARAMETERS><DIFF-PARAMETER><NAME>a&amp;lt;b</NAME><VALUE>&amp;amp;</VALUE>"
        "</DIFF-PARAMETER></DIFF-PARAMETERS></D>");
    ASSERT_TRUE(document);
    ASSERT_EQ(document->parameters.size(), 1u);
    EXPECT_EQ(document->parameters[0].name, "a<b");
    EXPECT_EQ(document->parameters[0].value, "&");
}

TEST(SysDifferenceDocument, GbkBytesPassThroughWhateverTheDeclaration)
{
    const auto document = Parse(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><D ZCODE=\"苏\"><DIFF-PARAMETERS><DIFF-PARAMETER>"
        "<NAME>地区</NAME><VALUE>南京</VALUE></DIFF-PARAMETER></DIFF-PARAMETERS></D>");
    ASSERT_TRUE(document);
    EXPECT_EQ(document->zcode, "苏");
    EXPECT_EQ(document->parameters.at(0).value, "南京");
}

TEST(SysDifferenceDocument, MissingListsAndBrokenFiles)
{
    const auto empty = Parse("<D/>");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->zcode, "");
    EXPECT_TRUE(empty->parameters.empty());
    EXPECT_TRUE(empty->files.empty());
    EXPECT_FALSE(Parse(""));
    EXPECT_FALSE(Parse("<D><DIFF-FILES></D>"));
    EXPECT_FALSE(Parse("<!-- nothing -->"));
}

TEST(SysDifferenceDocument, MalformedDocumentsAreRejected)
{
    const std::string parameter = "<DIFF-PARAMETERS><DIFF-PARAMETER><NAME>n</NAME><VALUE>v</VALUE></DIFF-PARAMETER></DIFF-PARAMETERS>";
    EXPECT_TRUE(Parse("<D ZCODE=\"32\">" + parameter + "</D>").has_value());
    for (const std::string& bad : std::vector<std::string>{
             "<D ZCODE=\"32\">" + parameter + "&</D>",
             "<D ZCODE=\"32\" ZCODE=\"33\">" + parameter + "</D>",
             "<D>" + parameter + "</D><D/>",
             "<D>" + parameter,
         }) {
        EXPECT_FALSE(Parse(bad).has_value()) << bad;
    }
}

TEST(SysDifferenceDocument, UnicodeDocumentsAreConvertedAndGbkOnesKeptByteForByte)
{
    // 税 is E7 A8 8E in UTF-8 and CB B0 in GBK.
    const auto utf8 = Parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?><D ZCODE=\"\xE7\xA8\x8E\">"
                            "<DIFF-PARAMETERS><DIFF-PARAMETER><NAME>\xE7\xA8\x8E</NAME><VALUE>\xE7\xA8\x8E</VALUE>"
                            "</DIFF-PARAMETER></DIFF-PARAMETERS></D>");
    ASSERT_TRUE(utf8.has_value());
    EXPECT_EQ(utf8->zcode, "\xCB\xB0");
    ASSERT_EQ(utf8->parameters.size(), 1u);
    EXPECT_EQ(utf8->parameters[0].name, "\xCB\xB0");
    EXPECT_EQ(utf8->parameters[0].value, "\xCB\xB0");

    const auto utf16 = Parse(testing_text::Utf16LeWithBom(u"<D ZCODE=\"税\"/>"));
    ASSERT_TRUE(utf16.has_value());
    EXPECT_EQ(utf16->zcode, "\xCB\xB0");

    // Undeclared bytes are GBK as they stand, also where they happen to be
    // valid UTF-8 (C2 A9 is a GBK character and the UTF-8 of U+00A9).
    const auto gbk = Parse("<D ZCODE=\"\xC2\xA9\"/>");
    ASSERT_TRUE(gbk.has_value());
    EXPECT_EQ(gbk->zcode, "\xC2\xA9");
    const auto declared = Parse("<?xml version=\"1.0\" encoding=\"GBK\"?><D ZCODE=\"\xC2\xA9\"/>");
    ASSERT_TRUE(declared.has_value());
    EXPECT_EQ(declared->zcode, "\xC2\xA9");
}

TEST(SysDifferenceDocument, DeclarationsOfTheInternalSubsetApply)
{
    const auto document = Parse(
        "<?xml version=\"1.0\" encoding=\"GB2312\"?>"
        "<!DOCTYPE D [<!ATTLIST D ZCODE CDATA \" 32 \"><!ENTITY jg \"江苏省国税\">"
        "<!ENTITY % t \"<!ENTITY type 'Integer'>\"> %t;]>"
        "<D><DIFF-PARAMETERS><DIFF-PARAMETER><NAME>机关</NAME><TYPE>&type;</TYPE><VALUE>[&jg;]</VALUE>"
        "</DIFF-PARAMETER></DIFF-PARAMETERS></D>");
    ASSERT_TRUE(document.has_value());
    EXPECT_EQ(document->zcode, "32");  // the default of the attribute list
    ASSERT_EQ(document->parameters.size(), 1u);
    EXPECT_EQ(document->parameters[0].type, "Integer");
    EXPECT_EQ(document->parameters[0].value, "[江苏省国税]");
}

TEST(SysDifferenceDocument, NestedExpansionBeyondTheBoundIsMalformed)
{
    const std::string subset = testing_text::NestedEntities(9);
    EXPECT_FALSE(Parse("<!DOCTYPE D [" + subset + "]><D><DIFF-PARAMETERS><DIFF-PARAMETER><NAME>n</NAME>"
                       "<VALUE>&a9;</VALUE></DIFF-PARAMETER></DIFF-PARAMETERS></D>").has_value());
    EXPECT_FALSE(Parse("<!DOCTYPE D [" + subset + "]><D ZCODE=\"&a9;\"/>").has_value());
}

TEST(SysDifferenceDocument, AnItemThatCannotBeReadIsMarkedAndTheOthersStay)
{
    const testing_support::FailingConverter converter;
    const auto document = startup::ParseSysDifference(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><D ZCODE=\"\xE0\xB8\x81\">"
        "<DIFF-PARAMETERS>"
        "<DIFF-PARAMETER><NAME>a</NAME><VALUE>\xE0\xB8\x81</VALUE></DIFF-PARAMETER>"
        "<DIFF-PARAMETER><NAME>b</NAME><VALUE>2</VALUE></DIFF-PARAMETER>"
        "</DIFF-PARAMETERS><DIFF-FILES>"
        "<DIFF-FILE><NAME>\xE0\xB8\x81</NAME><TYPE>0</TYPE></DIFF-FILE>"
        "<DIFF-FILE><NAME>f</NAME><TYPE>0</TYPE></DIFF-FILE>"
        "</DIFF-FILES></D>",
        converter);
    ASSERT_TRUE(document.has_value());
    EXPECT_EQ(document->zcode, "");  // an attribute that cannot be read is empty
    ASSERT_EQ(document->parameters.size(), 2u);
    EXPECT_FALSE(document->parameters[0].readable);
    EXPECT_TRUE(document->parameters[1].readable);
    EXPECT_EQ(document->parameters[1].value, "2");
    ASSERT_EQ(document->files.size(), 2u);
    EXPECT_FALSE(document->files[0].readable);
    EXPECT_TRUE(document->files[1].readable);
    EXPECT_EQ(document->files[1].name, "f");
}
