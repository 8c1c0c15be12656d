#include "xml/XmlSource.h"

#include "text/Utf8Text.h"
#include "text/TextRules.h"

#include <optional>

namespace xml {
namespace {

bool IsAnyOf(std::string_view name, std::initializer_list<std::string_view> names) noexcept
{
    for (std::string_view candidate : names) {
        if (text::EqualsIgnoreCase(name, candidate))
            return true;
    }
    return false;
}

bool StartsWithBytes(std::string_view bytes, std::initializer_list<unsigned char> prefix) noexcept
{
    if (bytes.size() < prefix.size())
        return false;
    std::size_t i = 0;
    for (unsigned char b : prefix) {
        if (static_cast<unsigned char>(bytes[i++]) != b)
            return false;
    }
    return true;
}

constexpr bool IsXmlSpace(char c) noexcept { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

std::string_view DeclaredXmlEncoding(std::string_view bytes)
{
    constexpr std::string_view kOpen = "<?xml";
    if (bytes.substr(0, kOpen.size()) != kOpen || bytes.size() <= kOpen.size() || !IsXmlSpace(bytes[kOpen.size()]))
        return {};
    const std::size_t close = bytes.find("?>");
    if (close == std::string_view::npos)
        return {};
    const std::string_view declaration = bytes.substr(0, close);
    std::size_t pos = declaration.find("encoding");
    if (pos == std::string_view::npos)
        return {};
    pos += 8;
    while (pos < declaration.size() && IsXmlSpace(declaration[pos]))
        ++pos;
    if (pos >= declaration.size() || declaration[pos] != '=')
        return {};
    ++pos;
    while (pos < declaration.size() && IsXmlSpace(declaration[pos]))
        ++pos;
    if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\''))
        return {};
    const char quote = declaration[pos++];
    const std::size_t end = declaration.find(quote, pos);
    if (end == std::string_view::npos)
        return {};
    return declaration.substr(pos, end - pos);
}

bool StartsAsUtf32(std::string_view bytes) noexcept
{
    return StartsWithBytes(bytes, {0x00, 0x00, 0xFE, 0xFF}) || StartsWithBytes(bytes, {0xFF, 0xFE, 0x00, 0x00}) ||
           StartsWithBytes(bytes, {0x00, 0x00, 0x00, 0x3C}) || StartsWithBytes(bytes, {0x3C, 0x00, 0x00, 0x00});
}

namespace {

// What a byte-order mark or an XML declaration says; nullopt when they say
// nothing the module knows.
std::optional<XmlSourceEncoding> Declared(std::string_view bytes)
{
    // Byte-order marks and the zero-byte patterns of UTF-16 and UTF-32
    // without a mark; UTF-32's mark begins like UTF-16's.
    if (StartsWithBytes(bytes, {0xEF, 0xBB, 0xBF}))
        return XmlSourceEncoding{XmlTextCoding::Unicode, XmlParseAs::Utf8};
    if (StartsAsUtf32(bytes))
        return XmlSourceEncoding{XmlTextCoding::Unicode, XmlParseAs::Utf32};
    if (StartsWithBytes(bytes, {0xFF, 0xFE}) || StartsWithBytes(bytes, {0xFE, 0xFF}) ||
        StartsWithBytes(bytes, {0x00, 0x3C, 0x00, 0x3F}) || StartsWithBytes(bytes, {0x3C, 0x00, 0x3F, 0x00}))
        return XmlSourceEncoding{XmlTextCoding::Unicode, XmlParseAs::Utf16};

    const std::string_view declared = DeclaredXmlEncoding(bytes);
    if (IsAnyOf(declared, {"GB2312", "GBK", "GB18030", "CP936", "windows-936", "MS936", "x-gbk"}))
        return XmlSourceEncoding{XmlTextCoding::Gbk, XmlParseAs::Utf8};
    if (IsAnyOf(declared, {"UTF-8", "UTF8"})) {
        // A declaration that the bytes contradict is a label put on a GBK
        // file by mistake: its bytes are read as they stand.
        if (!text::IsValidUtf8(bytes))
            return XmlSourceEncoding{XmlTextCoding::Gbk, XmlParseAs::Utf8};
        return XmlSourceEncoding{XmlTextCoding::Unicode, XmlParseAs::Utf8};
    }
    if (IsAnyOf(declared, {"ISO-8859-1", "latin1", "latin-1", "ISO_8859-1"}))
        return XmlSourceEncoding{XmlTextCoding::Unicode, XmlParseAs::Latin1};
    return std::nullopt;
}

constexpr XmlSourceEncoding kGbkAsItStands{XmlTextCoding::Gbk, XmlParseAs::Utf8};

} // namespace

XmlSourceEncoding DetectXmlEncoding(std::string_view bytes)
{
    if (const auto declared = Declared(bytes))
        return *declared;
    if (text::IsValidUtf8(bytes))
        return {XmlTextCoding::Unicode, XmlParseAs::Utf8};
    return kGbkAsItStands;
}

XmlSourceEncoding DeclaredXmlSourceEncoding(std::string_view bytes)
{
    return Declared(bytes).value_or(kGbkAsItStands);
}

} // namespace xml
