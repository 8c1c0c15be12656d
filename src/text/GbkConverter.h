#pragma once
// Conversion of Unicode text to the module's 8-bit code page (GBK, 936).
// Text read from XML files reaches the module as UTF-8 when the file was
// written in a Unicode encoding; everything inside the module is GBK.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace text {

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

// The pairs of one lead byte: its trail bytes 0x40-0x7E and 0x80-0xFE.
inline constexpr std::size_t kGbkPairsPerLeadByte = 190;

// That table from a decoder of one sequence: `decode(bytes, length)` gives
// the sequence's UTF-16 unit, or 0 where the code page has none. Where
// `decodeRow(pairs, units)` can, the pairs of a lead byte (the bytes of
// kGbkPairsPerLeadByte pairs, trail bytes ascending) go to it at once: it
// writes one unit a pair, or gives false (a pair without a character among
// them) and the row is decoded a sequence at a time.
template <typename Decode, typename DecodeRow>
std::vector<char16_t> DecodeEveryGbkSequence(Decode decode, DecodeRow decodeRow)
{
    std::vector<char16_t> table(0x10000, 0);
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        const char single = static_cast<char>(byte);
        table[byte] = decode(&single, 1);
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        char pairs[2 * kGbkPairsPerLeadByte];
        unsigned trails[kGbkPairsPerLeadByte];
        std::size_t count = 0;
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            pairs[2 * count] = static_cast<char>(lead);
            pairs[2 * count + 1] = static_cast<char>(trail);
            trails[count++] = trail;
        }
        char16_t units[kGbkPairsPerLeadByte];
        const bool whole = decodeRow(static_cast<const char*>(pairs), units);
        for (std::size_t i = 0; i < count; ++i)
            table[(lead << 8) | trails[i]] = whole ? units[i] : decode(pairs + 2 * i, 2);
    }
    return table;
}

template <typename Decode>
std::vector<char16_t> DecodeEveryGbkSequence(Decode decode)
{
    return DecodeEveryGbkSequence(decode, [](const char*, char16_t*) { return false; });
}

// The converter of this platform: code page 936 of Windows in the product,
// glibc's iconv in the native build. Lives as long as the module.
const GbkConverter& SystemGbkConverter();

} // namespace text
