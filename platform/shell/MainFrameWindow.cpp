#include "shell/MainFrameWindow.h"

#include <algorithm>
#include <cstring>

namespace shell {
namespace {

using rt::ui::Align;

rt::ui::Font ShellFont() { return rt::ui::Font{.face = "宋体", .height = 12, .charset = rt::ui::kGb2312Charset}; }

} // namespace

Tfrm_MainFrame::Tfrm_MainFrame(const std::string& caption)
    : Form({.control = {.name = "frm_MainFrame", .bounds = {0, 0, 860, 640}, .caption = caption,
                        .font = ShellFont()},
            .className = WSCBS_HOST_MAIN_WINDOW_CLASS,
            .position = rt::ui::FormPosition::ScreenCenter})
{
    toolbar_ = new rt::ui::ToolBar({.control = {.owner = this, .parent = this, .name = "tbShell",
                                                .bounds = {0, 0, 860, 30}, .align = Align::Top},
                                    .buttonWidth = 110,
                                    .buttonHeight = 26,
                                    .list = true});
    toolbar_->AddButton({.caption = "显示视图", .hint = "再次调用ShowFrmView",
                         .onClick = [this](rt::ui::Component&) {
                             if (OnShowView)
                                 OnShowView();
                         }});
    toolbar_->AddButton({.caption = "关闭视图(1280)", .hint = "请模块关闭它的视图",
                         .onClick = [this](rt::ui::Component&) {
                             if (!SendToView(WSCBS_MSG_CLOSE_FORM))
                                 SetStatus("没有可关闭的视图");
                         }});
    toolbar_->AddButton({.caption = "换肤(1303)", .hint = "更换皮肤并通知模块",
                         .onClick = [this](rt::ui::Component&) {
                             if (OnChangeSkin)
                                 OnChangeSkin();
                             SendToView(WSCBS_MSG_SKIN_CHANGED);
                         }});
    toolbar_->AddButton({.caption = "退出", .onClick = [this](rt::ui::Component&) { Close(); }});

    pnlStatus_ = new rt::ui::Panel({.control = {.owner = this, .parent = this, .name = "pnlStatus",
                                                .bounds = {0, 580, 860, 22}, .align = Align::Bottom},
                                    .bevelOuter = rt::ui::Bevel::Lowered,
                                    .showCaption = false});
    lblStatus_ = new rt::ui::Label({.control = {.owner = this, .parent = pnlStatus_, .name = "lblStatus",
                                                .bounds = {6, 5, 400, 12}, .caption = "就绪"},
                                    .transparent = true});
    pnlContainer_ = new rt::ui::Panel({.control = {.owner = this, .parent = this, .name = "pnlContainer",
                                                   .bounds = {0, 30, 860, 550}, .align = Align::Client,
                                                   .color = rt::ui::kColorWindow},
                                       .bevelOuter = rt::ui::Bevel::None,
                                       .showCaption = false});
    SetShowHint(true);
}

Tfrm_MainFrame::~Tfrm_MainFrame() = default;

HWND Tfrm_MainFrame::ViewWindow() const noexcept
{
    return pnlContainer_->Handle() ? GetWindow(pnlContainer_->Handle(), GW_CHILD) : nullptr;
}

bool Tfrm_MainFrame::SendToView(UINT message)
{
    HWND view = ViewWindow();
    if (view == nullptr)
        return false;
    SendMessageA(view, message, 0, 0);
    return true;
}

void Tfrm_MainFrame::SetStatus(const std::string& text) { lblStatus_->SetCaption(text); }

const std::string& Tfrm_MainFrame::Status() const { return lblStatus_->Caption(); }

void Tfrm_MainFrame::ClearRecords()
{
    copyData_.clear();
    helpRequests_.clear();
    ncActivations_.clear();
}

SIZE ViewMinimumSize(int dpi) noexcept
{
    auto scaled = [dpi](int design) { return MulDiv(design, dpi, 96); };
    return SIZE{scaled(480) + scaled(80), scaled(26) + scaled(250) + scaled(80) + scaled(60)};
}

// The window no smaller than what holds the container at the view's least
// size: the frame, the tool bar and the status line around it.
void Tfrm_MainFrame::KeepViewWhole(MINMAXINFO& limits) const
{
    HWND window = Handle();
    if (!window || !pnlContainer_ || !pnlContainer_->Handle())
        return;
    RECT outer{}, container{};
    GetWindowRect(window, &outer);
    GetClientRect(pnlContainer_->Handle(), &container);
    const SIZE view = ViewMinimumSize(rt::ui::WindowDpi(window));
    const int width = view.cx + (outer.right - outer.left) - container.right;
    const int height = view.cy + (outer.bottom - outer.top) - container.bottom;
    limits.ptMinTrackSize.x = std::max<LONG>(limits.ptMinTrackSize.x, width);
    limits.ptMinTrackSize.y = std::max<LONG>(limits.ptMinTrackSize.y, height);
}

void Tfrm_MainFrame::NoteCopyData(WPARAM sender, const COPYDATASTRUCT* record)
{
    CopyDataNotice notice;
    notice.sender = sender;
    if (record) {
        notice.kind = record->dwData;
        notice.size = record->cbData;
        if (record->lpData && record->cbData > 0) {
            const auto* data = static_cast<const char*>(record->lpData);
            notice.text.assign(data, strnlen(data, record->cbData));
        }
    }
    copyData_.push_back(notice);
    if (notice.kind == WSCBS_CD_FORM_SHOWN)
        SetStatus("模块视图已显示：" + notice.text);
    else if (notice.kind == WSCBS_CD_FORM_CLOSED)
        SetStatus("模块视图已关闭，功能代码：" + notice.text);
    else
        SetStatus("收到通知 " + std::to_string(notice.kind) + "：" + notice.text);
}

LRESULT Tfrm_MainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COPYDATA:
        NoteCopyData(wParam, reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        return TRUE;
    case WSCBS_MSG_HELP_REQUEST:
        helpRequests_.push_back({wParam, lParam});
        SetStatus("模块请求帮助（F1）");
        return 0;
    case WM_NCACTIVATE:
        ncActivations_.push_back({wParam, lParam});
        break;
    case WM_GETMINMAXINFO:
        KeepViewWhole(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    default:
        break;
    }
    return Form::WindowProc(message, wParam, lParam);
}

} // namespace shell
