#include "text/Utf8Text.h"

namespace text {

std::size_t Utf8SequenceLength(std::string_view text) noexcept
{
    const auto* const at = reinterpret_cast<const unsigned char*>(text.data());
    return DecodeUtf8Sequence(at, at + text.size()).width;
}

bool IsValidUtf8(std::string_view text) noexcept
{
    const auto* const begin = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t pos = 0;
    while (pos < text.size()) {
        // A run of ASCII is counted a word at a time; a run of wider
        // characters goes from one to the next.
        if (begin[pos] < 0x80) {
            pos += AsciiPrefixLength(begin + pos, begin + text.size());
            if (pos == text.size())
                break;
        }
        const std::size_t width = DecodeUtf8Sequence(begin + pos, begin + text.size()).width;
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

} // namespace text
