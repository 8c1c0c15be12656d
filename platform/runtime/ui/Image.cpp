#include "sharedrt/ui/Image.h"

#include <utility>

namespace rt::ui {

Image::Image(ImageArgs args)
    : GraphicControl(args.control),
      picture_(std::move(args.picture)),
      transparent_(args.transparent),
      stretch_(args.stretch),
      center_(args.center)
{
    autoSize_ = args.autoSize;
    AdjustSize();
}

Image::~Image() = default;

void Image::SetPicture(Bitmap picture)
{
    picture_ = std::move(picture);
    AdjustSize();
    Invalidate();
}

void Image::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    Invalidate();
}

void Image::SetStretch(bool stretch)
{
    stretch_ = stretch;
    Invalidate();
}

Bounds Image::AutoSizedBounds() const
{
    if (picture_.Empty())
        return GetBounds();
    return {Left(), Top(), picture_.Width(), picture_.Height()};
}

void Image::Paint(HDC dc)
{
    if (picture_.Empty())
        return;
    if (stretch_) {
        picture_.StretchDraw(dc, RECT{0, 0, Width(), Height()}, transparent_);
        return;
    }
    int x = 0, y = 0;
    if (center_) {
        x = (Width() - picture_.Width()) / 2;
        y = (Height() - picture_.Height()) / 2;
    }
    picture_.Draw(dc, x, y, transparent_);
}

} // namespace rt::ui
