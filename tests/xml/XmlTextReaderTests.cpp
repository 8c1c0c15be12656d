#include "text/GbkCodeTable.h"
#include "text/GbkConverter.h"
#include "text/Utf8Text.h"
#include "xml/XmlDocument.h"
#include "xml/XmlSource.h"
#include "xml/XmlTextReader.h"

#include "support/TestText.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

using xml::XmlTextCoding;
using testing_text::Utf8;

namespace {

xml::XmlSourceEncoding Detect(std::string_view bytes) { return xml::DetectXmlEncoding(bytes); }

// The GBK bytes of a sequence that the table reads as a stand-in character
// (a pair that this platform's code page leaves undefined, or decodes to a
// character another sequence has); empty when there is none.
std::string FirstStandInSequence()
{
    const text::GbkCodeTable& table = text::GbkCodeTable::System();
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            std::string utf8;
            if (trail != 0x7F && table.AppendUtf8(utf8, pair) && utf8.size() == 4)
                return pair;
        }
    }
    return {};
}

} // namespace

TEST(XmlSource, ByteOrderMarkDecidesBeforeTheDeclaration)
{
    const auto utf8Bom = Detect("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"GB2312\"?><a/>");
    EXPECT_EQ(utf8Bom.coding, XmlTextCoding::Unicode);
    EXPECT_EQ(Detect(testing_text::Utf16LeWithBom(u"<a/>")).coding, XmlTextCoding::Unicode);
    EXPECT_EQ(Detect(testing_text::Utf16BeWithBom(u"<a/>")).coding, XmlTextCoding::Unicode);
}

TEST(XmlSource, GbkFamilyDeclarationsKeepTheBytes)
{
    for (const char* name : {"GB2312", "gbk", "GB18030", "cp936"}) {
        const std::string doc = std::string("<?xml version=\"1.0\" encoding='") + name + "'?><a>中</a>";
        const auto encoding = Detect(doc);
        EXPECT_EQ(encoding.coding, XmlTextCoding::Gbk) << name;
    }
}

TEST(XmlSource, UndeclaredTextIsUtf8OnlyWhenItIsValidUtf8)
{
    EXPECT_EQ(Detect(Utf8(u8"<a>中文</a>")).coding, XmlTextCoding::Unicode);
    EXPECT_EQ(Detect("<a>中文</a>").coding, XmlTextCoding::Gbk);  // GBK bytes
    EXPECT_EQ(Detect("<a>plain</a>").coding, XmlTextCoding::Unicode);
    // A UTF-8 label on GBK bytes is a mistake: the bytes are read as they
    // stand rather than turned into question marks.
    EXPECT_EQ(Detect("<?xml version=\"1.0\" encoding=\"utf-8\"?><a>中</a>").coding, XmlTextCoding::Gbk);
    EXPECT_EQ(Detect(Utf8(u8"<?xml version=\"1.0\" encoding=\"utf-8\"?><a>中</a>")).coding, XmlTextCoding::Unicode);
}

TEST(XmlSource, DeclaredEncodingIsReadOnlyFromADeclarationAtTheStart)
{
    EXPECT_EQ(xml::DeclaredXmlEncoding("<?xml version=\"1.0\" encoding = \"GBK\" ?><a/>"), "GBK");
    EXPECT_EQ(xml::DeclaredXmlEncoding("<?xml version=\"1.0\"?><a encoding=\"GBK\"/>"), "");
    EXPECT_EQ(xml::DeclaredXmlEncoding(" <?xml version=\"1.0\" encoding=\"GBK\"?><a/>"), "");
    EXPECT_EQ(xml::DeclaredXmlEncoding("<?xml version=\"1.0\" encoding=\"GBK"), "");
}

