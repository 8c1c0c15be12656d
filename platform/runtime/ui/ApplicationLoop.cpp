// The Windows half of the application and screen objects: the message loop.
#include "sharedrt/AppObjects.h"

#include <windows.h>

namespace rt {

void Application::ProcessMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            exitCode_ = static_cast<int>(msg.wParam);
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool Application::HandleMessage()
{
    MSG msg;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
        terminated_ = true;
        if (got == 0)
            exitCode_ = static_cast<int>(msg.wParam);
        return false;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    return true;
}

int Application::Run()
{
    while (!terminated_ && HandleMessage()) {
    }
    return exitCode_;
}

void Application::Terminate()
{
    terminated_ = true;
    PostQuitMessage(0);
}

int Screen::Width() const noexcept { return GetSystemMetrics(SM_CXSCREEN); }
int Screen::Height() const noexcept { return GetSystemMetrics(SM_CYSCREEN); }

} // namespace rt
