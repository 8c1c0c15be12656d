// Reading one "SysDifference.xml" (config/SysDifferenceDocument.h) against
// its rules read off the document tree, and the same document in UTF-8
// against the document in GBK.
//   input: the bytes of the file
#include "FuzzSupport.h"
#include "XmlVariants.h"

#include "startup/regional/SysDifferenceDocument.h"
#include "xml/XmlDocument.h"
#include "xml/XmlTextReader.h"
#include "text/TextRules.h"
#include "xml/XmlEntities.h"

namespace {

using xml::XmlNode;

std::optional<startup::SysDifferenceDocument> Reference(std::string_view bytes)
{
    const std::optional<xml::XmlDocument> document =
        xml::ParseXml(bytes, xml::DeclaredXmlSourceEncoding(bytes));
    if (!document)
        return std::nullopt;
    const xml::XmlTextReader reader(document->Coding(), text::SystemGbkConverter());
    const XmlNode root = document->DocumentElement();
    // Every text is the element's text content, decoded once more; all but
    // VALUE trimmed.
    const auto raw = [&](XmlNode item, const char* name) {
        return xml::DecodeXmlEntities(reader.TextContent(item.Child(name)));
    };
    const auto trimmed = [&](XmlNode item, const char* name) { return text::TrimText(raw(item, name)); };

    startup::SysDifferenceDocument result;
    result.zcode = text::TrimText(reader.AttributeValue(root, "ZCODE"));
    for (XmlNode node = root.Child("DIFF-PARAMETERS").FirstChild(); node; node = node.NextSibling()) {
        if (node.IsElement() && node.Name() == "DIFF-PARAMETER")
            result.parameters.push_back({trimmed(node, "NAME"), trimmed(node, "TYPE"), raw(node, "VALUE")});
    }
    for (XmlNode node = root.Child("DIFF-FILES").FirstChild(); node; node = node.NextSibling()) {
        if (node.IsElement() && node.Name() == "DIFF-FILE")
            result.files.push_back({trimmed(node, "NAME"), trimmed(node, "TYPE"), trimmed(node, "TARGETDIR")});
    }
    return result;
}

void ExpectSame(const std::optional<startup::SysDifferenceDocument>& actual,
                const std::optional<startup::SysDifferenceDocument>& expected, const fuzz::Context& context)
{
    FUZZ_CHECK(actual.has_value() == expected.has_value(), context());
    if (!expected)
        return;
    FUZZ_CHECK_TEXT(actual->zcode, expected->zcode, context());
    FUZZ_CHECK(actual->parameters.size() == expected->parameters.size(), context());
    for (std::size_t i = 0; i < expected->parameters.size(); ++i) {
        const auto& a = actual->parameters[i];
        const auto& e = expected->parameters[i];
        const fuzz::Context where = [&] { return context() + "\nparameter " + std::to_string(i); };
        FUZZ_CHECK(a.readable, where);
        FUZZ_CHECK_TEXT(a.name, e.name, where);
        FUZZ_CHECK_TEXT(a.type, e.type, where);
        FUZZ_CHECK_TEXT(a.value, e.value, where);
    }
    FUZZ_CHECK(actual->files.size() == expected->files.size(), context());
    for (std::size_t i = 0; i < expected->files.size(); ++i) {
        const auto& a = actual->files[i];
        const auto& e = expected->files[i];
        const fuzz::Context where = [&] { return context() + "\nfile " + std::to_string(i); };
        FUZZ_CHECK(a.readable, where);
        FUZZ_CHECK_TEXT(a.name, e.name, where);
        FUZZ_CHECK_TEXT(a.type, e.type, where);
        FUZZ_CHECK_TEXT(a.targetDir, e.targetDir, where);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const fuzz::Context context = [&] { return std::string("bytes " + fuzz::Printable(bytes)); };
    const auto parsed = startup::ParseSysDifference(bytes, text::SystemGbkConverter());
    const auto expected = Reference(bytes);
    ExpectSame(parsed, expected, context);

    if (xml::DeclaredXmlSourceEncoding(bytes).coding == xml::XmlTextCoding::Gbk) {
        if (const std::optional<std::string> utf8 = fuzz::SameTextAsUtf8(bytes))
            ExpectSame(startup::ParseSysDifference(*utf8, text::SystemGbkConverter()), expected,
                       [&] { return context() + "\nas UTF-8 " + fuzz::Printable(*utf8); });
    }
    return 0;
}
