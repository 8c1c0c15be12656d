#include "BackBuffer.h"

#include <algorithm>

namespace rt::ui {

BackBuffer::~BackBuffer()
{
    // The bitmap leaves the DC before either goes.
    if (dc_ && original_)
        SelectObject(dc_.get(), original_);
    bitmap_.reset();
    dc_.reset();
}

BackBuffer::Lease::~Lease()
{
    if (owner_)
        owner_->inUse_ = false;
}

BackBuffer::Lease BackBuffer::Borrow(HDC compatible, HWND window, int width, int height)
{
    if (inUse_ || width <= 0 || height <= 0)
        return Lease(nullptr, nullptr);
    if (width > width_ || height > height_) {
        // Made once for the whole top-level window: the windows inside it
        // then paint into the same pages.
        RECT root{};
        if (HWND top = GetAncestor(window, GA_ROOT))
            GetClientRect(top, &root);
        const int newWidth = std::max({width, width_, static_cast<int>(root.right)});
        const int newHeight = std::max({height, height_, static_cast<int>(root.bottom)});
        if (!dc_) {
            dc_.reset(CreateCompatibleDC(compatible));
            if (!dc_)
                return Lease(nullptr, nullptr);
        }
        unique_hbitmap bitmap(CreateCompatibleBitmap(compatible, newWidth, newHeight));
        if (!bitmap)
            return Lease(nullptr, nullptr);
        HGDIOBJ previous = SelectObject(dc_.get(), bitmap.get());
        if (!original_)
            original_ = previous;
        bitmap_ = std::move(bitmap);
        width_ = newWidth;
        height_ = newHeight;
    }
    inUse_ = true;
    return Lease(this, dc_.get());
}

BackBuffer& SharedBackBuffer()
{
    // The toolkit's windows all live on the one user-interface thread.
    static BackBuffer buffer;
    return buffer;
}

} // namespace rt::ui
