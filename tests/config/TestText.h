#pragma once
// Building test input in encodings other than the GBK of plain literals.
#include <string>
#include <string_view>

namespace testing_text {

// The bytes of a u8"" literal.
inline std::string Utf8(std::u8string_view text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

// UTF-16 little-endian bytes of a u"" literal, with a byte-order mark.
inline std::string Utf16LeWithBom(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

// UTF-16 big-endian bytes of a u"" literal, with a byte-order mark.
inline std::string Utf16BeWithBom(std::u16string_view text)
{
    std::string bytes = "\xFE\xFF";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit >> 8));
        bytes.push_back(static_cast<char>(unit & 0xFF));
    }
    return bytes;
}

} // namespace testing_text
