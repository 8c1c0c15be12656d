#include "FormToolTips.h"

#include "WindowDispatch.h"

#include "sharedrt/RtError.h"

#include <algorithm>

namespace rt::ui {
namespace {

TTTOOLINFOA ToolOf(HWND window)
{
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    return tool;
}

} // namespace

FormToolTips::FormToolTips(HWND owner) : owner_(owner) {}

HWND FormToolTips::Handle()
{
    if (window_)
        return window_.get();
    WindowDispatch::InitCommonControlsOnce();
    window_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner_, nullptr,
                                  WindowDispatch::Instance(), nullptr));
    if (!window_)
        throw Error("无法创建提示窗口。");
    SendMessageA(window_.get(), TTM_SETMAXTIPWIDTH, 0, 400);
    return window_.get();
}

FormToolTips::~FormToolTips() = default;

void FormToolTips::Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Handle();
    if (std::find(tools_.begin(), tools_.end(), window) == tools_.end()) {
        TTTOOLINFOA tool = ToolOf(window);
        if (SendMessageA(window_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)))
            tools_.push_back(window);
    }
    MSG msg{};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = static_cast<DWORD>(GetMessageTime());
    GetCursorPos(&msg.pt);
    SendMessageA(window_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void FormToolTips::Forget(HWND window) noexcept
{
    auto it = std::find(tools_.begin(), tools_.end(), window);
    if (it == tools_.end())
        return;
    tools_.erase(it);
    TTTOOLINFOA tool = ToolOf(window);
    SendMessageA(window_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormToolTips::Pop() noexcept
{
    if (window_)
        SendMessageA(window_.get(), TTM_POP, 0, 0);
}

} // namespace rt::ui
