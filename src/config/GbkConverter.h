#pragma once
// Conversion of Unicode text to the module's 8-bit code page (GBK, 936).
// Text read from XML files reaches the module as UTF-8 when the file was
// written in a Unicode encoding; everything inside the module is GBK.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace config {

class GbkConverter {
public:
    virtual ~GbkConverter() = default;

    // The GBK form of UTF-8 text. A character that GBK cannot hold, and a
    // byte that is not part of a valid UTF-8 sequence, becomes '?'. Never
    // fails except for lack of memory.
    virtual std::string Utf8ToGbk(std::string_view utf8) const = 0;
};

// Code page 936 of this platform, decoded: 65,536 entries, the single byte
// b at index b and the pair of lead byte l and trail byte t at (l << 8) | t,
// each the UTF-16 unit of its character, or 0 where the code page has none.
// Only single bytes from 0x80 and pairs whose lead byte is 0x81-0xFE and
// trail byte 0x40-0x7E or 0x80-0xFE are filled.
std::vector<char16_t> DecodeCodePage936();

// That table from a decoder of one sequence: `decode(bytes, length)` gives
// the sequence's UTF-16 unit, or 0 where the code page has none.
template <typename Decode>
std::vector<char16_t> DecodeEveryGbkSequence(Decode decode)
{
    std::vector<char16_t> table(0x10000, 0);
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        const char single = static_cast<char>(byte);
        table[byte] = decode(&single, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            table[(lead << 8) | trail] = decode(pair, 2);
        }
    }
    return table;
}

// The converter of this platform: code page 936 of Windows in the product,
// glibc's iconv in the native build. Lives as long as the module.
const GbkConverter& SystemGbkConverter();

} // namespace config
