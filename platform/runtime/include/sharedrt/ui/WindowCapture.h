#pragma once
// Pictures of windows as they are on screen (frame and child windows
// included), for tests and bug reports.
#ifdef _WIN32
#include "sharedrt/Export.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace rt::ui {

struct CapturedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, rows from the top

    std::uint32_t At(int x, int y) const { return pixels.at(static_cast<std::size_t>(y) * width + x); }
};

// Repaints the window and copies it (whole window rectangle). Throws
// rt::Error when the window is not visible.
SHAREDRT_API CapturedImage CaptureWindow(HWND window);
// CaptureWindow, then a PNG file (GBK path).
SHAREDRT_API void CaptureWindowToPng(HWND window, const std::string& path);

} // namespace rt::ui
#endif
