#pragma once
// Where a parent puts its children: the alignment and anchor rules as a pure
// function, used by every windowed control when it changes size.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/Geometry.h"

#include <vector>

namespace rt::ui {

struct LayoutItem {
    Align align = Align::None;
    Anchors anchors = kAnchorsDefault;
    Bounds bounds;
    int rightDistance = 0;  // kept to the parent's right edge (right anchor)
    int bottomDistance = 0; // kept to the parent's bottom edge (bottom anchor)
    bool visible = true;
};

// New bounds for every item, in order. Aligned items share `area` (top ones
// first, ordered by their top; then bottom ones, nearest the bottom first;
// left; right; client last); hidden aligned items take no room. Unaligned
// items follow their anchors against a client area of clientWidth x
// clientHeight. Sizes never go below zero.
SHAREDRT_API std::vector<Bounds> ArrangeControls(const std::vector<LayoutItem>& items, const Bounds& area,
                                                 int clientWidth, int clientHeight);

} // namespace rt::ui
#endif
