#include "startup/catalogue/ErrorCatalogueParser.h"
#include "text/GbkConverter.h"
#include "xml/XmlDocument.h"
#include "xml/XmlSource.h"
#include "xml/XmlSubsetReader.h"

#include "support/TestText.h"
#include "support/RecordingXmlSink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using xml::XmlParseAs;
using xml::XmlSourceEncoding;
using xml::XmlTextCoding;
using testing_text::Utf8;
using testing_xml::RecordingXmlSink;

namespace {

constexpr XmlSourceEncoding kUtf8{XmlTextCoding::Unicode, XmlParseAs::Utf8};
constexpr XmlSourceEncoding kGbk{XmlTextCoding::Gbk, XmlParseAs::Utf8};

struct Document {
    std::string bytes;
    XmlSourceEncoding encoding;
};

// What expat alone reports of the bytes; empty when it rejects them.
std::string ExpatRecord(const Document& document, xml::XmlParseFailure* failure = nullptr)
{
    RecordingXmlSink sink;
    return xml::StreamXmlWithExpat(document.bytes, document.encoding, sink, failure) ? sink.Record() : "";
}

std::string Shown(const Document& document)
{
    return document.bytes + (document.encoding.coding == XmlTextCoding::Gbk ? "\n(as GBK)" : "\n(as UTF-8)");
}

// The plain XML of the module's files, with every corner of it that the
// fast reader takes on itself.
std::vector<Document> DocumentsOfTheSubset()
{
    return {
        {"<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<ERRORLIST>\r\n  <ERROR><CODE>71000001</CODE>"
         "<MSG>读卡器未连接，请检查后重试。</MSG><moduleType>1</moduleType><insideCode>E01</insideCode></ERROR>\r\n"
         "</ERRORLIST>\r\n",
         kGbk},
        {Utf8(u8"\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n<a>读卡器\r\n行\r末\n</a>"),
         kUtf8},
        {"<a x = 'one\ttwo\r\nthree\rfour' y=\"&lt;&amp;lt;&quot;'&apos;\" z='\"'>text &gt; ] ]> ]]</a>", kUtf8},
        {"<!-- before --><?pi before?>\n<root:a.b-c_d>\n  <!-- inside - still -->\n  <?target  data ? > ?>"
         "\n  <e\n   a='1'\n   b='2'\n  />text<![CDATA[<not markup> & ]] ]>\r\n]]>tail<!---->"
         "<![CDATA[]]><![CDATA[ ]]></root:a.b-c_d>\n<!-- after -->\n<?after?>  ",
         kUtf8},
        {"<a>one<!--split-->two<?split?>three<b/>   <c></c>\t</a>", kUtf8},
        // GBK pairs whose trail byte is ']' ("\x81]") cannot end a CDATA
        // section or make "]]>" in a text; 0x80 and 0xFF stand alone.
        {"<a t=\"\x81]\x80\xFF\">\x81]]>\x80\xFF<![CDATA[\x81]]]>\x81]\x81]]></a>", kGbk},
        {Utf8(u8"<a b='\u0085\U0001F600'>\u0080 \U0010FFFD \uFFFD \uE000</a>"), kUtf8},
        {"<a>&amp;#x41;</a>", kUtf8},
        {"<?xml version=\"1.0\"?><a/>", kUtf8},
    };
}

TEST(XmlSubsetReader, ReadsThePlainDocumentsNodeForNodeAsExpatDoes)
{
    for (const Document& document : DocumentsOfTheSubset()) {
        const std::string expected = ExpatRecord(document);
        ASSERT_FALSE(expected.empty()) << Shown(document);
        RecordingXmlSink sink;
        EXPECT_TRUE(xml::ReadXmlSubset(document.bytes, document.encoding, sink)) << Shown(document);
        EXPECT_EQ(sink.Record(), expected) << Shown(document);
        // A sink that takes GBK gets the same texts, as GBK bytes.
        RecordingXmlSink gbkSink(true);
        EXPECT_TRUE(xml::ReadXmlSubset(document.bytes, document.encoding, gbkSink)) << Shown(document);
        EXPECT_EQ(gbkSink.Record(), expected) << Shown(document);
    }
}

TEST(XmlSubsetReader, GivesGbkTextsOnlyToASinkThatTakesThemAndOnlyOfAGbkDocument)
{
    struct TextSink final : xml::XmlNodeSink {
        explicit TextSink(bool takes) : takes(takes) {}
        void StartElement(std::string_view, const char* const* attributes) override
        {
            if (*attributes != nullptr)
                texts.emplace_back(attributes[1]);
        }
        void EndElement() override {}
        void Text(std::string_view text) override { texts.emplace_back(text); }
        void CData(std::string_view) override {}
        void Comment() override {}
        void ProcessingInstruction(std::string_view) override {}
        void Restart() override { texts.clear(); }
        bool TakesGbkTexts() const noexcept override { return takes; }
        bool takes;
        std::vector<std::string> texts;
    };
    const std::string gbk = "<a b='税控'>读卡器</a>";
    TextSink takes(true);
    ASSERT_TRUE(xml::StreamXml(gbk, kGbk, takes));
    EXPECT_EQ(takes.texts, (std::vector<std::string>{"税控", "读卡器"}));
    TextSink refuses(false);
    ASSERT_TRUE(xml::StreamXml(gbk, kGbk, refuses));
    EXPECT_EQ(refuses.texts, (std::vector<std::string>{Utf8(u8"税控"), Utf8(u8"读卡器")}));
    TextSink unicode(true);
    ASSERT_TRUE(xml::StreamXml(Utf8(u8"<a b='税控'>读卡器</a>"), kUtf8, unicode));
    EXPECT_EQ(unicode.texts, (std::vector<std::string>{Utf8(u8"税控"), Utf8(u8"读卡器")}));
}

TEST(XmlSubsetReader, LeavesWellFormedDocumentsBeyondThePlainOnesToExpat)
{
    const std::vector<Document> documents = {
        {"<!DOCTYPE a [<!ENTITY e 'x'>]><a>&e;</a>", kUtf8},
        {"<a>&#x41;&#66;</a>", kUtf8},
        {"<a b='&#10;'/>", kUtf8},
        {Utf8(u8"<名>x</名>"), kUtf8},
        {"<a \x81\x40='1'/>", kGbk},
        {"<?xml version=\"1.1\"?><a/>", kUtf8},
        {"<a>x</a>", {XmlTextCoding::Unicode, XmlParseAs::Latin1}},
        {testing_text::Utf16LeWithBom(u"<a>x</a>"), {XmlTextCoding::Unicode, XmlParseAs::Utf16}},
    };
    for (const Document& document : documents) {
        const std::string expected = ExpatRecord(document);
        ASSERT_FALSE(expected.empty()) << Shown(document);
        RecordingXmlSink subset;
        EXPECT_FALSE(xml::ReadXmlSubset(document.bytes, document.encoding, subset)) << Shown(document);
        RecordingXmlSink sink;
        EXPECT_TRUE(xml::StreamXml(document.bytes, document.encoding, sink)) << Shown(document);
        EXPECT_EQ(sink.Record(), expected) << Shown(document);
    }
}

TEST(XmlSubsetReader, DeclinesEveryMalformedDocumentSoThatExpatReportsIt)
{
    const std::vector<Document> documents = {
        {"", kUtf8},
        {"  \r\n", kUtf8},
        {"<a>", kUtf8},
        {"<a></b>", kUtf8},
        {"<a></a><b/>", kUtf8},
        {"<a></a>text", kUtf8},
        {"text<a/>", kUtf8},
        {"<a>x]]>y</a>", kUtf8},
        {"<a><!-- a -- b --></a>", kUtf8},
        {"<a><!-- a ---></a>", kUtf8},
        {"<a b='1' b='2'/>", kUtf8},
        {"<a b='1'c='2'/>", kUtf8},
        {"<a b='<'/>", kUtf8},
        {"<a b=1/>", kUtf8},
        {"<a>&</a>", kUtf8},
        {"<a>&unknown;</a>", kUtf8},
        {"<a>&lt</a>", kUtf8},
        {"<a>\x01</a>", kUtf8},
        {"<a b='\x1F'/>", kUtf8},
        {"<a>\xC3\x28</a>", kUtf8},
        {"<a>\xED\xA0\x80</a>", kUtf8},
        {"<a>\xEF\xBF\xBE</a>", kUtf8},
        {"<a>\x81<b/></a>", kGbk},
        {"<a>\x81</a>", kGbk},
        {"<a>\x81\x7F</a>", kGbk},
        {"<a><?xml version='1.0'?></a>", kUtf8},
        {"<?xml version='1.0'?><?XmL x?><a/>", kUtf8},
        {" <?xml version='1.0'?><a/>", kUtf8},
        {"<?xml encoding='UTF-8'?><a/>", kUtf8},
        {"<?xml version='1.0' encoding='8bit'?><a/>", kUtf8},
        {"<?xml version='1.0' standalone='maybe'?><a/>", kUtf8},
        {"<?xml version='1.0'standalone='no'?><a/>", kUtf8},
        {"<a><![CDATA[x]]</a>", kUtf8},
        {"<![CDATA[x]]><a/>", kUtf8},
        {"<a><!-- x </a>", kUtf8},
        {"<a><?pi x</a>", kUtf8},
        {"<a><?pi?x?></a>", kUtf8},
        {"<a>< b/></a>", kUtf8},
        {"<a></a >x", kUtf8},
        {"<1a/>", kUtf8},
    };
    for (const Document& document : documents) {
        xml::XmlParseFailure expected;
        ASSERT_EQ(ExpatRecord(document, &expected), "") << Shown(document);
        RecordingXmlSink subset;
        EXPECT_FALSE(xml::ReadXmlSubset(document.bytes, document.encoding, subset)) << Shown(document);
        RecordingXmlSink sink;
        xml::XmlParseFailure failure;
        EXPECT_FALSE(xml::StreamXml(document.bytes, document.encoding, sink, &failure)) << Shown(document);
        EXPECT_EQ(failure.line, expected.line) << Shown(document);
        EXPECT_EQ(failure.reason, expected.reason) << Shown(document);
    }
}

// A document declined near its end has reached the sink almost whole: the
// sink begins again, and nothing of the first reading stays.
TEST(XmlSubsetReader, ASinkBeginsAgainWhenADocumentIsDeclinedLate)
{
    const std::string bytes = "<L><E><CODE>1</CODE><MSG>a</MSG></E><E><CODE>2</CODE><MSG>b</MSG></E>"
                              "<E><CODE>3</CODE><MSG>&#x41;</MSG></E></L>";
    RecordingXmlSink sink;
    ASSERT_TRUE(xml::StreamXml(bytes, kUtf8, sink));
    EXPECT_TRUE(sink.RestartedOnce());
    EXPECT_EQ(sink.Record(), ExpatRecord({bytes, kUtf8}));

    const startup::ParsedErrorCatalogue catalogue = startup::ParseErrorCatalogue(bytes, text::SystemGbkConverter());
    ASSERT_TRUE(catalogue.loaded);
    ASSERT_EQ(catalogue.entries.size(), 3u);
    EXPECT_EQ(catalogue.entries[0].msg, "a");
    EXPECT_EQ(catalogue.entries[2].code, 3);
    EXPECT_EQ(catalogue.entries[2].msg, "A");

    const std::optional<xml::XmlDocument> tree = xml::ParseXml(bytes, kUtf8);
    ASSERT_TRUE(tree);
    int entries = 0;
    for (xml::XmlNode entry = tree->DocumentElement().FirstChild(); entry; entry = entry.NextSibling())
        ++entries;
    EXPECT_EQ(entries, 3);
    EXPECT_FALSE(tree->DocumentElement().NextSibling());
}

} // namespace
