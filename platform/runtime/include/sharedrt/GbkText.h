#pragma once
// Byte-level facts about GBK text (code page 936), shared by the host and
// the modules.
#include "sharedrt/Export.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace rt {

// True when `byte` starts a double-byte GBK character (0x81-0xFE).
constexpr bool IsGbkLeadByte(unsigned char byte) noexcept { return byte >= 0x81 && byte <= 0xFE; }

// True when `byte` can end a double-byte GBK character (0x40-0x7E,
// 0x80-0xFE): never a byte of markup such as '<', '&' or a quote.
constexpr bool IsGbkTrailByte(unsigned char byte) noexcept { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// The width in bytes of the character that begins at `at`: 2 for a lead
// byte with a byte behind it, else 1.
constexpr std::size_t GbkCharWidth(std::string_view text, std::size_t at) noexcept
{
    return IsGbkLeadByte(static_cast<unsigned char>(text[at])) && at + 1 < text.size() ? 2 : 1;
}

// Case folding as host and modules do it: 'a'-'z' become 'A'-'Z' where the
// byte begins a character. A trail byte is part of its character whatever
// its value, so 癆 (B0 41) and 癮 (B0 61) stay two names.
inline std::string GbkUpperAscii(std::string_view text)
{
    std::string result(text);
    for (std::size_t i = 0; i < result.size(); i += GbkCharWidth(result, i)) {
        if (result[i] >= 'a' && result[i] <= 'z')
            result[i] = static_cast<char>(result[i] - ('a' - 'A'));
    }
    return result;
}

// GbkUpperAscii(a) against GbkUpperAscii(b), bytes unsigned, like strcmp's
// sign, without building either text.
inline int GbkCompareIgnoreAsciiCase(std::string_view a, std::string_view b) noexcept
{
    const auto fold = [](std::string_view text, std::size_t i, bool startsChar) {
        const auto byte = static_cast<unsigned char>(text[i]);
        return startsChar && byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
    };
    std::size_t nextA = 0; // where the next character of each text begins
    std::size_t nextB = 0;
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        const bool startsA = i == nextA;
        const bool startsB = i == nextB;
        if (startsA)
            nextA += GbkCharWidth(a, i);
        if (startsB)
            nextB += GbkCharWidth(b, i);
        const unsigned char x = fold(a, i, startsA);
        const unsigned char y = fold(b, i, startsB);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

// The length of the longest prefix of `text` that is at most `maxBytes`
// long and does not split a double-byte character.
SHAREDRT_API std::size_t GbkPrefixLength(std::string_view text, std::size_t maxBytes) noexcept;

} // namespace rt
