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

// An internal subset of "<!ENTITY a0 'lol'>" and `levels` entities each
// ten times the one below: "&a9;" of nine levels expands to 3 GB.
inline std::string NestedEntities(int levels)
{
    std::string subset = "<!ENTITY a0 \"lol\">";
    for (int level = 1; level <= levels; ++level) {
        subset += "<!ENTITY a" + std::to_string(level) + " \"";
        for (int i = 0; i < 10; ++i)
            subset += "&a" + std::to_string(level - 1) + ";";
        subset += "\">";
    }
    return subset;
}

} // namespace testing_text
