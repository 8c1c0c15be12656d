#include "sharedrt/ui/FlatPictureButton.h"

#include "sharedrt/ui/DcGuards.h"

#include <utility>

namespace rt::ui {

FlatPictureButton::FlatPictureButton(FlatPictureButtonArgs args)
    : GraphicControl(KindDefaults(args.control, std::nullopt, Cursor::Hand)),
      glyph_(std::move(args.glyph)),
      numGlyphs_(args.numGlyphs < 1 ? 1 : args.numGlyphs),
      spacing_(args.spacing)
{
}

FlatPictureButton::~FlatPictureButton() = default;

void FlatPictureButton::SetGlyph(Bitmap glyph)
{
    glyph_ = std::move(glyph);
    Invalidate();
}

void FlatPictureButton::SetNumGlyphs(int count)
{
    numGlyphs_ = count < 1 ? 1 : count;
    Invalidate();
}

int FlatPictureButton::CellWidth() const noexcept { return glyph_.Width() / numGlyphs_; }

SIZE FlatPictureButton::CaptionSize() const
{
    if (Caption().empty())
        return SIZE{0, 0};
    if (captionSize_)
        return *captionSize_;
    WindowDc screen(nullptr);
    SelectGuard font(screen.get(), FontHandle());
    RECT r{};
    DrawTextA(screen.get(), Caption().c_str(), static_cast<int>(Caption().size()), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    captionSize_ = SIZE{r.right, r.bottom};
    return *captionSize_;
}

void FlatPictureButton::CaptionChanged()
{
    captionSize_.reset();
    GraphicControl::CaptionChanged();
}

void FlatPictureButton::FontChanged()
{
    captionSize_.reset();
    GraphicControl::FontChanged();
}

// The picture and the caption form one block, centred in the button, the
// picture on top.
RECT FlatPictureButton::GlyphRect() const noexcept
{
    SIZE text{0, 0};
    try {
        text = CaptionSize();
    } catch (...) {
        // Without a font the caption takes no room.
    }
    const int glyphHeight = glyph_.Empty() ? 0 : glyph_.Height();
    const int block = glyphHeight + (text.cy > 0 && glyphHeight > 0 ? spacing_ : 0) + text.cy;
    const int top = (Height() - block) / 2;
    const int left = (Width() - CellWidth()) / 2;
    return RECT{left, top, left + CellWidth(), top + glyphHeight};
}

RECT FlatPictureButton::CaptionRect() const
{
    const SIZE text = CaptionSize();
    const RECT glyph = GlyphRect();
    const int top = glyph.bottom + (glyph.bottom > glyph.top && text.cy > 0 ? spacing_ : 0);
    const int left = (Width() - text.cx) / 2;
    return RECT{left, top, left + text.cx, top + text.cy};
}

int FlatPictureButton::ContentHeight() const
{
    const int text = CaptionSize().cy;
    const int glyphHeight = glyph_.Empty() ? 0 : glyph_.Height();
    return glyphHeight + (text > 0 && glyphHeight > 0 ? spacing_ : 0) + text;
}

void FlatPictureButton::Paint(HDC dc)
{
    RECT client{0, 0, Width(), Height()};
    const bool down = pressed_ && IsHot();
    if (IsHot() && Enabled())
        DrawEdge(dc, &client, down ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    const int offset = down ? 1 : 0;
    if (!glyph_.Empty()) {
        const RECT glyph = GlyphRect();
        const int cell = !Enabled() && numGlyphs_ >= 2 ? 1 : 0;
        glyph_.DrawCell(dc, glyph.left + offset, glyph.top + offset, cell, numGlyphs_, true);
    }
    if (!Caption().empty()) {
        RECT text = CaptionRect();
        OffsetRect(&text, offset, offset);
        SelectGuard font(dc, FontHandle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ResolveColor(Enabled() ? GetFont().color : kColorGrayText));
        DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text,
                  DT_SINGLELINE | DT_NOPREFIX | DT_CENTER);
    }
}

void FlatPictureButton::MouseEnter()
{
    GraphicControl::MouseEnter();
    Invalidate();
}

void FlatPictureButton::MouseLeave()
{
    GraphicControl::MouseLeave();
    Invalidate();
}

void FlatPictureButton::MouseDown(int, int)
{
    pressed_ = true;
    Invalidate();
}

void FlatPictureButton::MouseUp(int, int)
{
    pressed_ = false;
    Invalidate();
}

void FlatPictureButton::EnabledChanged()
{
    pressed_ = false;
    GraphicControl::EnabledChanged();
}

} // namespace rt::ui
