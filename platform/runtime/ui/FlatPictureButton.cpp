#include "sharedrt/ui/FlatPictureButton.h"

#include "sharedrt/ui/DcGuards.h"

#include <oleacc.h>

#include <algorithm>
#include <utility>

namespace rt::ui {
namespace {

constexpr int kCaptionMargin = 2;  // on either side of a caption, and above and below a grown button
constexpr int kMaxCaptionLines = 2;
constexpr const char* kEllipsis = "…";

// The byte length of the GBK character at `text[at]`.
std::size_t CharLength(const std::string& text, std::size_t at) noexcept
{
    const auto lead = static_cast<unsigned char>(text[at]);
    return lead >= 0x81 && lead <= 0xFE && at + 1 < text.size() ? 2 : 1;
}

std::string TrimBlanks(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

int TextWidth(HDC dc, const std::string& text)
{
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The longest beginning of `text` (whole characters) no wider than `width`;
// at least one character.
std::size_t FittingLength(HDC dc, const std::string& text, int width)
{
    std::size_t fits = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t next = at + CharLength(text, at);
        if (fits > 0 && TextWidth(dc, text.substr(0, next)) > width)
            break;
        fits = next;
        at = next;
    }
    return fits;
}

} // namespace

FlatPictureButton::FlatPictureButton(FlatPictureButtonArgs args)
    : GraphicControl(KindDefaults(args.control, std::nullopt, Cursor::Hand)),
      glyph_(std::move(args.glyph)),
      numGlyphs_(args.numGlyphs < 1 ? 1 : args.numGlyphs),
      spacing_(args.spacing),
      growToFit_(args.growToFit),
      designHeight_(args.control.bounds.height)
{
    FitHeight();
}

FlatPictureButton::~FlatPictureButton() = default;

void FlatPictureButton::SetGlyph(Bitmap glyph)
{
    glyph_ = std::move(glyph);
    scaledGlyphFor_ = 0;
    Invalidate();
    FitHeight();
}

void FlatPictureButton::SetNumGlyphs(int count)
{
    numGlyphs_ = count < 1 ? 1 : count;
    scaledGlyphFor_ = 0;
    Invalidate();
}

int FlatPictureButton::CellWidth() const noexcept { return Scaled(glyph_.Width() / numGlyphs_); }

int FlatPictureButton::GlyphHeight() const noexcept { return glyph_.Empty() ? 0 : Scaled(glyph_.Height()); }

const Bitmap& FlatPictureButton::ScaledGlyph() const
{
    if (PixelsPerInch() == kDesignPixelsPerInch || glyph_.Empty())
        return glyph_;
    if (scaledGlyphFor_ != PixelsPerInch()) {
        scaledGlyph_ = glyph_.Scaled(CellWidth() * numGlyphs_, GlyphHeight(), numGlyphs_, true);
        scaledGlyphFor_ = PixelsPerInch();
    }
    return scaledGlyph_;
}

const FlatPictureButton::CaptionLayout& FlatPictureButton::Layout() const
{
    if (layout_ && layout_->width == Width())
        return *layout_;
    CaptionLayout layout;
    layout.width = Width();
    if (!Caption().empty()) {
        WindowDc screen(nullptr);
        SelectGuard font(screen.get(), FontHandle());
        RECT r{};
        DrawTextA(screen.get(), Caption().c_str(), static_cast<int>(Caption().size()), &r,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const int available = std::max(1, Width() - 2 * Scaled(kCaptionMargin));
        if (r.right <= available) {
            layout.lines = {Caption()};
            layout.size = SIZE{r.right, r.bottom};
            layout.lineHeight = r.bottom;
        } else {
            layout.single = false;
            TEXTMETRICA metrics{};
            GetTextMetricsA(screen.get(), &metrics);
            layout.lineHeight = metrics.tmHeight;
            std::string rest = TrimBlanks(Caption());
            while (!rest.empty() && static_cast<int>(layout.lines.size()) < kMaxCaptionLines) {
                const bool last = static_cast<int>(layout.lines.size()) == kMaxCaptionLines - 1;
                if (TextWidth(screen.get(), rest) <= available) {
                    layout.lines.push_back(rest);
                    rest.clear();
                } else if (last) {
                    const std::size_t keep =
                        FittingLength(screen.get(), rest, available - TextWidth(screen.get(), kEllipsis));
                    layout.lines.push_back(TrimBlanks(rest.substr(0, keep)) + kEllipsis);
                    rest.clear();
                } else {
                    std::size_t cut = FittingLength(screen.get(), rest, available);
                    // At a blank within the line, where there is one.
                    const std::size_t blank = rest.rfind(' ', cut);
                    if (blank != std::string::npos && blank > 0 && blank <= cut)
                        cut = blank;
                    layout.lines.push_back(TrimBlanks(rest.substr(0, cut)));
                    rest = TrimBlanks(rest.substr(cut));
                }
            }
            for (const std::string& line : layout.lines)
                layout.size.cx = std::max<LONG>(layout.size.cx, TextWidth(screen.get(), line));
            layout.size.cy = layout.lineHeight * static_cast<int>(layout.lines.size());
        }
    }
    layout_ = std::move(layout);
    return *layout_;
}

SIZE FlatPictureButton::CaptionSize() const { return Caption().empty() ? SIZE{0, 0} : Layout().size; }

std::vector<std::string> FlatPictureButton::CaptionLines() const
{
    return Caption().empty() ? std::vector<std::string>{} : Layout().lines;
}

void FlatPictureButton::CaptionChanged()
{
    layout_.reset();
    GraphicControl::CaptionChanged();
    FitHeight();
}

void FlatPictureButton::FontChanged()
{
    layout_.reset();
    GraphicControl::FontChanged();
    FitHeight();
}

void FlatPictureButton::BoundsChanged(const Bounds& old)
{
    GraphicControl::BoundsChanged(old);
    if (old.width != Width()) {
        layout_.reset();
        FitHeight();
    }
}

void FlatPictureButton::ScaleProperties(int to, int from)
{
    GraphicControl::ScaleProperties(to, from);
    spacing_ = MulDiv(spacing_, to, from);
    designHeight_ = MulDiv(designHeight_, to, from);
    layout_.reset();
}

void FlatPictureButton::FitHeight()
{
    if (!growToFit_ || fitting_)
        return;
    int content = 0;
    try {
        content = ContentHeight();
    } catch (...) {
        return; // without a font there is nothing to fit
    }
    const int wanted = content > designHeight_ ? content + 2 * Scaled(kCaptionMargin) : designHeight_;
    if (wanted == Height())
        return;
    fitting_ = true;
    SetHeight(wanted);
    fitting_ = false;
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
    const int glyphHeight = GlyphHeight();
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
    const int glyphHeight = GlyphHeight();
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
        ScaledGlyph().DrawCell(dc, glyph.left + offset, glyph.top + offset, cell, numGlyphs_, true);
    }
    if (!Caption().empty()) {
        RECT text = CaptionRect();
        OffsetRect(&text, offset, offset);
        SelectGuard font(dc, FontHandle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ResolveColor(Enabled() ? ContrastColor(GetFont().color, kColorWindowText) : kColorGrayText));
        const CaptionLayout& layout = Layout();
        if (layout.single) {
            DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text,
                      DT_SINGLELINE | DT_NOPREFIX | DT_CENTER);
            return;
        }
        // Each line centred on its own.
        for (const std::string& line : layout.lines) {
            RECT row{offset, text.top, Width() + offset, text.top + layout.lineHeight};
            DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &row, DT_SINGLELINE | DT_NOPREFIX | DT_CENTER);
            text.top += layout.lineHeight;
        }
    }
}

long FlatPictureButton::AccessibleRole() const noexcept { return ROLE_SYSTEM_PUSHBUTTON; }

std::string FlatPictureButton::AccessibleDefaultAction() const { return "按下"; }

// Inside the raised edge that the mouse brings.
RECT FlatPictureButton::FocusRect() const noexcept
{
    const Bounds b = GetBounds();
    return RECT{b.left + 3, b.top + 3, b.Right() - 3, b.Bottom() - 3};
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
