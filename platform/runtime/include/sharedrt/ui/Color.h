#pragma once
// Colours as the toolkit stores them: 0x00BBGGRR (the Windows COLORREF
// layout), or a system colour marked by the top bit (0x80000000 | index of
// GetSysColor), so that a control follows the desktop's scheme.
#include "sharedrt/Export.h"

#include <cstdint>

namespace rt::ui {

using Color = std::uint32_t;

constexpr Color Rgb(unsigned r, unsigned g, unsigned b) noexcept
{
    return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16);
}
// From the usual #RRGGBB notation: RgbHex(0x0845B0).
constexpr Color RgbHex(std::uint32_t rrggbb) noexcept
{
    return Rgb(rrggbb >> 16, rrggbb >> 8, rrggbb);
}
constexpr Color SystemColor(int index) noexcept { return 0x80000000u | static_cast<Color>(index); }

inline constexpr Color kColorWindow = SystemColor(5);      // COLOR_WINDOW
inline constexpr Color kColorWindowText = SystemColor(8);  // COLOR_WINDOWTEXT
inline constexpr Color kColorBtnFace = SystemColor(15);    // COLOR_BTNFACE
inline constexpr Color kColorBtnShadow = SystemColor(16);  // COLOR_BTNSHADOW
inline constexpr Color kColorGrayText = SystemColor(17);   // COLOR_GRAYTEXT
inline constexpr Color kColorBtnHighlight = SystemColor(20); // COLOR_BTNHIGHLIGHT
inline constexpr Color kColorHotLight = SystemColor(26);   // COLOR_HOTLIGHT

// The RGB value a colour stands for now (system colours resolved).
SHAREDRT_API std::uint32_t ResolveColor(Color color) noexcept;

// Windows' high-contrast mode is on (asked of the system each time).
SHAREDRT_API bool HighContrast() noexcept;
// The colour to paint with: `designed`, or in high-contrast mode the system
// colour `system` in place of a fixed RGB one.
SHAREDRT_API Color ContrastColor(Color designed, Color system) noexcept;

} // namespace rt::ui
