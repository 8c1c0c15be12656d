#include "sharedrt/ui/Panel.h"

#include "sharedrt/ui/DcGuards.h"

namespace rt::ui {

Panel::Panel(const PanelArgs& args)
    : WinControl(KindDefaults(args.control, kColorBtnFace), WindowSpec{"TPanel"}),
      bevel_(args.bevelOuter),
      showCaption_(args.showCaption)
{
    SetAutoScroll(args.autoScroll);
}

Panel::~Panel() = default;

void Panel::SetBevelOuter(Bevel bevel)
{
    bevel_ = bevel;
    Realign();
    Invalidate();
}

RECT Panel::LayoutArea() const
{
    RECT area = WinControl::LayoutArea();
    if (bevel_ != Bevel::None)
        InflateRect(&area, -1, -1);
    return area;
}

void Panel::PaintBackground(HDC dc, const RECT& client)
{
    WinControl::PaintBackground(dc, client);
    if (bevel_ != Bevel::None) {
        RECT edge = client;
        DrawEdge(dc, &edge, bevel_ == Bevel::Raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    }
    if (showCaption_ && !Caption().empty()) {
        SelectGuard font(dc, FontHandle());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ResolveColor(Enabled() ? ContrastColor(GetFont().color, kColorWindowText) : kColorGrayText));
        RECT text = client;
        DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text,
                  DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    }
}

} // namespace rt::ui
