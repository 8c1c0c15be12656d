#include "config/ErrorCatalogueParser.h"

#include "config/XmlSource.h"
#include "config/XmlTextReader.h"
#include "util/TextRules.h"

#include <exception>
#include <limits>

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
            ParseCatalogueCode(*text, entry.code);
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

bool ParseCatalogueCode(std::string_view text, std::int32_t& value) noexcept
{
    while (!text.empty() && util::IsBlankByte(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && util::IsBlankByte(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    std::int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

ParsedErrorCatalogue ParseErrorCatalogue(std::string_view bytes, const GbkConverter& converter)
{
    ParsedErrorCatalogue result;
    const XmlSourceEncoding encoding = DetectXmlEncoding(bytes);
    pugi::xml_document document;
    if (!LoadXml(document, bytes, encoding))
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
