#include "sharedrt/ui/Color.h"

#include <windows.h>

namespace rt::ui {

std::uint32_t ResolveColor(Color color) noexcept
{
    if (color & 0x80000000u)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFFu;
}

} // namespace rt::ui
