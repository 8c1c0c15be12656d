#include "util/TextRules.h"

#include <algorithm>

namespace util {

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

std::string ToUpperAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = ToUpperAscii(c);
    return result;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept
{
    return CompareIgnoreCase(a, b) == 0;
}

int CompareIgnoreCase(std::string_view a, std::string_view b) noexcept
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(ToUpperAscii(a[i]));
        const auto y = static_cast<unsigned char>(ToUpperAscii(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
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

} // namespace util
