#include "config/ErrorCatalogueParser.h"

#include "config/NumberText.h"
#include "config/XmlSource.h"
#include "config/XmlTextReader.h"


namespace config {
namespace {

constexpr const char* kFallbackText = "0";

// The plain text of the entry's child `name`: empty when the child is
// missing; nullopt when the entry is no element or the child is not plain
// text.
std::optional<std::string> FieldText(const XmlTextReader& reader, pugi::xml_node entry, const char* name)
{
    if (entry.type() != pugi::node_element)
        return std::nullopt;
    const pugi::xml_node child = entry.child(name);
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

ErrorCatalogueEntry ReadEntry(const XmlTextReader& reader, pugi::xml_node node)
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
    pugi::xml_document document;
    // A processing instruction under the root is an entry like a comment.
    if (!LoadXml(document, bytes, encoding, kXmlParseOptions | pugi::parse_pi))
        return result;
    const pugi::xml_node root = document.document_element();
    if (!root)
        return result;
    const XmlTextReader reader(encoding.coding, converter);
    result.loaded = true;
    for (pugi::xml_node node = root.first_child(); node; node = node.next_sibling())
        result.entries.push_back(ReadEntry(reader, node));
    return result;
}

} // namespace config
