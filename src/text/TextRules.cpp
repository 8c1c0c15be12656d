#include "text/TextRules.h"

#include "sharedrt/GbkText.h"

namespace text {

std::string TrimText(std::string_view text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlankByte(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && IsBlankByte(static_cast<unsigned char>(text[last - 1])))
        --last;
    return std::string(text.substr(first, last - first));
}

std::string ToUpperAscii(std::string_view text) { return rt::GbkUpperAscii(text); }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept
{
    // Folding keeps the length. Texts equal so far have their characters
    // in the same places, so a double-byte character of one must be the
    // same two bytes in the other.
    if (a.size() != b.size())
        return false;
    const auto upper = [](unsigned char byte) {
        return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - ('a' - 'A')) : byte;
    };
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (rt::GbkCharWidth(a, i) == 2) {
            if (x != y || a[i + 1] != b[i + 1])
                return false;
            ++i;
        } else if (x != y && upper(x) != upper(y)) {
            return false;
        }
    }
    return true;
}

int CompareIgnoreCase(std::string_view a, std::string_view b) noexcept
{
    return rt::GbkCompareIgnoreAsciiCase(a, b);
}

std::string PadText(std::string_view text, int width, PadSide side, char fill)
{
    std::string result = TrimText(text);
    // Counted from the untrimmed length, so blanks that trimming removed
    // still count towards the width.
    const long long missing = static_cast<long long>(width) - static_cast<long long>(text.size());
    if (missing > 0) {
        const auto count = static_cast<std::size_t>(missing);
        if (side == PadSide::Left)
            result.insert(0, count, fill);
        else
            result.append(count, fill);
    }
    return result;
}

std::string PadLeftWithZeros(std::string_view text, int width)
{
    return PadText(text, width, PadSide::Left, '0');
}

} // namespace text
