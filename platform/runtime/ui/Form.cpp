#include "sharedrt/ui/Form.h"

#include "FormToolTips.h"
#include "WindowDispatch.h"

#include "sharedrt/AppObjects.h"

#include <cstring>

namespace rt::ui {
namespace {

DWORD FrameStyle(BorderStyle border, bool child) noexcept
{
    switch (border) {
    case BorderStyle::None: return child ? 0 : WS_POPUP;
    case BorderStyle::Single: return WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    case BorderStyle::Sizeable: return WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
    case BorderStyle::Dialog: return WS_CAPTION | WS_SYSMENU | WS_DLGFRAME;
    case BorderStyle::ToolWindow: return WS_CAPTION | WS_SYSMENU;
    case BorderStyle::SizeToolWin: return WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    }
    return 0;
}

DWORD FrameExStyle(BorderStyle border) noexcept
{
    switch (border) {
    case BorderStyle::Dialog: return WS_EX_DLGMODALFRAME;
    case BorderStyle::ToolWindow:
    case BorderStyle::SizeToolWin: return WS_EX_TOOLWINDOW;
    default: return 0;
    }
}

BorderStyle InitialBorderStyle(const FormArgs& args) noexcept
{
    return args.container ? BorderStyle::None : args.borderStyle;
}

WindowState InitialWindowState(const FormArgs& args) noexcept
{
    return args.container ? WindowState::Maximized : args.windowState;
}

WindowSpec FormSpec(const FormArgs& args)
{
    const bool child = args.control.parent != nullptr || args.container != nullptr;
    const BorderStyle border = InitialBorderStyle(args);
    return {args.className, FrameStyle(border, child), FrameExStyle(border), false, true};
}

// The client area that the designed frame leaves inside the designed
// bounds: a form made in its container starts with that size, so that its
// controls are laid out as they are in the designed window.
Bounds DesignedClientBounds(const FormArgs& args) noexcept
{
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, FrameStyle(args.borderStyle, false), FALSE, FrameExStyle(args.borderStyle));
    const Bounds& designed = args.control.bounds;
    return {designed.left, designed.top, designed.width - (frame.right - frame.left),
            designed.height - (frame.bottom - frame.top)};
}

ControlArgs FormControlArgs(const FormArgs& args)
{
    ControlArgs control = args.control;
    control.visible = false;
    if (args.container) {
        control.parent = args.container;
        control.align = Align::Client;
        control.bounds = DesignedClientBounds(args);
    }
    if (!control.font)
        control.font = Font{};
    if (!control.color)
        control.color = kColorBtnFace;
    return control;
}

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

HWND ApplicationWindow() noexcept
{
    Application* app = CurrentApplication();
    HWND window = app ? static_cast<HWND>(app->Handle()) : nullptr;
    return window && IsWindow(window) ? window : nullptr;
}

bool VisibleWindowRect(const WinControl* control, RECT& rect) noexcept
{
    return control && control->Handle() && IsWindowVisible(control->Handle()) &&
           GetWindowRect(control->Handle(), &rect);
}

} // namespace

Form::Form(const FormArgs& args)
    : WinControl(FormControlArgs(args), FormSpec(args)),
      borderStyle_(InitialBorderStyle(args)),
      windowState_(InitialWindowState(args)),
      designBorderStyle_(args.borderStyle),
      designWindowState_(args.windowState),
      designBounds_(args.control.bounds),
      position_(args.position),
      formStyle_(args.formStyle),
      keyPreview_(args.keyPreview)
{
    SetShowHint(args.showHint);
    if (formStyle_ == FormStyle::StayOnTop)
        SetFormStyle(formStyle_);
}

Form::~Form()
{
    WindowDispatch::ForgetRelease(*this);
    if (Application* app = CurrentApplication(); app && app->MainForm() == this)
        app->SetMainForm(nullptr);
    if (owningApplication_)
        owningApplication_->ForgetForm(this);
    tearingDown_ = true;
    StopDispatchTree();
    DestroyComponents();
    DestroyChildren();
    activeControl_ = nullptr;
    tips_.reset();
}

void Form::BeforeDestruction() noexcept
{
    if (!destroying_) {
        destroying_ = true;
        RunEvent(OnDestroy, *this);
    }
    // From here on no message reaches a handler of the (partly destroyed)
    // form or of its controls.
    StopDispatchTree();
    WinControl::BeforeDestruction();
}

int WindowDpi(HWND window) noexcept
{
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const GetDpiForWindowFn getDpiForWindow = [] {
        GetDpiForWindowFn function = nullptr;
        const FARPROC found = GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow");
        static_assert(sizeof found == sizeof function);
        std::memcpy(&function, &found, sizeof function);
        return function;
    }();
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignPixelsPerInch;
}

void Form::DoCreate()
{
    if (created_)
        return;
    created_ = true;
    try {
        ScaleToDpi(WindowDpi(hwnd_));
    } catch (...) {
        ReportEventException();
    }
    RunEvent(OnCreate, *this);
}

