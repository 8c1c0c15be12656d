#pragma once
// Conversion of Unicode text to the module's 8-bit code page (GBK, 936).
// Text read from XML files reaches the module as UTF-8 when the file was
// written in a Unicode encoding; everything inside the module is GBK.
#include <string>
#include <string_view>

namespace config {

class GbkConverter {
public:
    virtual ~GbkConverter() = default;

    // The GBK form of UTF-8 text. A character that GBK cannot hold, and a
    // byte that is not part of a valid UTF-8 sequence, becomes '?'. Never
    // fails except for lack of memory.
    virtual std::string Utf8ToGbk(std::string_view utf8) const = 0;
};

// The converter of this platform: code page 936 of Windows in the product,
// glibc's iconv in the native build. Lives as long as the module.
const GbkConverter& SystemGbkConverter();

} // namespace config
