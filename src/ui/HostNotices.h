#pragma once
// Sending the window messages of the contract header (wscbs/wscbs.h:
// numbers, payloads, copy-data texts) to the host's main window. All are
// sent (the host has handled each before the call returns); their results
// are not used. With no host main window nothing is sent.
#include "sharedrt/ui/Form.h"
#include "wscbs/wscbs.h"

#include <windows.h>

#include <string>

namespace ui {

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
