#pragma once
// Conversion of Unicode text to the module's 8-bit code page (GBK, 936).
// Text read from XML files reaches the module as UTF-8 when the file was
// written in a Unicode encoding; everything inside the module is GBK.
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

// The converter of this platform: code page 936 of Windows in the product,
// glibc's iconv in the native build. Lives as long as the module.
const GbkConverter& SystemGbkConverter();

} // namespace config
