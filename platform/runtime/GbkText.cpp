#include "sharedrt/GbkText.h"

namespace rt {

std::size_t GbkPrefixLength(std::string_view text, std::size_t maxBytes) noexcept
{
    if (text.size() <= maxBytes)
        return text.size();
    std::size_t i = 0;
    while (i < maxBytes) {
        const std::size_t width =
            IsGbkLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (i + width > maxBytes)
            break;
        i += width;
    }
    return i;
}

} // namespace rt
