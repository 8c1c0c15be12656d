#include "ui/HostNotices.h"

#include "host/HostServices.h"
#include "sharedrt/AppObjects.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace ui {

namespace {

// The module's own forms, which the search for the host's window passes
// over: class names compare without case, and the launcher view's class is
// the host's under another spelling.
std::vector<const rt::ui::Form*>& ModuleForms()
{
    static std::vector<const rt::ui::Form*> forms;
    return forms;
}

bool IsModuleWindow(HWND window)
{
    for (const rt::ui::Form* form : ModuleForms())
        if (form->Handle() == window)
            return true;
    return false;
}

} // namespace

ModuleFormRegistration::ModuleFormRegistration(const rt::ui::Form& form) : form_(form)
{
    ModuleForms().push_back(&form_);
}

ModuleFormRegistration::~ModuleFormRegistration()
{
    std::vector<const rt::ui::Form*>& forms = ModuleForms();
    forms.erase(std::remove(forms.begin(), forms.end(), &form_), forms.end());
}

HWND FindHostMainWindow()
{
    if (HWND main = static_cast<HWND>(host::MainFrameHandle()))
        return main;
    // The host loaded this module: its main window is one of this process's,
    // and never one of the module's own forms, whose class compares equal.
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, WSCBS_HOST_MAIN_WINDOW_CLASS, nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() && !IsModuleWindow(window))
            return window;
    }
    return nullptr;
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
