#include "util/TextRules.h"

#include "sharedrt/GbkText.h"

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

std::string ToUpperAscii(std::string_view text) { return rt::GbkUpperAscii(text); }

bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept
{
    return CompareIgnoreCase(a, b) == 0;
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

} // namespace util
