#include "config/SysDifferenceDocument.h"

#include "config/XmlDocument.h"
#include "config/XmlTextReader.h"
#include "util/TextRules.h"
#include "util/XmlUtil.h"

namespace config {
namespace {

class ChildTexts {
public:
    explicit ChildTexts(const XmlTextReader& reader) : reader_(reader) {}

    std::string Raw(XmlNode parent, std::string_view name) const
    {
        return util::DecodeXmlEntities(reader_.TextContent(parent.Child(name)));
    }
    std::string Trimmed(XmlNode parent, std::string_view name) const { return util::TrimText(Raw(parent, name)); }

private:
    const XmlTextReader& reader_;
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

std::optional<SysDifferenceDocument> ParseSysDifference(std::string_view bytes, const GbkConverter& converter,
                                                        XmlParseFailure* failure)
{
    // GBK text as it stands unless the file declares a Unicode encoding,
    // whose texts are converted to GBK like the catalogue's.
    const XmlSourceEncoding encoding = DeclaredXmlSourceEncoding(bytes);
    const std::optional<XmlDocument> document = ParseXml(bytes, encoding, failure);
    if (!document)
        return std::nullopt;
    const XmlNode root = document->DocumentElement();

    const XmlTextReader reader(document->Coding(), converter);
    const ChildTexts texts(reader);
    SysDifferenceDocument result;
    result.rootLine = root.Line();
    try {
        result.zcode = util::TrimText(reader.AttributeValue(root, "ZCODE"));
    } catch (...) {
        result.zcode.clear();
    }

    const auto children = [](XmlNode list, std::string_view name) {
        std::vector<XmlNode> named;
        for (XmlNode node = list.FirstChild(); node; node = node.NextSibling()) {
            if (node.IsElement() && node.Name() == name)
                named.push_back(node);
        }
        return named;
    };
    for (XmlNode node : children(root.Child("DIFF-PARAMETERS"), "DIFF-PARAMETER")) {
        result.parameters.push_back(ReadItem<DifferenceParameter>([&] {
            return DifferenceParameter{texts.Trimmed(node, "NAME"), texts.Trimmed(node, "TYPE"), texts.Raw(node, "VALUE")};
        }));
        result.parameters.back().line = node.Line();
    }
    for (XmlNode node : children(root.Child("DIFF-FILES"), "DIFF-FILE")) {
        result.files.push_back(ReadItem<DifferenceFileItem>([&] {
            return DifferenceFileItem{texts.Trimmed(node, "NAME"), texts.Trimmed(node, "TYPE"),
                                      texts.Trimmed(node, "TARGETDIR")};
        }));
        result.files.back().line = node.Line();
    }
    return result;
}

} // namespace config
