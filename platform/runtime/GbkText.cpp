#include "sharedrt/GbkText.h"

namespace rt {

std::size_t GbkPrefixLength(std::string_view text, std::size_t maxBytes) noexcept
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t i = 0;
    while (i < maxBytes) {
        const std::size_t width = GbkCharWidth(text, i);
        if (i + width > maxBytes)
            break;
        i += width;
    }
    return i;
}

} // namespace rt
