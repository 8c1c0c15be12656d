#include "xml/XmlTextReader.h"

#include "text/GbkCodeTable.h"

#include <algorithm>
#include <vector>

namespace xml {

std::string XmlTextReader::ToGbk(std::string_view text) const
{
    // ASCII is the same in both; most texts of a catalogue are nothing else.
    if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(text);
    return text::GbkCodeTable::System().ToGbk(text, converter_,
                                        coding_ == XmlTextCoding::Gbk ? text::GbkCodeTable::Source::GbkText
                                                                      : text::GbkCodeTable::Source::UnicodeText);
}

std::string XmlTextReader::NodeValue(XmlNode node) const { return ToGbk(node.Value()); }

std::string XmlTextReader::AttributeValue(XmlNode element, std::string_view name) const
{
    return ToGbk(element.Attribute(name).value_or(std::string_view()));
}

void XmlTextReader::AppendContent(std::string& out, XmlNode node) const
{
    // Depth-first without recursion: documents may nest deeply.
    std::vector<XmlNode> stack{node};
    while (!stack.empty()) {
        const XmlNode current = stack.back();
        stack.pop_back();
        out.append(current.Value());
        if (const XmlNode next = current.NextSibling(); next && current != node)
            stack.push_back(next);
        if (const XmlNode child = current.FirstChild())
            stack.push_back(child);
    }
}

std::string XmlTextReader::TextContent(XmlNode node) const
{
    std::string out;
    if (node)
        AppendContent(out, node);
    return ToGbk(out);
}

std::optional<std::string> XmlTextReader::PlainText(XmlNode element) const
{
    if (!element.IsElement())
        return std::nullopt;
    const XmlNode first = element.FirstChild();
    if (!first)
        return std::string();
    if (first.NextSibling() || (first.Kind() != XmlNodeKind::Text && first.Kind() != XmlNodeKind::CData))
        return std::nullopt;
    return NodeValue(first);
}

} // namespace xml
