#pragma once
// Byte-level facts about UTF-8 text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace text {

// The length (1-4) of the well-formed UTF-8 sequence at the start of
// `text`; 0 when the text is empty or does not start with one (a stray
// continuation byte, an overlong form, a surrogate, a value above U+10FFFF,
// or a truncated sequence).
std::size_t Utf8SequenceLength(std::string_view text) noexcept;

// The number of ASCII bytes at the start of [at, end), counted eight at a
// time: most of the module's documents are markup and digits.
inline std::size_t AsciiPrefixLength(const unsigned char* at, const unsigned char* end) noexcept
{
    const unsigned char* p = at;
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if ((word & 0x8080808080808080u) != 0)
            break;
        p += 8;
    }
    while (p < end && *p < 0x80)
        ++p;
    return static_cast<std::size_t>(p - at);
}

// The code point of the well-formed UTF-8 sequence at `at`, before `end`,
// and its width; width 0 when none starts there (the rules of
// Utf8SequenceLength).
struct Utf8Sequence {
    char32_t c = 0;
    std::size_t width = 0;
};

inline Utf8Sequence DecodeUtf8Sequence(const unsigned char* at, const unsigned char* end) noexcept
{
    const auto left = end - at;
    if (left <= 0)
        return {};
    const unsigned char lead = at[0];
    if (lead < 0x80)
        return {lead, 1};
    const auto continuation = [](unsigned char byte) { return (byte & 0xC0) == 0x80; };
    if (lead >= 0xC2 && lead <= 0xDF) {
        if (left >= 2 && continuation(at[1]))
            return {(static_cast<char32_t>(lead & 0x1F) << 6) | (at[1] & 0x3F), 2};
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        // The second byte rules out overlong forms and surrogates.
        const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
        if (left >= 3 && at[1] >= low && at[1] <= high && continuation(at[2]))
            return {(static_cast<char32_t>(lead & 0x0F) << 12) | (static_cast<char32_t>(at[1] & 0x3F) << 6) |
                        (at[2] & 0x3F),
                    3};
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        // ... and values above U+10FFFF.
        const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
        if (left >= 4 && at[1] >= low && at[1] <= high && continuation(at[2]) && continuation(at[3]))
            return {(static_cast<char32_t>(lead & 0x07) << 18) | (static_cast<char32_t>(at[1] & 0x3F) << 12) |
                        (static_cast<char32_t>(at[2] & 0x3F) << 6) | (at[3] & 0x3F),
                    4};
    }
    return {};
}

// True when all of `text` is well-formed UTF-8 (the empty text is).
bool IsValidUtf8(std::string_view text) noexcept;

// Appends the UTF-8 form of a Unicode scalar value. False, with nothing
// appended, for a surrogate or a value above U+10FFFF.
bool AppendUtf8(std::string& out, char32_t codePoint);

} // namespace text