TEST(GbkConverter, ConvertsUtf8AndMarksWhatGbkCannotHold)
{
    const text::GbkConverter& converter = text::SystemGbkConverter();
    EXPECT_EQ(converter.Utf8ToGbk(Utf8(u8"读卡器 OK")), "读卡器 OK");
    EXPECT_EQ(converter.Utf8ToGbk(Utf8(u8"a\u0E01b")), "a?b");      // Thai has no GBK form
    EXPECT_EQ(converter.Utf8ToGbk(Utf8(u8"a\U0001F600b")), "a?b");  // one mark per character
    EXPECT_EQ(converter.Utf8ToGbk("a\xFF\xFE" "b"), "a??b");        // bytes that are no UTF-8
    EXPECT_EQ(converter.Utf8ToGbk(""), "");
}

TEST(XmlTextReader, ResolvesReferencesIntoGbkInBothCodings)
{
    const text::GbkConverter& converter = text::SystemGbkConverter();
    const std::string gbkDoc = "<a x=\"&#20013;&amp;\">&lt;中&#x6587;&gt; &amp; <![CDATA[&lt;]]></a>";
    const std::string utf8Doc = Utf8(u8"<a x=\"&#20013;&amp;\">&lt;中&#x6587;&gt; &amp; <![CDATA[&lt;]]></a>");
    for (const auto& [bytes, coding] : {std::pair{gbkDoc, XmlTextCoding::Gbk}, std::pair{utf8Doc, XmlTextCoding::Unicode}}) {
        const auto document = xml::ParseXml(bytes, xml::DetectXmlEncoding(bytes));
        ASSERT_TRUE(document.has_value());
        EXPECT_EQ(document->Coding(), coding);
        const xml::XmlTextReader reader(coding, converter);
        const xml::XmlNode a = document->DocumentElement();
        EXPECT_EQ(reader.AttributeValue(a, "x"), "中&");
        EXPECT_EQ(reader.TextContent(a), "<中文> & &lt;");
        EXPECT_EQ(reader.PlainText(a), std::nullopt);  // text and CDATA: two nodes
    }
}

TEST(XmlTextReader, PlainTextIsASingleTextOrCdataNode)
{
    const xml::XmlTextReader reader(XmlTextCoding::Gbk, text::SystemGbkConverter());
    const auto document = xml::ParseXml(
        "<r><e1/><e2>  </e2><e3><![CDATA[x<y]]></e3><e4>a<b/></e4><e5><!--c--></e5>"
        "<e6><b>t</b></e6><e7>t</e7><e8>a<?p?>b</e8><e9><![CDATA[ ]]></e9></r>",
        {XmlTextCoding::Gbk, xml::XmlParseAs::Utf8});
    ASSERT_TRUE(document.has_value());
    const xml::XmlNode r = document->DocumentElement();
    EXPECT_EQ(reader.PlainText(r.Child("e1")), "");
    EXPECT_EQ(reader.PlainText(r.Child("e2")), "");  // whitespace-only text is no node
    EXPECT_EQ(reader.PlainText(r.Child("e3")), "x<y");
    EXPECT_EQ(reader.PlainText(r.Child("e4")), std::nullopt);
    EXPECT_EQ(reader.PlainText(r.Child("e5")), std::nullopt);
    EXPECT_EQ(reader.PlainText(r.Child("e6")), std::nullopt);
    EXPECT_EQ(reader.TextContent(r.Child("e6")), "t");
    EXPECT_EQ(reader.PlainText(r.Child("e7")), "t");
    EXPECT_EQ(reader.PlainText(r.Child("e8")), std::nullopt);  // a processing instruction is a node
    EXPECT_EQ(reader.TextContent(r.Child("e8")), "ab");
    EXPECT_EQ(reader.PlainText(r.Child("e9")), " ");  // a CDATA section is one even when blank
    EXPECT_EQ(reader.TextContent(r), "x<yattab ");
}

