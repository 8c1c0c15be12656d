#include "HostText.h"

#include <windows.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace hostmodel {
namespace {

std::string Convert(std::string_view text, UINT from, UINT to)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(from, 0, text.data(), length, wide.data(), wideLength);
    const int outLength = WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0)
        return {};
    std::string out(static_cast<std::size_t>(outLength), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, out.data(), outLength, nullptr, nullptr);
    return out;
}

constexpr UINT kGbk = 936;

} // namespace

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

std::string GbkToUtf8(std::string_view gbk) { return Convert(gbk, kGbk, CP_UTF8); }

std::string Utf8ToGbk(std::string_view utf8) { return Convert(utf8, CP_UTF8, kGbk); }

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
