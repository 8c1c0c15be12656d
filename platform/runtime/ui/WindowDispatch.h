#pragma once
// The runtime's one window procedure and what goes with it: binding objects
// to windows, window classes, the release request of forms, and the record
// of which controls are handling a message right now.
#include <windows.h>

namespace rt::ui {

class WinControl;
class Form;

struct WindowDispatch {
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The runtime's module: instance of its window classes.
    static HINSTANCE Instance() noexcept;
    // Registers a window class of the runtime once (names compare without
    // case, as Windows does).
    static void RegisterClassOnce(const char* className);
    // A hidden window that holds windowed controls without a parent.
    static HWND ParkingWindow();
    // comctl32's classes (tool bar, tool tips).
    static void InitCommonControlsOnce() noexcept;

    // Binding of a window to its object.
    static void Bind(HWND window, WinControl* control) noexcept;
    static void Unbind(HWND window) noexcept;
    static WinControl* ControlOf(HWND window) noexcept;

    // The registered message that asks a form to free itself.
    static UINT ReleaseMessage() noexcept;
    // True while a message of `form` or of any control inside it is being
    // handled (outside the current release request).
    static bool IsBusy(const Form& form) noexcept;
    static void DeferRelease(Form& form);
    static void ForgetRelease(const Form& form) noexcept;
};

} // namespace rt::ui
