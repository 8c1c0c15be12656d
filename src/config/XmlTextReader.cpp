#include "config/XmlTextReader.h"

#include "config/Utf8Text.h"

namespace config {
namespace {

// The character that a predefined entity name stands for; 0 for any other.
char PredefinedEntity(std::string_view name) noexcept
{
    if (name == "lt")
        return '<';
    if (name == "gt")
        return '>';
    if (name == "amp")
        return '&';
    if (name == "quot")
        return '"';
    if (name == "apos")
        return '\'';
    return 0;
}

// The code point of a numeric reference body ("#65" or "#x41"); 0 when the
// body is not one.
char32_t NumericReference(std::string_view body) noexcept
{
    if (body.size() < 2 || body[0] != '#')
        return 0;
    std::size_t pos = 1;
    unsigned base = 10;
    if (body[1] == 'x') {
        base = 16;
        pos = 2;
    }
    if (pos >= body.size())
        return 0;
    char32_t value = 0;
    for (; pos < body.size(); ++pos) {
        const char c = body[pos];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return 0;
        value = value * base + digit;
        if (value > 0x10FFFF)
            return 0;
    }
    return value;
}

// References are short; a '&' without a ';' this close is a plain '&'.
constexpr std::size_t kLongestReference = 12;

} // namespace

void XmlTextReader::AppendResolved(std::string& out, std::string_view raw) const
{
    std::size_t pos = 0;
    while (pos < raw.size()) {
        const std::size_t amp = raw.find('&', pos);
        if (amp == std::string_view::npos) {
            out.append(raw.substr(pos));
            return;
        }
        out.append(raw.substr(pos, amp - pos));
        const std::size_t semicolon = raw.substr(amp, kLongestReference).find(';');
        if (semicolon == std::string_view::npos) {
            out.push_back('&');
            pos = amp + 1;
            continue;
        }
        const std::string_view body = raw.substr(amp + 1, semicolon - 1);
        bool resolved = false;
        if (const char c = PredefinedEntity(body)) {
            out.push_back(c);
            resolved = true;
        } else if (const char32_t codePoint = NumericReference(body)) {
            std::string utf8;
            if (AppendUtf8(utf8, codePoint)) {
                out.append(coding_ == XmlTextCoding::Unicode ? utf8 : converter_.Utf8ToGbk(utf8));
                resolved = true;
            }
        }
        if (resolved) {
            pos = amp + semicolon + 1;
        } else {
            out.push_back('&');
            pos = amp + 1;
        }
    }
}

std::string XmlTextReader::ToGbk(std::string text) const
{
    if (coding_ == XmlTextCoding::Gbk)
        return text;
    return converter_.Utf8ToGbk(text);
}

void XmlTextReader::AppendNode(std::string& out, pugi::xml_node node) const
{
    if (node.type() == pugi::node_pcdata)
        AppendResolved(out, node.value());
    else if (node.type() == pugi::node_cdata)
        out.append(node.value());
}

std::string XmlTextReader::NodeValue(pugi::xml_node node) const
{
    std::string out;
    AppendNode(out, node);
    return ToGbk(std::move(out));
}

std::string XmlTextReader::AttributeValue(pugi::xml_attribute attribute) const
{
    std::string out;
    AppendResolved(out, attribute.value());
    return ToGbk(std::move(out));
}

std::string XmlTextReader::TextContent(pugi::xml_node node) const
{
    std::string out;
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
        AppendNode(out, node);
    } else {
        for (pugi::xml_node child = node.first_child(); child;) {
            AppendNode(out, child);
            // Depth-first walk below `node` without recursion.
            if (child.first_child()) {
                child = child.first_child();
                continue;
            }
            while (child && !child.next_sibling() && child != node)
                child = child.parent();
            if (!child || child == node)
                break;
            child = child.next_sibling();
        }
    }
    return ToGbk(std::move(out));
}

std::optional<std::string> XmlTextReader::PlainText(pugi::xml_node element) const
{
    if (element.type() != pugi::node_element)
        return std::nullopt;
    const pugi::xml_node first = element.first_child();
    if (!first)
        return std::string();
    if (first.next_sibling() || (first.type() != pugi::node_pcdata && first.type() != pugi::node_cdata))
        return std::nullopt;
    return NodeValue(first);
}

} // namespace config
