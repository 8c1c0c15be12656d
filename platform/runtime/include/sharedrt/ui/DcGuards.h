#pragma once
// Scoped guards for the paired GDI calls. Each stores everything its closing
// call needs, and none can be copied or moved, so a guard cannot close twice
// or forget what it opened.
#ifdef _WIN32
#include <windows.h>

namespace rt::ui {

// BeginPaint in the constructor, EndPaint in the destructor.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const noexcept { return dc_; }
    const PAINTSTRUCT& paint() const noexcept { return paint_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// GetDC (or GetWindowDC) in the constructor, ReleaseDC in the destructor.
// A null window gives the screen's DC.
class WindowDc {
public:
    enum Area { kClient, kWholeWindow };
    explicit WindowDc(HWND window, Area area = kClient) noexcept
        : window_(window), dc_(area == kClient ? GetDC(window) : GetWindowDC(window))
    {
    }
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// SelectObject in the constructor; the previous object is selected again in
// the destructor. A null object selects nothing.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr)
    {
    }
    ~SelectGuard()
    {
        if (previous_)
            SelectObject(dc_, previous_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// SaveDC in the constructor, RestoreDC in the destructor: clip region,
// origin, colours and modes come back as they were.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcState()
    {
        if (saved_)
            RestoreDC(dc_, saved_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

} // namespace rt::ui
#endif