void Form::ScaleToDpi(int dpi)
{
    if (dpi > 0 && dpi != PixelsPerInch())
        ChangeScale(dpi, PixelsPerInch());
}

void Form::ScaleProperties(int to, int from)
{
    WinControl::ScaleProperties(to, from);
    designBounds_ = {designBounds_.left, designBounds_.top, MulDiv(designBounds_.width, to, from),
                     MulDiv(designBounds_.height, to, from)};
}

// A top-level form keeps its place on the screen.
Bounds Form::ScaledBounds(int to, int from) const noexcept
{
    const Bounds b = GetBounds();
    if (IsTopLevel())
        return {b.left, b.top, MulDiv(b.width, to, from), MulDiv(b.height, to, from)};
    return WinControl::ScaledBounds(to, from);
}

HWND Form::DetachedParentWindow() const { return ApplicationWindow(); }

void Form::Show()
{
    if (!Visible()) {
        SetVisible(true);
        return;
    }
    if (!hwnd_)
        return;
    if (IsTopLevel()) {
        if (IsIconic(hwnd_))
            ShowWindow(hwnd_, SW_RESTORE);
        SetWindowPos(hwnd_, formStyle_ == FormStyle::StayOnTop ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE);
    } else {
        BringWindowToTop(hwnd_);
    }
}

void Form::Hide() { SetVisible(false); }

void Form::Close()
{
    CloseAction action = CloseAction::Hide;
    if (OnClose) {
        try {
            OnClose(*this, action);
        } catch (...) {
            // A failing close handler keeps the form as it is.
            ReportEventException();
            return;
        }
    }
    if (action == CloseAction::None)
        return;
    if (Application* app = CurrentApplication(); app && app->MainForm() == this) {
        app->Terminate();
        return;
    }
    switch (action) {
    case CloseAction::Hide: Hide(); break;
    case CloseAction::Minimize: SetWindowState(WindowState::Minimized); break;
    case CloseAction::Free: Release(); break;
    case CloseAction::None: break;
    }
}

void Form::Release()
{
    if (hwnd_)
        PostMessageA(hwnd_, WindowDispatch::ReleaseMessage(), 0, 0);
    else if (WindowDispatch::IsBusy(*this))
        WindowDispatch::DeferRelease(*this);
    else
        Free();
}

void Form::SetParent(WinControl* parent)
{
    if (parent == Parent())
        return;
    Control::SetParent(parent);
    spec_.style = FrameStyle(borderStyle_, parent != nullptr);
    if (hwnd_) {
        const DWORD style = BaseStyle() | (Visible() ? WS_VISIBLE : 0);
        if (parent) {
            SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(style));
            ::SetParent(hwnd_, parent->Handle());
        } else {
            ::SetParent(hwnd_, nullptr);
            SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(style));
            SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ApplicationWindow()));
        }
        ApplyFrameStyle();
        const Bounds b = GetBounds();
        settingBounds_ = true;
        SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
        settingBounds_ = false;
        if (parent)
            parent->Realign();
    }
    UpdateShowing();
}

void Form::EmbedInto(WinControl* container)
{
    SetParent(container);
    SetAlign(Align::Client);
    SetBorderStyle(BorderStyle::None);
    SetWindowState(WindowState::Maximized);
    Show();
}

void Form::LeaveContainer()
{
    if (Parent() == nullptr)
        return;
    SetParent(nullptr);
    SetAlign(Align::None);
    SetBorderStyle(designBorderStyle_);
    SetWindowState(designWindowState_);
    SetBounds(designBounds_);
    placed_ = false;  // placed afresh by its next show
}

void Form::ApplyFrameStyle()
{
    spec_.style = FrameStyle(borderStyle_, Parent() != nullptr);
    spec_.exStyle = FrameExStyle(borderStyle_);
    if (!hwnd_)
        return;
    const DWORD current = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE));
    DWORD keep = WS_VISIBLE;
    if (IsTopLevel())
        keep |= WS_MAXIMIZE | WS_MINIMIZE;
    const DWORD currentEx = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE));
    SetWindowStyles(BaseStyle() | (current & keep), spec_.exStyle | (currentEx & (WS_EX_TOPMOST | WS_EX_CONTROLPARENT)));
}

void Form::SetBorderStyle(BorderStyle style)
{
    if (style == borderStyle_)
        return;
    borderStyle_ = style;
    ApplyFrameStyle();
}

void Form::SetWindowState(WindowState state)
{
    windowState_ = state;
    if (!hwnd_ || !IsTopLevel() || !Visible())
        return;
    switch (state) {
    case WindowState::Normal: ShowWindow(hwnd_, SW_RESTORE); break;
    case WindowState::Minimized: ShowWindow(hwnd_, SW_MINIMIZE); break;
    case WindowState::Maximized: ShowWindow(hwnd_, SW_MAXIMIZE); break;
    }
}

