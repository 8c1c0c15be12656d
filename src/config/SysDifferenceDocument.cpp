#include "config/SysDifferenceDocument.h"

#include "config/XmlSource.h"
#include "config/XmlTextReader.h"
#include "util/TextRules.h"
#include "util/XmlUtil.h"

namespace config {
namespace {

class ChildTexts {
public:
    explicit ChildTexts(const XmlTextReader& reader) : reader_(reader) {}

    std::string Raw(pugi::xml_node parent, const char* name) const
    {
        return util::DecodeXmlEntities(reader_.TextContent(parent.child(name)));
    }
    std::string Trimmed(pugi::xml_node parent, const char* name) const { return util::TrimText(Raw(parent, name)); }

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

std::optional<SysDifferenceDocument> ParseSysDifference(std::string_view bytes, const GbkConverter& converter)
{
    // GBK text as it stands unless the file declares a Unicode encoding,
    // whose texts are converted to GBK like the catalogue's.
    const XmlSourceEncoding encoding = DeclaredXmlSourceEncoding(bytes);
    pugi::xml_document document;
    if (!LoadXml(document, bytes, encoding))
        return std::nullopt;
    const pugi::xml_node root = document.document_element();
    if (!root)
        return std::nullopt;

    const XmlTextReader reader(encoding.coding, converter);
    const ChildTexts texts(reader);
    SysDifferenceDocument result;
    try {
        result.zcode = util::TrimText(reader.AttributeValue(root.attribute("ZCODE")));
    } catch (...) {
        result.zcode.clear();
    }

    for (pugi::xml_node node : root.child("DIFF-PARAMETERS").children("DIFF-PARAMETER")) {
        result.parameters.push_back(ReadItem<DifferenceParameter>([&] {
            return DifferenceParameter{texts.Trimmed(node, "NAME"), texts.Trimmed(node, "TYPE"), texts.Raw(node, "VALUE")};
        }));
    }
    for (pugi::xml_node node : root.child("DIFF-FILES").children("DIFF-FILE")) {
        result.files.push_back(ReadItem<DifferenceFileItem>([&] {
            return DifferenceFileItem{texts.Trimmed(node, "NAME"), texts.Trimmed(node, "TYPE"),
                                      texts.Trimmed(node, "TARGETDIR")};
        }));
    }
    return result;
}

} // namespace config
