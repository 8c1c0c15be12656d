#include "sharedrt/ui/AlignLayout.h"

#include <algorithm>
#include <numeric>

namespace rt::ui {
namespace {

std::vector<std::size_t> ItemsAligned(const std::vector<LayoutItem>& items, Align align)
{
    std::vector<std::size_t> order;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].visible && items[i].align == align)
            order.push_back(i);
    auto key = [&](std::size_t i) {
        const Bounds& b = items[i].bounds;
        switch (align) {
        case Align::Top: return b.top;
        case Align::Bottom: return -b.Bottom();
        case Align::Left: return b.left;
        case Align::Right: return -b.Right();
        default: return 0;
        }
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return key(a) < key(b); });
    return order;
}

} // namespace

std::vector<Bounds> ArrangeControls(const std::vector<LayoutItem>& items, const Bounds& area, int clientWidth,
                                    int clientHeight)
{
    std::vector<Bounds> result;
    result.reserve(items.size());
    for (const LayoutItem& item : items)
        result.push_back(item.bounds);

    int left = area.left;
    int top = area.top;
    int right = area.Right();
    int bottom = area.Bottom();
    auto width = [&] { return std::max(0, right - left); };
    auto height = [&] { return std::max(0, bottom - top); };

    for (std::size_t i : ItemsAligned(items, Align::Top)) {
        const int h = items[i].bounds.height;
        result[i] = {left, top, width(), h};
        top += h;
    }
    for (std::size_t i : ItemsAligned(items, Align::Bottom)) {
        const int h = items[i].bounds.height;
        bottom -= h;
        result[i] = {left, bottom, width(), h};
    }
    for (std::size_t i : ItemsAligned(items, Align::Left)) {
        const int w = items[i].bounds.width;
        result[i] = {left, top, w, height()};
        left += w;
    }
    for (std::size_t i : ItemsAligned(items, Align::Right)) {
        const int w = items[i].bounds.width;
        right -= w;
        result[i] = {right, top, w, height()};
    }
    for (std::size_t i : ItemsAligned(items, Align::Client))
        result[i] = {left, top, width(), height()};

    for (std::size_t i = 0; i < items.size(); ++i) {
        const LayoutItem& item = items[i];
        if (item.align != Align::None)
            continue;
        Bounds& b = result[i];
        if (item.anchors & kAnchorRight) {
            if (item.anchors & kAnchorLeft)
                b.width = std::max(0, clientWidth - item.rightDistance - b.left);
            else
                b.left = clientWidth - item.rightDistance - b.width;
        }
        if (item.anchors & kAnchorBottom) {
            if (item.anchors & kAnchorTop)
                b.height = std::max(0, clientHeight - item.bottomDistance - b.top);
            else
                b.top = clientHeight - item.bottomDistance - b.height;
        }
    }
    return result;
}

} // namespace rt::ui
