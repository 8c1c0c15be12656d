#include "WindowDispatch.h"

#include "sharedrt/AppObjects.h"
#include "sharedrt/RtError.h"
#include "sharedrt/ui/Form.h"
#include "sharedrt/ui/WinControl.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace rt::ui {
namespace {

const char kControlProperty[] = "SharedRt.Control";
const char kParkingClass[] = "SharedRt.Parking";

// Controls whose WindowProc is running, outermost first.
std::vector<WinControl*> g_activeFrames;
// Forms whose release came while they were busy.
std::vector<Form*> g_deferredReleases;

bool IsInside(const Control* control, const Control* ancestor) noexcept
{
    for (; control; control = control->Parent())
        if (control == ancestor)
            return true;
    return false;
}

class ActiveFrame {
public:
    explicit ActiveFrame(WinControl* control) { g_activeFrames.push_back(control); }
    ~ActiveFrame()
    {
        g_activeFrames.pop_back();
        if (g_activeFrames.empty() && !g_deferredReleases.empty()) {
            // Nothing of theirs is running any more: ask again, through the
            // loop, so that the callers of this message finish first.
            std::vector<Form*> pending;
            pending.swap(g_deferredReleases);
            for (Form* form : pending) {
                if (form->Handle())
                    PostMessageA(form->Handle(), WindowDispatch::ReleaseMessage(), 0, 0);
                else
                    form->Free();
            }
        }
    }
    ActiveFrame(const ActiveFrame&) = delete;
    ActiveFrame& operator=(const ActiveFrame&) = delete;
};

void HandleRelease(WinControl* control)
{
    auto* form = dynamic_cast<Form*>(control);
    if (!form)
        return;
    if (WindowDispatch::IsBusy(*form))
        WindowDispatch::DeferRelease(*form);
    else
        form->Free();
}

} // namespace

HINSTANCE WindowDispatch::Instance() noexcept
{
    static HINSTANCE instance = [] {
        HMODULE module = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&WindowDispatch::Procedure), &module);
        return module;
    }();
    return instance;
}

void WindowDispatch::RegisterClassOnce(const char* className)
{
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(Instance(), className, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &WindowDispatch::Procedure;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.lpszClassName = className;
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Error(std::string("无法注册窗口类：") + className);
}

HWND WindowDispatch::ParkingWindow()
{
    static HWND parking = nullptr;
    if (parking && IsWindow(parking))
        return parking;
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExA(Instance(), kParkingClass, &existing)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &DefWindowProcA;
        wc.hInstance = Instance();
        wc.lpszClassName = kParkingClass;
        RegisterClassExA(&wc);
    }
    parking = CreateWindowExA(WS_EX_TOOLWINDOW, kParkingClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              Instance(), nullptr);
    if (!parking)
        throw Error("无法创建窗口。");
    return parking;
}

void WindowDispatch::InitCommonControlsOnce() noexcept
{
    static const bool done = [] {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)done;
}

void WindowDispatch::Bind(HWND window, WinControl* control) noexcept
{
    SetPropA(window, kControlProperty, control);
}

void WindowDispatch::Unbind(HWND window) noexcept { RemovePropA(window, kControlProperty); }

WinControl* WindowDispatch::ControlOf(HWND window) noexcept
{
    return static_cast<WinControl*>(GetPropA(window, kControlProperty));
}

UINT WindowDispatch::ReleaseMessage() noexcept
{
    static const UINT message = RegisterWindowMessageA("SharedRt.ReleaseForm");
    return message;
}

bool WindowDispatch::IsBusy(const Form& form) noexcept
{
    return std::any_of(g_activeFrames.begin(), g_activeFrames.end(),
                       [&](const WinControl* c) { return IsInside(c, &form); });
}

void WindowDispatch::DeferRelease(Form& form)
{
    if (std::find(g_deferredReleases.begin(), g_deferredReleases.end(), &form) == g_deferredReleases.end())
        g_deferredReleases.push_back(&form);
}

void WindowDispatch::ForgetRelease(const Form& form) noexcept
{
    g_deferredReleases.erase(std::remove(g_deferredReleases.begin(), g_deferredReleases.end(), &form),
                             g_deferredReleases.end());
}

LRESULT CALLBACK WindowDispatch::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WinControl* control = nullptr;
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        control = static_cast<WinControl*>(create->lpCreateParams);
        if (control) {
            control->hwnd_ = window;
            control->dispatching_ = true;
            Bind(window, control);
        }
    } else {
        control = ControlOf(window);
    }
    if (!control || !control->dispatching_)
        return DefWindowProcA(window, message, wParam, lParam);

    // Nothing may unwind into Windows from here.
    try {
        if (message == ReleaseMessage()) {
            HandleRelease(control);
            return 0;
        }
        ActiveFrame frame(control);
        return control->WindowProc(message, wParam, lParam);
    } catch (...) {
        if (Application* app = CurrentApplication())
            app->HandleException();
        return 0;
    }
}

} // namespace rt::ui
