#include "sharedrt/ui/ToolBar.h"

#include "sharedrt/RtError.h"
#include "sharedrt/ui/ImageList.h"

#include <commctrl.h>

namespace rt::ui {
namespace {

constexpr int kFirstCommand = 0x4000;

ControlArgs ToolBarControlArgs(ControlArgs args)
{
    if (args.align == Align::None)
        args.align = Align::Top;
    if (!args.color)
        args.color = kColorBtnFace;
    return args;
}

DWORD ToolBarStyle(const ToolBarArgs& args)
{
    // The toolkit places and sizes the bar itself.
    DWORD style = CCS_NORESIZE | CCS_NOPARENTALIGN;
    if (!args.edgeBorders)
        style |= CCS_NODIVIDER;
    if (args.flat)
        style |= TBSTYLE_FLAT;
    if (args.list)
        style |= TBSTYLE_LIST;
    return style;
}

} // namespace

ToolBar::ToolBar(const ToolBarArgs& args)
    : WinControl(ToolBarControlArgs(args.control),
                 WindowSpec{.className = TOOLBARCLASSNAMEA, .style = ToolBarStyle(args), .systemClass = true}),
      buttonWidth_(args.buttonWidth),
      buttonHeight_(args.buttonHeight),
      autoSizeBar_(args.autoSize),
      images_(args.images)
{
    SendMessageA(Handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetImages(images_);
}

ToolBar::~ToolBar() = default;

void ToolBar::SetImages(ImageList* images)
{
    images_ = images;
    SendMessageA(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Handle() : nullptr));
    ApplyButtonSize();
}

void ToolBar::ApplyButtonSize()
{
    if (images_)
        SendMessageA(Handle(), TB_SETBITMAPSIZE, 0, MAKELPARAM(images_->ImageWidth(), images_->ImageHeight()));
    SendMessageA(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
    Invalidate();
}

int ToolBar::AddButton(ToolButtonArgs button)
{
    const int index = ButtonCount();
    buttons_.push_back({std::move(button), kFirstCommand + index});
    const Button& added = buttons_.back();
    TBBUTTON tb{};
    tb.iBitmap = added.args.imageIndex >= 0 ? added.args.imageIndex : I_IMAGENONE;
    tb.idCommand = added.commandId;
    tb.fsState = TBSTATE_ENABLED;
    tb.fsStyle = BTNS_BUTTON;
    // The tool bar keeps its own copy of the text.
    tb.iString = reinterpret_cast<INT_PTR>(added.args.caption.c_str());
    if (!SendMessageA(Handle(), TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&tb))) {
        buttons_.pop_back();
        throw Error("无法添加工具栏按钮：" + added.args.caption);
    }
    ApplyButtonSize();
    AdjustHeight();
    return index;
}

RECT ToolBar::ButtonRect(int index) const
{
    RECT r{};
    SendMessageA(Handle(), TB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

int ToolBar::ButtonAt(int x, int y) const
{
    POINT point{x, y};
    const int hit = static_cast<int>(SendMessageA(Handle(), TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    return hit >= 0 && hit < ButtonCount() ? hit : -1;
}

std::string ToolBar::HintAt(int x, int y) const
{
    const int button = ButtonAt(x, y);
    if (button >= 0 && !buttons_[button].args.hint.empty())
        return buttons_[button].args.hint;
    return Hint();
}

void ToolBar::SetButtonEnabled(int index, bool enabled)
{
    if (index < 0 || index >= ButtonCount())
        return;
    SendMessageA(Handle(), TB_ENABLEBUTTON, buttons_[index].commandId, MAKELPARAM(enabled ? TRUE : FALSE, 0));
}

void ToolBar::AdjustHeight()
{
    if (!autoSizeBar_ || buttons_.empty())
        return;
    const RECT first = ButtonRect(0);
    SetHeight(first.bottom + first.top);
}

void ToolBar::ScaleProperties(int to, int from)
{
    WinControl::ScaleProperties(to, from);
    buttonWidth_ = MulDiv(buttonWidth_, to, from);
    buttonHeight_ = MulDiv(buttonHeight_, to, from);
    ApplyButtonSize();
}

bool ToolBar::HandleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result)
{
    if (message != WM_COMMAND)
        return false;
    const int command = LOWORD(wParam);
    for (const Button& button : buttons_) {
        if (button.commandId == command) {
            RunEvent(button.args.onClick, *this);
            result = 0;
            return true;
        }
    }
    return false;
}

LRESULT ToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE) {
        const int button = ButtonAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        if (button != buttonUnderMouse_) {
            buttonUnderMouse_ = button;
            ResetToolTip();
        }
    }
    if (message == WM_ERASEBKGND) {
        RECT client{};
        GetClientRect(Handle(), &client);
        unique_hbrush brush(CreateSolidBrush(ResolveColor(ContrastColor(GetColor(), kColorBtnFace))));
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush.get());
        return 1;
    }
    return WinControl::WindowProc(message, wParam, lParam);
}

} // namespace rt::ui