void Form::SetFormStyle(FormStyle style)
{
    formStyle_ = style;
    if (hwnd_ && IsTopLevel())
        SetWindowPos(hwnd_, style == FormStyle::StayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form::SetShowHint(bool on)
{
    if (on && !tips_ && hwnd_)
        tips_ = std::make_unique<FormToolTips>(hwnd_);
    else if (!on)
        tips_.reset();
}

HWND Form::ToolTipHandle() const noexcept
{
    if (!tips_)
        return nullptr;
    try {
        return tips_->Handle();
    } catch (...) {
        return nullptr;
    }
}

void Form::SetActiveControl(WinControl* control)
{
    activeControl_ = control;
    if (control && control->Handle() && hwnd_ && (GetActiveWindow() == GetAncestor(hwnd_, GA_ROOT)))
        ::SetFocus(control->Handle());
}

void Form::ControlRemoved(Control& control) noexcept
{
    if (activeControl_ == &control)
        activeControl_ = nullptr;
}

void Form::VisibleChanged()
{
    if (!IsTopLevel()) {
        WinControl::VisibleChanged();
        return;
    }
    if (Visible() && !placed_)
        PlaceForShow();
    // Showing first: the show event runs before the window appears (and may
    // hide the form again).
    UpdateShowing();
    if (!hwnd_)
        return;
    if (Visible())
        ShowWindowNow();
    else
        ShowWindow(hwnd_, SW_HIDE);
}

void Form::ShowingChanged(bool showing)
{
    if (showing)
        RunEvent(OnShow, *this);
    else
        RunEvent(OnHide, *this);
}

void Form::PlaceForShow()
{
    placed_ = true;
    if (position_ == FormPosition::Designed)
        return;
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT area = work;
    if (position_ != FormPosition::ScreenCenter) {
        Application* app = CurrentApplication();
        const WinControl* over = nullptr;
        if (position_ == FormPosition::OwnerFormCenter)
            over = dynamic_cast<const Form*>(Owner());
        if (!over && app && app->MainForm() != this)
            over = app->MainForm();
        RECT rect{};
        if (VisibleWindowRect(over, rect))
            area = rect;
    }
    int left = area.left + (area.right - area.left - Width()) / 2;
    int top = area.top + (area.bottom - area.top - Height()) / 2;
    // Keep the caption reachable.
    if (left + Width() > work.right)
        left = work.right - Width();
    if (top + Height() > work.bottom)
        top = work.bottom - Height();
    if (left < work.left)
        left = work.left;
    if (top < work.top)
        top = work.top;
    SetBounds({left, top, Width(), Height()});
}

void Form::ShowWindowNow()
{
    HWND owner = ApplicationWindow();
    if (owner != reinterpret_cast<HWND>(GetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT)) && owner != hwnd_)
        SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    int command = SW_SHOWNORMAL;
    if (windowState_ == WindowState::Maximized)
        command = SW_SHOWMAXIMIZED;
    else if (windowState_ == WindowState::Minimized)
        command = SW_SHOWMINIMIZED;
    ShowWindow(hwnd_, command);
    if (formStyle_ == FormStyle::StayOnTop)
        SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT Form::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        HandleActivate(wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        if (activeControl_ && activeControl_ != this && activeControl_->Handle() &&
            IsWindowVisible(activeControl_->Handle()) && IsWindowEnabled(activeControl_->Handle())) {
            ::SetFocus(activeControl_->Handle());
            return 0;
        }
        break;
    case WM_DPICHANGED_AFTERPARENT:
        ScaleToDpi(WindowDpi(hwnd_));
        return 0;
    case WM_DPICHANGED:
        if (IsTopLevel()) {
            ScaleToDpi(HIWORD(wParam));
            if (const auto* suggested = reinterpret_cast<const RECT*>(lParam))
                SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                             suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        break;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
        // High contrast on or off, other system colours: everything anew.
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        break;
    case WM_SIZE:
        if (IsTopLevel()) {
            if (wParam == SIZE_MAXIMIZED)
                windowState_ = WindowState::Maximized;
            else if (wParam == SIZE_MINIMIZED)
                windowState_ = WindowState::Minimized;
            else if (wParam == SIZE_RESTORED)
                windowState_ = WindowState::Normal;
        }
        break;
    default:
        break;
    }
    return WinControl::WindowProc(message, wParam, lParam);
}

void Form::HandleActivate(WPARAM wParam, LPARAM lParam)
{
    DefaultHandler(WM_ACTIVATE, wParam, lParam);
    if (LOWORD(wParam) != WA_INACTIVE && activeControl_ && activeControl_ != this && activeControl_->Handle() &&
        IsWindowVisible(activeControl_->Handle()) && IsWindowEnabled(activeControl_->Handle()))
        ::SetFocus(activeControl_->Handle());
}

} // namespace rt::ui
