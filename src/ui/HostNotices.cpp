#include "ui/HostNotices.h"

#include "host/HostServices.h"
#include "sharedrt/AppObjects.h"

#include <cstring>
#include <vector>

namespace ui {

HWND FindHostMainWindow()
{
    if (HWND main = static_cast<HWND>(host::MainFrameHandle()))
        return main;
    return FindWindowA(kHostMainWindowClass, nullptr);
}

void NotifyHost(UINT message)
{
    if (HWND main = FindHostMainWindow())
        SendMessageA(main, message, 0, 0);
}

void SendHostText(ULONG_PTR kind, const std::string& text)
{
    std::vector<char> copy(text.size() + 1);
    std::memcpy(copy.data(), text.c_str(), text.size() + 1);
    HWND main = FindHostMainWindow();
    if (!main)
        return;
    COPYDATASTRUCT record{};
    record.dwData = kind;
    record.cbData = static_cast<DWORD>(copy.size());
    record.lpData = copy.data();
    rt::Application* app = rt::CurrentApplication();
    const auto appWindow = reinterpret_cast<WPARAM>(app ? app->Handle() : nullptr);
    SendMessageA(main, WM_COPYDATA, appWindow, reinterpret_cast<LPARAM>(&record));
}

} // namespace ui
