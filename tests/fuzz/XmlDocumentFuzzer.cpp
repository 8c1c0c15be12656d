// The one XML reader (config/XmlDocument.h) and reading texts out of it
// (config/XmlTextReader.h). The reader must accept exactly what expat alone
// accepts with the same settings on the same bytes, build a tree of the
// documented shape, and give texts that agree with each other. Its fast
// reader of plain documents must report what it reads node for node and
// line for line as expat does, to a sink of UTF-8 texts and to one of GBK. An entity
// expansion that the reader does not bound shows as a time-out or as
// running out of memory under libFuzzer's limits.
//   input: the bytes of a file, read in the encoding the module detects
//   for it and, where that differs, in the one it declares
#include "FuzzSupport.h"

#include "text/GbkCodeTable.h"
#include "text/Utf8Text.h"
#include "xml/XmlDocument.h"
#include "xml/XmlSource.h"
#include "xml/XmlSubsetReader.h"
#include "xml/XmlTextReader.h"

#include "support/RecordingXmlSink.h"

#include <expat.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <vector>

namespace {

using xml::XmlNode;
using xml::XmlNodeKind;

// UTF-32 as UTF-8, a unit at a time; nullopt for a unit that is no
// character or a length that is no multiple of four.
std::optional<std::string> Utf32AsUtf8(std::string_view bytes)
{
    if (bytes.size() % 4 != 0)
        return std::nullopt;
    const bool bigEndian = bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] == '\0';
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        char32_t unit = 0;
        for (std::size_t k = 0; k < 4; ++k) {
            const char32_t byte = static_cast<unsigned char>(bytes[i + (bigEndian ? k : 3 - k)]);
            unit = unit << 8 | byte;
        }
        if (i == 0 && unit == 0xFEFF)
            continue;
        if (!text::AppendUtf8(out, unit))
            return std::nullopt;
    }
    return out;
}

// What expat alone, set up as the reader sets it up, makes of the bytes:
// whether it takes them as a well-formed document, the most that a tree of
// what it hands over could take (each node a record of less than 64 bytes
// with its name or text, each attribute one of less than 32 with its name
// and value), and the bound of expansion for bytes of that size.
struct ExpatReading {
    bool accepted = false;
    double handedOver = 0;
    double bound = 0;
};

ExpatReading ReadWithExpat(std::string_view bytes, const xml::XmlSourceEncoding& encoding)
{
    ExpatReading reading;
    std::string converted;
    const char* name = nullptr;
    if (encoding.coding == xml::XmlTextCoding::Gbk) {
        if (!text::GbkCodeTable::System().AppendUtf8(converted, bytes))
            return reading;
        bytes = converted, name = "UTF-8";
    } else if (encoding.parseAs == xml::XmlParseAs::Utf32) {
        const auto utf8 = Utf32AsUtf8(bytes);
        if (!utf8)
            return reading;
        converted = *utf8;
        bytes = converted, name = "UTF-8";
    } else if (encoding.parseAs == xml::XmlParseAs::Utf8) {
        name = "UTF-8";
    } else if (encoding.parseAs == xml::XmlParseAs::Latin1) {
        name = "ISO-8859-1";
    }
    reading.bound = std::max(static_cast<double>(xml::kAmplificationThreshold),
                             static_cast<double>(xml::kMaximumAmplification) * static_cast<double>(bytes.size()));
    XML_Parser parser = XML_ParserCreate(name);
    XML_SetUserData(parser, &reading.handedOver);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char* element, const XML_Char** attributes) {
            double& count = *static_cast<double*>(data);
            count += 64 + static_cast<double>(std::strlen(element));
            for (; *attributes != nullptr; attributes += 2)
                count += 32 + static_cast<double>(std::strlen(attributes[0]) + std::strlen(attributes[1]));
        },
        nullptr);
    XML_SetCharacterDataHandler(
        parser, [](void* data, const XML_Char*, int length) { *static_cast<double*>(data) += 64 + length; });
    XML_SetCdataSectionHandler(
        parser, [](void* data) { *static_cast<double*>(data) += 64; }, nullptr);
    XML_SetCommentHandler(parser, [](void* data, const XML_Char*) { *static_cast<double*>(data) += 64; });
    XML_SetProcessingInstructionHandler(parser, [](void* data, const XML_Char* target, const XML_Char*) {
        *static_cast<double*>(data) += 64 + static_cast<double>(std::strlen(target));
    });
    XML_SetParamEntityParsing(parser, XML_PARAM_ENTITY_PARSING_UNLESS_STANDALONE);
    XML_SetBillionLaughsAttackProtectionMaximumAmplification(parser, xml::kMaximumAmplification);
    XML_SetBillionLaughsAttackProtectionActivationThreshold(parser, xml::kAmplificationThreshold);
    reading.accepted = XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return reading;
}

// The texts and CDATA sections under an element, in document order.
void CollectText(XmlNode element, std::string& out)
{
    for (XmlNode child = element.FirstChild(); child; child = child.NextSibling()) {
        if (child.Kind() == XmlNodeKind::Text || child.Kind() == XmlNodeKind::CData)
            out += child.Value();
        else if (child.IsElement())
            CollectText(child, out);
    }
}