TEST(GbkCodeTable, WritingIntoABufferGivesWhatAppendingGives)
{
    const text::GbkCodeTable& table = text::GbkCodeTable::System();
    // ASCII, two-byte characters, the single bytes 0x80 and 0xFF, a pair the
    // code page leaves undefined (stand-in characters: four UTF-8 bytes).
    const std::string texts[] = {"", "abc", "税控IC卡", std::string("\x80x\xFF", 3), std::string("\xA2\xA0\xFE\xFE", 4),
                                 std::string(1000, '\x80')};
    for (const std::string& gbk : texts) {
        std::string appended;
        ASSERT_TRUE(table.AppendUtf8(appended, gbk));
        std::string written(gbk.size() * text::GbkCodeTable::kMaximumUtf8PerByte, '\0');
        const std::optional<std::size_t> length = table.WriteUtf8(written.data(), gbk);
        ASSERT_TRUE(length.has_value());
        written.resize(*length);
        EXPECT_EQ(written, appended);
        EXPECT_EQ(table.ToGbk(written, text::SystemGbkConverter()), gbk);
    }
    // A lead byte without a trail byte, at the end or before markup.
    std::string out(16, '\0');
    EXPECT_FALSE(table.WriteUtf8(out.data(), "a\xB0"));
    EXPECT_FALSE(table.WriteUtf8(out.data(), "\xB0<b>"));
}

// A Unicode document's text goes through the code page's table, not the
// platform's converter: both must give the same bytes for every character.
TEST(GbkCodeTable, UnicodeTextConvertsAsThePlatformConverts)
{
    const text::GbkCodeTable& table = text::GbkCodeTable::System();
    const text::GbkConverter& converter = text::SystemGbkConverter();
    const auto unicode = text::GbkCodeTable::Source::UnicodeText;
    std::size_t differences = 0;
    for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        std::string utf8;
        ASSERT_TRUE(text::AppendUtf8(utf8, c));
        const std::string expected = converter.Utf8ToGbk(utf8);
        // Whole and inside ASCII on both sides, which takes the quick path
        // over the ASCII around it.
        const std::string got = table.ToGbk(utf8, converter, unicode);
        const std::string inText = table.ToGbk("abcdefgh" + utf8 + "ijklmnopq", converter, unicode);
        if (got != expected || inText != "abcdefgh" + expected + "ijklmnopq") {
            if (++differences <= 10)
                ADD_FAILURE() << "U+" << std::hex << static_cast<unsigned>(c) << ": the table gives a different form";
        }
    }
    EXPECT_EQ(differences, 0u);
    // Beyond the basic plane, a stand-in character is GBK bytes only in
    // text read out of GBK; lone bytes and cut sequences are marked.
    // (Windows' code page defines every pair: no stand-in there.)
    if (const std::string pair = FirstStandInSequence(); !pair.empty()) {
        std::string standIn;
        ASSERT_TRUE(table.AppendUtf8(standIn, pair));
        EXPECT_EQ(table.ToGbk(standIn, converter, unicode), converter.Utf8ToGbk(standIn));
        EXPECT_EQ(table.ToGbk(standIn, converter), pair);
    }
    for (const std::string broken : {"a\xE4\xB8" "b\x80" "c\xF0\x9F\x98\x80", "\xE4\xB8\xE4\xB8\x80\xFF\xFE",
                                     "\xC0\xAF\xED\xA0\x80z"})
        EXPECT_EQ(table.ToGbk(broken, converter, unicode), converter.Utf8ToGbk(broken)) << broken;
}

#ifdef _WIN32
// The table is decoded a row of pairs at a time; each sequence on its own
// decodes the same.
TEST(GbkCodeTable, DecodingByRowsGivesWhatEachSequenceGives)
{
    const std::vector<char16_t> bySequence =
        text::DecodeEveryGbkSequence([](const char* bytes, std::size_t length) -> char16_t {
            wchar_t unit[2] = {};
            return MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), unit, 2) == 1
                       ? static_cast<char16_t>(unit[0])
                       : 0;
        });
    const std::vector<char16_t> byRows = text::DecodeCodePage936();
    ASSERT_EQ(byRows.size(), bySequence.size());
    std::size_t differences = 0;
    for (std::size_t i = 0; i < byRows.size(); ++i) {
        if (byRows[i] != bySequence[i] && ++differences <= 10)
            ADD_FAILURE() << std::hex << "sequence " << i << ": " << unsigned(byRows[i]) << " for " << unsigned(bySequence[i]);
    }
    EXPECT_EQ(differences, 0u);
    EXPECT_EQ(byRows[0xB0A1], u'\u554A');  // 啊
}
#endif
