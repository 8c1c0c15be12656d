// Reading "errmsg.xml" into catalogue entries (config/ErrorCatalogueParser.h)
// against the table of its rules read off the document tree, and the same
// catalogue in UTF-8 against the catalogue in GBK.
//   input: the bytes of the file
#include "FuzzSupport.h"
#include "XmlVariants.h"

#include "startup/catalogue/ErrorCatalogueParser.h"
#include "text/NumberText.h"
#include "xml/XmlDocument.h"
#include "xml/XmlTextReader.h"

namespace {

using xml::XmlNode;

// A field by the table: missing or empty gives the first fallback; no
// element, or a child that is no plain text, the second.
std::string Field(const xml::XmlTextReader& reader, XmlNode entry, const char* name, const char* missing,
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

std::string Describe(const startup::ErrorCatalogueEntry& entry)
{
    return std::to_string(entry.code) + " " + fuzz::Printable(entry.msg) + " " + fuzz::Printable(entry.moduleType) +
           " " + fuzz::Printable(entry.insideCode);
}

std::vector<startup::ErrorCatalogueEntry> Reference(std::string_view bytes, bool& loaded)
{
    std::vector<startup::ErrorCatalogueEntry> entries;
    const std::optional<xml::XmlDocument> document = xml::ParseXml(bytes, xml::DetectXmlEncoding(bytes));
    loaded = document.has_value();
    if (!document)
        return entries;
    const xml::XmlTextReader reader(document->Coding(), text::SystemGbkConverter());
    for (XmlNode node = document->DocumentElement().FirstChild(); node; node = node.NextSibling()) {
        startup::ErrorCatalogueEntry entry;
        std::int32_t code = 0;
        if (text::ParseWholeNumber(Field(reader, node, "CODE", "", ""), code))
            entry.code = code;
        entry.msg = Field(reader, node, "MSG", "", "");
        entry.moduleType = Field(reader, node, "moduleType", "", "0");
        entry.insideCode = Field(reader, node, "insideCode", "", "0");
        entries.push_back(entry);
    }
    return entries;
}

void ExpectSame(const startup::ParsedErrorCatalogue& actual, bool loaded,
                const std::vector<startup::ErrorCatalogueEntry>& expected, const fuzz::Context& context)
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
    const startup::ParsedErrorCatalogue parsed = startup::ParseErrorCatalogue(bytes, text::SystemGbkConverter());
    bool loaded = false;
    const std::vector<startup::ErrorCatalogueEntry> expected = Reference(bytes, loaded);
    ExpectSame(parsed, loaded, expected, context);

    if (xml::DetectXmlEncoding(bytes).coding == xml::XmlTextCoding::Gbk) {
        if (const std::optional<std::string> utf8 = fuzz::SameTextAsUtf8(bytes))
            ExpectSame(startup::ParseErrorCatalogue(*utf8, text::SystemGbkConverter()), loaded, expected,
                       [&] { return context() + "\nas UTF-8 " + fuzz::Printable(*utf8); });
    }
    return 0;
}
