#include "startup/regional/SysDifferenceDocument.h"

#include "xml/XmlDocument.h"
#include "xml/XmlTextReader.h"
#include "text/TextRules.h"
#include "xml/XmlEntities.h"

namespace startup {
namespace {

class ChildTexts {
public:
    explicit ChildTexts(const xml::XmlTextReader& reader) : reader_(reader) {}

    std::string Raw(xml::XmlNode parent, std::string_view name) const
    {
        return xml::DecodeXmlEntities(reader_.TextContent(parent.Child(name)));
    }
    std::string Trimmed(xml::XmlNode parent, std::string_view name) const { return text::TrimText(Raw(parent, name)); }

private:
    const xml::XmlTextReader& reader_;
};

// The record that `read` gives, or one marked unreadable when reading fails.
template <typename Item, typename Read>
Item ReadItem(Read read)
{
    try {
        return read();
    } catch (...) {
        Item unreadable;
        unreadable.readable = false;
        return unreadable;
    }
}

} // namespace

std::optional<SysDifferenceDocument> ParseSysDifference(std::string_view bytes, const text::GbkConverter& converter,
                                                        xml::XmlParseFailure* failure)
{
    // GBK text as it stands unless the file declares a Unicode encoding,
    // whose texts are converted to GBK like the catalogue's.
    const xml::XmlSourceEncoding encoding = xml::DeclaredXmlSourceEncoding(bytes);
    const std::optional<xml::XmlDocument> document = xml::ParseXml(bytes, encoding, failure);
    if (!document)
        return std::nullopt;
    const xml::XmlNode root = document->DocumentElement();

    const xml::XmlTextReader reader(document->Coding(), converter);
    const ChildTexts texts(reader);
    SysDifferenceDocument result;
    result.rootLine = root.Line();
    try {
        result.zcode = text::TrimText(reader.AttributeValue(root, "ZCODE"));
    } catch (...) {
        result.zcode.clear();
    }

    const auto children = [](xml::XmlNode list, std::string_view name) {
        std::vector<xml::XmlNode> named;
        for (xml::XmlNode node = list.FirstChild(); node; node = node.NextSibling()) {
            if (node.IsElement() && node.Name() == name)
                named.push_back(node);
        }
        return named;
    };
    for (xml::XmlNode node : children(root.Child("DIFF-PARAMETERS"), "DIFF-PARAMETER")) {
        result.parameters.push_back(ReadItem<DifferenceParameter>([&] {
            return DifferenceParameter{texts.Trimmed(node, "NAME"), texts.Trimmed(node, "TYPE"), texts.Raw(node, "VALUE")};
        }));
        result.parameters.back().line = node.Line();
    }
    for (xml::XmlNode node : children(root.Child("DIFF-FILES"), "DIFF-FILE")) {
        result.files.push_back(ReadItem<DifferenceFileItem>([&] {
            return DifferenceFileItem{texts.Trimmed(node, "NAME"), texts.Trimmed(node, "TYPE"),
                                      texts.Trimmed(node, "TARGETDIR")};
        }));
        result.files.back().line = node.Line();
    }
    return result;
}

} // namespace startup
