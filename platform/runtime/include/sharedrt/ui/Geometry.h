#pragma once
// Positions and sizes of controls: pixels, relative to the parent's client
// area (a top-level form: to the screen).

namespace rt::ui {

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int Right() const noexcept { return left + width; }
    int Bottom() const noexcept { return top + height; }
    bool Contains(int x, int y) const noexcept
    {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
    friend bool operator==(const Bounds&, const Bounds&) = default;
};

// Where a control sits in its parent. Aligned controls are placed by the
// parent: the top ones first (by their current top), then the bottom ones,
// the left ones, the right ones, and a client control fills what is left.
enum class Align { None, Top, Bottom, Left, Right, Client };

// Which edges of its parent an unaligned control keeps its distance to when
// the parent changes size. Left and right together stretch the control;
// right alone moves it (and likewise top and bottom).
using Anchors = unsigned;
inline constexpr Anchors kAnchorLeft = 1;
inline constexpr Anchors kAnchorTop = 2;
inline constexpr Anchors kAnchorRight = 4;
inline constexpr Anchors kAnchorBottom = 8;
inline constexpr Anchors kAnchorsDefault = kAnchorLeft | kAnchorTop;

} // namespace rt::ui
