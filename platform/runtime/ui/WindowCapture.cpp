#include "sharedrt/ui/WindowCapture.h"

#include "sharedrt/RtError.h"
#include "sharedrt/UniqueHandle.h"
#include "sharedrt/ui/DcGuards.h"
#include "sharedrt/ui/PngFile.h"

namespace rt::ui {

// The copy comes from the window's own device context, which holds the
// window and its child windows as they are drawn, covered or not.
CapturedImage CaptureWindow(HWND window)
{
    if (!window || !IsWindowVisible(window))
        throw Error("窗口不可见，无法截图。");
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r{};
    GetWindowRect(window, &r);
    CapturedImage image;
    image.width = r.right - r.left;
    image.height = r.bottom - r.top;
    if (image.width <= 0 || image.height <= 0)
        throw Error("窗口没有大小，无法截图。");

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    unique_hbitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    unique_hdc memory(CreateCompatibleDC(nullptr));
    if (!dib || !memory)
        throw Error("无法创建截图位图。");
    {
        SelectGuard select(memory.get(), dib.get());
        WindowDc source(window, WindowDc::kWholeWindow);
        if (!BitBlt(memory.get(), 0, 0, image.width, image.height, source.get(), 0, 0, SRCCOPY))
            throw Error("无法复制窗口内容。");
        GdiFlush();
    }
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    image.pixels.assign(pixels, pixels + static_cast<std::size_t>(image.width) * image.height);
    for (std::uint32_t& p : image.pixels)
        p &= 0x00FFFFFFu;
    return image;
}

void CaptureWindowToPng(HWND window, const std::string& path)
{
    const CapturedImage image = CaptureWindow(window);
    WritePngFile(path, image.width, image.height, image.pixels);
}

} // namespace rt::ui
