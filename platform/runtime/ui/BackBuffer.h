#pragma once
// The off-screen bitmap that windows paint into before their picture goes
// to the screen in one copy. One buffer serves every window of the toolkit:
// it is made once, as large as the top-level window it first paints for
// (larger when a paint needs it), and kept, so that a paint only draws and
// copies instead of making and filling a bitmap of its window's size.
#include "sharedrt/UniqueHandle.h"

namespace rt::ui {

class BackBuffer {
public:
    BackBuffer() = default;
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // The buffer lent to one paint; given back when the lease ends.
    class Lease {
    public:
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        ~Lease();
        explicit operator bool() const noexcept { return dc_ != nullptr; }
        // A memory DC with the buffer selected, its top-left corner at (0, 0).
        HDC Dc() const noexcept { return dc_; }

    private:
        friend class BackBuffer;
        Lease(BackBuffer* owner, HDC dc) noexcept : owner_(owner), dc_(dc) {}
        BackBuffer* owner_;
        HDC dc_;
    };

    // True while a lease is out.
    bool InUse() const noexcept { return inUse_; }
    // At least width x height pixels in the format of `compatible`, for a
    // paint of `window`. An empty lease when the buffer cannot be made (or
    // is lent already).
    Lease Borrow(HDC compatible, HWND window, int width, int height);

    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }

private:
    unique_hdc dc_;
    unique_hbitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    bool inUse_ = false;
};

// The buffer of the toolkit's windows (all on the user-interface thread).
BackBuffer& SharedBackBuffer();

} // namespace rt::ui
