#include "sharedrt/ui/UiDriver.h"

#include "sharedrt/ui/WinControl.h"

namespace rt::ui::driver {
namespace {

HWND RootWindowOf(const Control& control)
{
    for (const Control* c = &control; c; c = c->Parent())
        if (auto* windowed = dynamic_cast<const WinControl*>(c); windowed && windowed->Handle())
            return GetAncestor(windowed->Handle(), GA_ROOT);
    return nullptr;
}

LPARAM ClientPoint(HWND window, POINT screen)
{
    ScreenToClient(window, &screen);
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(screen.x)), static_cast<WORD>(static_cast<short>(screen.y)));
}

LPARAM KeyData(WORD virtualKey, bool up)
{
    const UINT scan = MapVirtualKeyA(virtualKey, 0 /* MAPVK_VK_TO_VSC */);
    LPARAM data = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
    if (up)
        data |= (1L << 30) | (1L << 31);
    return data;
}

} // namespace

POINT CenterOf(const Control& control)
{
    const Bounds b = control.ScreenBounds();
    return POINT{b.left + b.width / 2, b.top + b.height / 2};
}

HWND WindowUnder(const Control& control, POINT screenPoint)
{
    HWND window = RootWindowOf(control);
    if (!window)
        return nullptr;
    for (;;) {
        POINT point = screenPoint;
        ScreenToClient(window, &point);
        HWND child = ChildWindowFromPointEx(window, point,
                                            CWP_SKIPINVISIBLE | CWP_SKIPDISABLED | CWP_SKIPTRANSPARENT);
        if (!child || child == window)
            return window;
        window = child;
    }
}

void MoveMouseTo(const Control& control) { MoveMouseTo(control, CenterOf(control)); }

void MoveMouseTo(const Control& within, POINT screenPoint)
{
    if (HWND window = WindowUnder(within, screenPoint))
        SendMessageA(window, WM_MOUSEMOVE, 0, ClientPoint(window, screenPoint));
}

void Click(const Control& control) { ClickAt(control, CenterOf(control)); }

void ClickAt(const Control& within, POINT screenPoint)
{
    HWND window = WindowUnder(within, screenPoint);
    if (!window)
        return;
    const LPARAM point = ClientPoint(window, screenPoint);
    SendMessageA(window, WM_MOUSEMOVE, 0, point);
    // The press may have moved or destroyed windows; release where it went.
    if (IsWindow(window))
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
    if (IsWindow(window))
        SendMessageA(window, WM_LBUTTONUP, 0, point);
    ProcessMessages();
}

void PressKey(WORD virtualKey)
{
    if (HWND focus = GetFocus())
        PressKey(focus, virtualKey);
}

void PressKey(HWND window, WORD virtualKey)
{
    SendMessageA(window, WM_KEYDOWN, virtualKey, KeyData(virtualKey, false));
    if (IsWindow(window))
        SendMessageA(window, WM_KEYUP, virtualKey, KeyData(virtualKey, true));
    ProcessMessages();
}

void ResizeWindow(HWND window, int width, int height)
{
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ProcessMessages()
{
    if (Application* app = CurrentApplication())
        app->ProcessMessages();
}

bool ProcessMessagesUntil(const std::function<bool()>& done, int timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        ProcessMessages();
        if (done())
            return true;
        if (static_cast<int>(GetTickCount() - start) >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

ErrorRecorder::ErrorRecorder() : messages_(std::make_shared<std::vector<std::string>>())
{
    std::shared_ptr<std::vector<std::string>> messages = messages_;
    previous_ = CurrentApplication()->SetErrorDisplay(
        [messages](const std::string& message) { messages->push_back(message); });
}

ErrorRecorder::~ErrorRecorder() { CurrentApplication()->SetErrorDisplay(std::move(previous_)); }

} // namespace rt::ui::driver
