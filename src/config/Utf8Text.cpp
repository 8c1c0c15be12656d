#include "config/Utf8Text.h"

namespace config {
namespace {

constexpr bool IsContinuation(unsigned char byte) noexcept { return (byte & 0xC0) == 0x80; }

} // namespace

std::size_t Utf8SequenceLength(std::string_view text) noexcept
{
    if (text.empty())
        return 0;
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    std::size_t width = 0;
    unsigned char low = 0x80;   // bounds of the second byte, which rule out
    unsigned char high = 0xBF;  // overlong forms, surrogates and > U+10FFFF
    if (lead >= 0xC2 && lead <= 0xDF) {
        width = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        width = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        width = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < width || at(1) < low || at(1) > high)
        return 0;
    for (std::size_t i = 2; i < width; ++i) {
        if (!IsContinuation(at(i)))
            return 0;
    }
    return width;
}

bool IsValidUtf8(std::string_view text) noexcept
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t width = Utf8SequenceLength(text.substr(pos));
        if (width == 0)
            return false;
        pos += width;
    }
    return true;
}

bool AppendUtf8(std::string& out, char32_t codePoint)
{
    const auto put = [&](unsigned value) { out.push_back(static_cast<char>(value)); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
            return false;
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint <= 0x10FFFF) {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        return false;
    }
    return true;
}

} // namespace config
