// Reading "errmsg.xml" into catalogue entries (config/ErrorCatalogueParser.h)
// against the table of its rules read off the document tree, and the same
// catalogue in UTF-8 against the catalogue in GBK.
//   input: the bytes of the file
#include "FuzzSupport.h"
#include "XmlVariants.h"

#include "config/ErrorCatalogueParser.h"
#include "config/NumberText.h"
#include "config/XmlDocument.h"
#include "config/XmlTextReader.h"

namespace {

using config::XmlNode;

// A field by the table: missing or empty gives the first fallback; no
// element, or a child that is no plain text, the second.
std::string Field(const config::XmlTextReader& reader, XmlNode entry, const char* name, const char* missing,
                  const char* unreadable)
{
    if (!entry.IsElement())
        return unreadable;
    const XmlNode child = entry.Child(name);
    if (!child)
        return missing;
    const std::optional<std::string> text = reader.PlainText(child);
    return text ? *text : unreadable;
}

std::string Describe(const config::ErrorCatalogueEntry& entry)
{
    return std::to_string(entry.code) + " " + fuzz::Printable(entry.msg) + " " + fuzz::Printable(entry.moduleType) +
           " " + fuzz::Printable(entry.insideCode);
}

std::vector<config::ErrorCatalogueEntry> Reference(std::string_view bytes, bool& loaded)
{
    std::vector<config::ErrorCatalogueEntry> entries;
    const std::optional<config::XmlDocument> document = config::ParseXml(bytes, config::DetectXmlEncoding(bytes));
    loaded = document.has_value();
    if (!document)
        return entries;
    const config::XmlTextReader reader(document->Coding(), config::SystemGbkConverter());
    for (XmlNode node = document->DocumentElement().FirstChild(); node; node = node.NextSibling()) {
        config::ErrorCatalogueEntry entry;
        std::int32_t code = 0;
        if (config::ParseWholeNumber(Field(reader, node, "CODE", "", ""), code))
            entry.code = code;
        entry.msg = Field(reader, node, "MSG", "", "");
        entry.moduleType = Field(reader, node, "moduleType", "", "0");
        entry.insideCode = Field(reader, node, "insideCode", "", "0");
        entries.push_back(entry);
    }
    return entries;
}

void ExpectSame(const config::ParsedErrorCatalogue& actual, bool loaded,
                const std::vector<config::ErrorCatalogueEntry>& expected, const fuzz::Context& context)
{
    FUZZ_CHECK(actual.loaded == loaded, context());
    FUZZ_CHECK(actual.entries.size() == expected.size(), context() + "\n" + std::to_string(actual.entries.size()) +
                                                             " entries, expected " + std::to_string(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& a = actual.entries[i];
        const auto& e = expected[i];
        FUZZ_CHECK(a.code == e.code && a.msg == e.msg && a.moduleType == e.moduleType && a.insideCode == e.insideCode,
                   context() + "\nentry " + std::to_string(i) + ": " + Describe(a) + "\nexpected " + Describe(e));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const fuzz::Context context = [&] { return std::string("bytes " + fuzz::Printable(bytes)); };
    const config::ParsedErrorCatalogue parsed = config::ParseErrorCatalogue(bytes, config::SystemGbkConverter());
    bool loaded = false;
    const std::vector<config::ErrorCatalogueEntry> expected = Reference(bytes, loaded);
    ExpectSame(parsed, loaded, expected, context);

    if (config::DetectXmlEncoding(bytes).coding == config::XmlTextCoding::Gbk) {
        if (const std::optional<std::string> utf8 = fuzz::SameTextAsUtf8(bytes))
            ExpectSame(config::ParseErrorCatalogue(*utf8, config::SystemGbkConverter()), loaded, expected,
                       [&] { return context() + "\nas UTF-8 " + fuzz::Printable(*utf8); });
    }
    return 0;
}
