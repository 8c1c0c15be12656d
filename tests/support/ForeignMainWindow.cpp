// Not a test: another program's window of the host's main-window class, on
// top of every window of the test that starts it. It stays until the event
// named on the command line is set, and sets "<event>.ready" once shown.
#include <windows.h>

#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Tfrm_MainFrame";
    if (!RegisterClassA(&windowClass))
        return 1;
    HWND window = CreateWindowExA(WS_EX_TOPMOST, "Tfrm_MainFrame", "another program", WS_POPUP | WS_VISIBLE, 0, 0, 10,
                                  10, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr)
        return 1;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, argv[1]);
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, (std::string(argv[1]) + ".ready").c_str());
    SetEvent(ready);
    while (MsgWaitForMultipleObjects(1, &done, FALSE, 30000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
    DestroyWindow(window);
    return 0;
}
