#include "HostText.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace hostmodel {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept
{
    return rt::GbkCompareIgnoreAsciiCase(a, b) == 0;
}

std::string AsciiUpper(std::string_view text) { return rt::GbkUpperAscii(text); }

namespace {

constexpr char UpperAsciiByte(char c) noexcept { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; }

} // namespace

bool Utf8EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (UpperAsciiByte(a[i]) != UpperAsciiByte(b[i]))
            return false;
    }
    return true;
}

std::string Utf8AsciiUpper(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = UpperAsciiByte(c);
    return result;
}

std::size_t FindInGbk(std::string_view text, std::string_view part) noexcept
{
    if (part.empty())
        return std::string_view::npos;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text.compare(pos, part.size(), part) == 0)
            return pos;
        pos += rt::GbkCharWidth(text, pos);
    }
    return std::string_view::npos;
}

std::string TrimBlanks(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

std::string WithTrailingBackslash(std::string_view folder)
{
    std::string out(folder);
    if (!out.empty() && out.back() != '\\' && out.back() != '/')
        out += '\\';
    return out;
}

void WriteShortText(std::uint8_t (&field)[256], std::string_view text) noexcept
{
    const std::size_t length = rt::GbkPrefixLength(text, 255);
    field[0] = static_cast<std::uint8_t>(length);
    std::memcpy(field + 1, text.data(), length);
}

std::string ReadShortText(const std::uint8_t (&field)[256])
{
    return std::string(reinterpret_cast<const char*>(field + 1), field[0]);
}

std::string QuotedForLog(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (rt::IsGbkLeadByte(static_cast<unsigned char>(c)) && i + 1 < text.size()) {
            // A double-byte character: its second byte may look like '\'.
            out += c;
            out += text[++i];
            continue;
        }
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

std::string QuotedForLog(const char* text) { return text == nullptr ? "null" : QuotedForLog(std::string_view(text)); }

std::string PointerForLog(const void* p)
{
    if (p == nullptr)
        return "null";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%08" PRIxPTR, reinterpret_cast<std::uintptr_t>(p));
    return buffer;
}

} // namespace hostmodel
