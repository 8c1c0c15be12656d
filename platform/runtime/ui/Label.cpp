#include "sharedrt/ui/Label.h"

#include "sharedrt/ui/DcGuards.h"

#include <oleacc.h>

namespace rt::ui {

Label::Label(const LabelArgs& args)
    : GraphicControl(args.control),
      transparent_(args.transparent),
      wordWrap_(args.wordWrap),
      alignment_(args.alignment),
      link_(args.link)
{
    autoSize_ = args.autoSize;
    AdjustSize();
}

Label::~Label() = default;

void Label::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    Invalidate();
}

void Label::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    AdjustSize();
}

UINT Label::TextFormat() const noexcept
{
    UINT format = DT_NOPREFIX | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
    if (alignment_ == TextAlignment::Center)
        format |= DT_CENTER;
    else if (alignment_ == TextAlignment::Right)
        format |= DT_RIGHT;
    return format;
}

Bounds Label::AutoSizedBounds() const
{
    WindowDc screen(nullptr);
    SelectGuard font(screen.get(), FontHandle());
    RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
    // An empty caption keeps the height of one line.
    const std::string& text = Caption().empty() ? std::string("0") : Caption();
    DrawTextA(screen.get(), text.c_str(), static_cast<int>(text.size()), &r, TextFormat() | DT_CALCRECT);
    const int width = Caption().empty() ? 0 : r.right;
    return {Left(), Top(), wordWrap_ ? Width() : width, r.bottom};
}

void Label::Paint(HDC dc)
{
    RECT r{0, 0, Width(), Height()};
    if (!transparent_) {
        unique_hbrush brush(CreateSolidBrush(ResolveColor(ContrastColor(GetColor(), kColorWindow))));
        FillRect(dc, &r, brush.get());
    }
    SelectGuard font(dc, FontHandle());
    SetBkMode(dc, TRANSPARENT);
    const Color text = ContrastColor(GetFont().color, link_ ? kColorHotLight : kColorWindowText);
    SetTextColor(dc, ResolveColor(Enabled() ? text : kColorGrayText));
    DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &r, TextFormat());
}

} // namespace rt::ui

namespace rt::ui {

long Label::AccessibleRole() const noexcept { return link_ ? ROLE_SYSTEM_LINK : ROLE_SYSTEM_STATICTEXT; }

std::string Label::AccessibleDefaultAction() const { return link_ ? "跳转" : std::string(); }

} // namespace rt::ui
