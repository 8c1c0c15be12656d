#include "sharedrt/ui/Color.h"

#include <windows.h>

namespace rt::ui {

std::uint32_t ResolveColor(Color color) noexcept
{
    if (color & 0x80000000u)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFFu;
}

bool HighContrast() noexcept
{
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

Color ContrastColor(Color designed, Color system) noexcept
{
    if ((designed & 0x80000000u) || !HighContrast())
        return designed;
    return system;
}

} // namespace rt::ui