bool IsWhitespace(std::string_view text) { return text.find_first_not_of(" \t\r\n") == std::string_view::npos; }

void CheckFastReader(std::string_view bytes, const xml::XmlSourceEncoding& encoding, const fuzz::Context& context)
{
    std::string expected;
    bool expatRead = false;
    for (const bool takesGbk : {false, true}) {
        testing_xml::RecordingXmlSink fast(takesGbk);
        if (!xml::ReadXmlSubset(bytes, encoding, fast))
            return;
        if (!expatRead) {
            testing_xml::RecordingXmlSink expat;
            FUZZ_CHECK(xml::StreamXmlWithExpat(bytes, encoding, expat),
                       context() + "\nthe fast reader read it; expat rejects it");
            expected = expat.Record();
            expatRead = true;
        }
        FUZZ_CHECK_TEXT(fast.Record(), expected, context() + (takesGbk ? "\nGBK texts" : "\nUTF-8 texts"));
    }
}

void Check(std::string_view bytes, const xml::XmlSourceEncoding& encoding, const fuzz::Context& context)
{
    CheckFastReader(bytes, encoding, context);
    const std::optional<xml::XmlDocument> document = xml::ParseXml(bytes, encoding);
    // The reader takes what expat takes, unless the tree would take more
    // than expansion may give.
    const ExpatReading expat = ReadWithExpat(bytes, encoding);
    FUZZ_CHECK(document ? expat.accepted : !expat.accepted || expat.handedOver > expat.bound,
               context() + "\nthe reader " + (document ? "accepted" : "rejected") + " it; expat " +
                   (expat.accepted ? "accepted" : "rejected") + " it and handed over " +
                   std::to_string(expat.handedOver) + " bytes");
    if (!document)
        return;
    FUZZ_CHECK(document->Coding() == encoding.coding, context());
    const XmlNode root = document->DocumentElement();
    FUZZ_CHECK(root.IsElement() && !root.NextSibling(), context());

    const xml::XmlTextReader reader(document->Coding(), text::SystemGbkConverter());
    std::size_t stored = 0;  // bytes of names and texts in the tree
    std::vector<XmlNode> stack {root};
    while (!stack.empty()) {
        const XmlNode node = stack.back();
        stack.pop_back();
        const fuzz::Context where = [&] { return context() + "\nnode " + fuzz::Printable(node.Name(), 60); };
        FUZZ_CHECK(text::IsValidUtf8(node.Name()) && text::IsValidUtf8(node.Value()), where);
        stored += node.Name().size() + node.Value().size();
        switch (node.Kind()) {
        case XmlNodeKind::Element: {
            FUZZ_CHECK(!node.Name().empty(), where);
            FUZZ_CHECK(!node.Child(node.Name()) || node.Child(node.Name()).Name() == node.Name(), where);
            // Plain text: nothing, or one text or CDATA node.
            const XmlNode first = node.FirstChild();
            const bool plain = !first || (!first.NextSibling() &&
                                          (first.Kind() == XmlNodeKind::Text || first.Kind() == XmlNodeKind::CData));
            const std::optional<std::string> plainText = reader.PlainText(node);
            FUZZ_CHECK(plainText.has_value() == plain, where);
            if (plain)
                FUZZ_CHECK_TEXT(*plainText, reader.TextContent(node), where);
            break;
        }
        case XmlNodeKind::Text:
            FUZZ_CHECK(!node.Value().empty() && !IsWhitespace(node.Value()), where);
            [[fallthrough]];
        case XmlNodeKind::CData: FUZZ_CHECK(!node.FirstChild(), where); break;
        case XmlNodeKind::Comment:
        case XmlNodeKind::ProcessingInstruction:
            FUZZ_CHECK(!node.FirstChild() && node.Value().empty(), where);
            FUZZ_CHECK(reader.NodeValue(node).empty(), where);
            break;
        }
        if (const XmlNode next = node.NextSibling(); next && node != root)
            stack.push_back(next);
        if (const XmlNode child = node.FirstChild())
            stack.push_back(child);
    }
    // Text for text: the texts of the whole document, converted once, are
    // the document's text content.
    std::string content;
    CollectText(root, content);
    std::string converted;
    if (document->Coding() == xml::XmlTextCoding::Gbk)
        converted = text::GbkCodeTable::System().ToGbk(content, text::SystemGbkConverter());
    else
        converted = text::SystemGbkConverter().Utf8ToGbk(content);
    FUZZ_CHECK_TEXT(reader.TextContent(root), converted, context());
    FUZZ_CHECK(static_cast<double>(stored) <= expat.bound,
               context() + "\n" + std::to_string(stored) + " bytes in the tree");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const fuzz::Context context = [&] { return std::string("bytes " + fuzz::Printable(bytes)); };
    const xml::XmlSourceEncoding detected = xml::DetectXmlEncoding(bytes);
    Check(bytes, detected, [&] { return context() + "\nas detected"; });
    const xml::XmlSourceEncoding declared = xml::DeclaredXmlSourceEncoding(bytes);
    if (declared.coding != detected.coding || declared.parseAs != detected.parseAs)
        Check(bytes, declared, [&] { return context() + "\nas declared"; });
    return 0;
}
