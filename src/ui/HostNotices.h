#pragma once
// The window messages between a module form and the host's main window.
// All are sent (the host has handled each before the call returns); their
// results are not used. With no host main window nothing is sent.
#include "sharedrt/ui/Form.h"

#include <windows.h>

#include <string>

namespace ui {

// Copy-data kinds, form -> host.
inline constexpr ULONG_PTR kFormShownKind = 1282;   // a form was placed and shown
inline constexpr ULONG_PTR kFormClosedKind = 1302;  // a form was destroyed
// Plain messages.
inline constexpr UINT kHelpRequestMessage = 1296;   // form -> host: F1
inline constexpr UINT kCloseFormMessage = 1280;     // host -> form: close
inline constexpr UINT kSkinChangedMessage = 1303;   // host -> form: re-apply the skin

// Window class of the host's main window.
inline constexpr const char* kHostMainWindowClass = "Tfrm_MainFrame";

// The host's main window: GetMainFrameHandle, and when that gives none, the
// top-level window of class "Tfrm_MainFrame" of this process that is not a
// form of this module; null when neither is there.
HWND FindHostMainWindow();

// Marks a form as the module's own for the life of the object.
class ModuleFormRegistration {
public:
    explicit ModuleFormRegistration(const rt::ui::Form& form);
    ModuleFormRegistration(const ModuleFormRegistration&) = delete;
    ModuleFormRegistration& operator=(const ModuleFormRegistration&) = delete;
    ~ModuleFormRegistration();

private:
    const rt::ui::Form& form_;
};

// Sends `message` with wParam 0 and lParam 0 to the host's main window.
void NotifyHost(UINT message);

// Sends WM_COPYDATA to the host's main window: wParam the application
// window handle, the record's kind `kind`, its data a fresh copy of `text`
// with its NUL, its size the text's length + 1. The copy is released
// afterwards.
void SendHostText(ULONG_PTR kind, const std::string& text);

} // namespace ui
