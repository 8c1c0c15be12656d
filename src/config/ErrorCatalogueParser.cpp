#include "config/ErrorCatalogueParser.h"

#include "config/NumberText.h"
#include "config/XmlDocument.h"
#include "config/XmlTextReader.h"

namespace config {
namespace {

constexpr const char* kFallbackText = "0";

// The plain text of the entry's child `name`: empty when the child is
// missing; nullopt when the entry is no element or the child is not plain
// text.
std::optional<std::string> FieldText(const XmlTextReader& reader, XmlNode entry, std::string_view name)
{
    if (!entry.IsElement())
        return std::nullopt;
    const XmlNode child = entry.Child(name);
    if (!child)
        return std::string();
    return reader.PlainText(child);
}

// Each field is read under its own guard: whatever goes wrong in one leaves
// the fallback in it and the other fields alone.
template <typename Read>
void Guarded(Read read) noexcept
{
    try {
        read();
    } catch (...) {
    }
}

ErrorCatalogueEntry ReadEntry(const XmlTextReader& reader, XmlNode node)
{
    ErrorCatalogueEntry entry;
    entry.moduleType = kFallbackText;
    entry.insideCode = kFallbackText;
    Guarded([&] {
        if (auto text = FieldText(reader, node, "CODE"); text && !text->empty())
            ParseWholeNumber(*text, entry.code);
    });
    Guarded([&] {
        if (auto text = FieldText(reader, node, "MSG"))
            entry.msg = std::move(*text);
    });
    Guarded([&] {
        if (auto text = FieldText(reader, node, "moduleType"))
            entry.moduleType = std::move(*text);
    });
    Guarded([&] {
        if (auto text = FieldText(reader, node, "insideCode"))
            entry.insideCode = std::move(*text);
    });
    return entry;
}

} // namespace

ParsedErrorCatalogue ParseErrorCatalogue(std::string_view bytes, const GbkConverter& converter)
{
    ParsedErrorCatalogue result;
    const XmlSourceEncoding encoding = DetectXmlEncoding(bytes);
    const std::optional<XmlDocument> document = ParseXml(bytes, encoding);
    if (!document)
        return result;
    const XmlTextReader reader(document->Coding(), converter);
    result.loaded = true;
    // Comments and processing instructions under the root are entries too.
    for (XmlNode node = document->DocumentElement().FirstChild(); node; node = node.NextSibling())
        result.entries.push_back(ReadEntry(reader, node));
    return result;
}

} // namespace config
