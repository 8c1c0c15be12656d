// Scroll bars of a windowed control whose content does not fit its client
// area (a panel made with autoScroll). The children keep their bounds in
// content coordinates; painting, the mouse and the screen places of the
// graphic children are moved by the scroll position.
#include "sharedrt/ui/WinControl.h"

#include "sharedrt/ui/GraphicControl.h"

#include <algorithm>

namespace rt::ui {
namespace {

constexpr int kLineStep = 16;   // pixels at 96 dots per inch
constexpr int kWheelLines = 3;

bool IsContent(const Control& child) noexcept
{
    return child.Visible() && child.GetAlign() == Align::None &&
           !(child.GetAnchors() & (kAnchorRight | kAnchorBottom));
}

} // namespace

void WinControl::SetAutoScroll(bool on)
{
    autoScroll_ = on;
    UpdateScrollBars();
}

void WinControl::ContentChanged()
{
    if (autoScroll_)
        UpdateScrollBars();
    if (showing_)
        UpdateTabStopStyle();
}

SIZE WinControl::ContentExtent() const noexcept
{
    SIZE extent{0, 0};
    for (const Control* child : children_) {
        if (!IsContent(*child))
            continue;
        extent.cx = std::max<LONG>(extent.cx, child->GetBounds().Right());
        extent.cy = std::max<LONG>(extent.cy, child->GetBounds().Bottom());
    }
    return extent;
}

SIZE WinControl::ScrollArea() const noexcept
{
    const SIZE content = autoScroll_ ? ContentExtent() : SIZE{0, 0};
    return SIZE{std::max<LONG>(content.cx, ClientWidth()), std::max<LONG>(content.cy, ClientHeight())};
}

void WinControl::UpdateScrollBars()
{
    if (!autoScroll_ || !hwnd_ || updatingScroll_ || tearingDown_)
        return;
    updatingScroll_ = true;
    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int barHeight = GetSystemMetrics(SM_CYHSCROLL);
    RECT client{};
    GetClientRect(hwnd_, &client);
    // The area without scroll bars.
    const int fullWidth = client.right + ((style & WS_VSCROLL) ? barWidth : 0);
    const int fullHeight = client.bottom + ((style & WS_HSCROLL) ? barHeight : 0);
    const SIZE content = ContentExtent();
    bool horizontal = content.cx > fullWidth;
    bool vertical = content.cy > fullHeight;
    horizontal = content.cx > fullWidth - (vertical ? barWidth : 0);
    vertical = content.cy > fullHeight - (horizontal ? barHeight : 0);
    const int viewWidth = fullWidth - (vertical ? barWidth : 0);
    const int viewHeight = fullHeight - (horizontal ? barHeight : 0);
    const int oldX = scrollX_, oldY = scrollY_;
    scrollX_ = horizontal ? std::clamp(scrollX_, 0, static_cast<int>(content.cx) - viewWidth) : 0;
    scrollY_ = vertical ? std::clamp(scrollY_, 0, static_cast<int>(content.cy) - viewHeight) : 0;
    auto apply = [&](int bar, bool needed, bool shown, int extent, int page, int position) {
        // A window that needs none and has none is left alone.
        if (!needed && !shown)
            return;
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, needed ? extent - 1 : 0,
                        static_cast<UINT>(needed ? page : 0), position, 0};
        SetScrollInfo(hwnd_, bar, &info, TRUE);
        ShowScrollBar(hwnd_, bar, needed ? TRUE : FALSE);
    };
    apply(SB_HORZ, horizontal, (style & WS_HSCROLL) != 0, content.cx, viewWidth, scrollX_);
    apply(SB_VERT, vertical, (style & WS_VSCROLL) != 0, content.cy, viewHeight, scrollY_);
    updatingScroll_ = false;
    if (scrollX_ != oldX || scrollY_ != oldY)
        InvalidateRect(hwnd_, nullptr, FALSE);
}

void WinControl::ScrollTo(int x, int y)
{
    if (!hwnd_)
        return;
    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    const SIZE content = ContentExtent();
    x = (style & WS_HSCROLL) ? std::clamp(x, 0, std::max(0, static_cast<int>(content.cx) - ClientWidth())) : 0;
    y = (style & WS_VSCROLL) ? std::clamp(y, 0, std::max(0, static_cast<int>(content.cy) - ClientHeight())) : 0;
    if (x == scrollX_ && y == scrollY_)
        return;
    scrollX_ = x;
    scrollY_ = y;
    if (style & WS_HSCROLL)
        SetScrollPos(hwnd_, SB_HORZ, x, TRUE);
    if (style & WS_VSCROLL)
        SetScrollPos(hwnd_, SB_VERT, y, TRUE);
    ResetToolTip();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void WinControl::ScrollIntoView(const Control& child)
{
    if (!autoScroll_)
        return;
    const Bounds b = child.GetBounds();
    int x = scrollX_, y = scrollY_;
    if (b.Right() > x + ClientWidth())
        x = b.Right() - ClientWidth();
    if (b.left < x)
        x = b.left;
    if (b.Bottom() > y + ClientHeight())
        y = b.Bottom() - ClientHeight();
    if (b.top < y)
        y = b.top;
    ScrollTo(x, y);
}

void WinControl::ScrollMessage(int bar, WORD request)
{
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    if (!GetScrollInfo(hwnd_, bar, &info))
        return;
    const int line = Scaled(kLineStep);
    const int page = std::max(line, static_cast<int>(info.nPage) - line);
    int position = info.nPos;
    switch (request) {
    case SB_LINEUP: position -= line; break;
    case SB_LINEDOWN: position += line; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: position = info.nTrackPos; break;
    case SB_TOP: position = info.nMin; break;
    case SB_BOTTOM: position = info.nMax; break;
    default: return;
    }
    if (bar == SB_HORZ)
        ScrollTo(position, scrollY_);
    else
        ScrollTo(scrollX_, position);
}

bool WinControl::HandleScrollMessage(UINT message, WPARAM wParam, LRESULT& result)
{
    if (!autoScroll_)
        return false;
    switch (message) {
    case WM_HSCROLL:
        ScrollMessage(SB_HORZ, LOWORD(wParam));
        result = 0;
        return true;
    case WM_VSCROLL:
        ScrollMessage(SB_VERT, LOWORD(wParam));
        result = 0;
        return true;
    case WM_MOUSEWHEEL: {
        if (!(GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VSCROLL))
            return false;
        const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
        ScrollTo(scrollX_, scrollY_ - notches * kWheelLines * Scaled(kLineStep));
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

} // namespace rt::ui
