#include "sharedrt/ui/Image.h"

#include <utility>

namespace rt::ui {

Image::Image(ImageArgs args)
    : GraphicControl(args.control),
      picture_(std::move(args.picture)),
      transparent_(args.transparent),
      stretch_(args.stretch),
      center_(args.center),
      decorative_(args.decorative)
{
    autoSize_ = args.autoSize;
    AdjustSize();
}

Image::~Image() = default;

void Image::SetPicture(Bitmap picture)
{
    picture_ = std::move(picture);
    scaledFor_ = SIZE{0, 0};
    AdjustSize();
    Invalidate();
}

void Image::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    scaledFor_ = SIZE{0, 0};
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
    return {Left(), Top(), Scaled(picture_.Width()), Scaled(picture_.Height())};
}

const Bitmap& Image::DrawnPicture(int width, int height) const
{
    if (PixelsPerInch() == kDesignPixelsPerInch || width <= 0 || height <= 0)
        return picture_;
    if (scaledFor_.cx != width || scaledFor_.cy != height) {
        scaled_ = picture_.Scaled(width, height, 1, transparent_);
        scaledFor_ = SIZE{width, height};
    }
    return scaled_;
}

void Image::Paint(HDC dc)
{
    if (picture_.Empty() || (decorative_ && HighContrast()))
        return;
    if (stretch_) {
        DrawnPicture(Width(), Height()).StretchDraw(dc, RECT{0, 0, Width(), Height()}, transparent_);
        return;
    }
    const Bitmap& drawn = DrawnPicture(Scaled(picture_.Width()), Scaled(picture_.Height()));
    int x = 0, y = 0;
    if (center_) {
        x = (Width() - drawn.Width()) / 2;
        y = (Height() - drawn.Height()) / 2;
    }
    drawn.Draw(dc, x, y, transparent_);
}

} // namespace rt::ui
