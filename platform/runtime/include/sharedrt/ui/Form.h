#pragma once
// A form: a top-level window of the application, or a borderless child of a
// container control when it is embedded. Top-level forms are owned by the
// application's window (rt::Application::Handle()).
//
// Create forms with CreateForm, which runs the create event once the whole
// object (derived parts included) is built, and destroy them with Free() or,
// from inside one of their own event handlers, with Release():
//
//   class Tfrm_Demo : public rt::ui::Form {
//   public:
//       Tfrm_Demo() : Form({.control = {.name = "frm_Demo", .bounds = {0, 0, 542, 373},
//                                       .caption = "frm_Demo"},
//                           .keyPreview = true})
//       {
//           panel_ = new rt::ui::Panel({.control = {.owner = this, .parent = this,
//                                                   .align = rt::ui::Align::Client}});
//           OnCreate = [this](rt::ui::Component&) { ... };
//           OnShow = [this](rt::ui::Component&) { ... };
//       }
//   };
//   auto* form = rt::ui::CreateForm<Tfrm_Demo>();
//   form->EmbedInto(container);   // or form->Show();
//
// Events:
//   OnCreate  - once, from CreateForm.
//   OnShow    - each time the form turns from hidden to shown: when it or a
//               container it sits in is shown after having been hidden (the
//               first embedding or Show() included). A show request for a
//               form that is already on screen does not raise it. Raised
//               just before the window appears.
//   OnHide    - each time it turns from shown to hidden.
//   OnResize  - after each size change (children already placed again).
//   OnClose   - from Close(); the handler decides the close action, which
//               starts as Hide.
//   OnDestroy - once, from Free() (also when the owner, the parent or a
//               release frees the form), while the whole form still exists.
//   OnKeyDown - with key preview on, every key pressed in any windowed
//               control of the form reaches the form first; the key then
//               goes on to the focused control unless a handler set it to 0.
//
// Dots per inch: a form is designed at 96. CreateForm scales it to its
// window's DPI before OnCreate (rectangles, fonts, pictures), and a form
// lays itself out again when its window's DPI changes (WM_DPICHANGED, and
// WM_DPICHANGED_AFTERPARENT inside a container). At 96 nothing changes.
// The runtime never changes the process's DPI mode: that is the host's.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/WinControl.h"

#include <memory>
#include <utility>

namespace rt {
class Application;
}

namespace rt::ui {

class FormToolTips;

enum class BorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class WindowState { Normal, Minimized, Maximized };
// Where a top-level form appears the first time it is shown.
enum class FormPosition { Designed, ScreenCenter, MainFormCenter, OwnerFormCenter };
enum class FormStyle { Normal, StayOnTop };

struct FormArgs {
    ControlArgs control;         // visible is ignored: a form starts hidden
    const char* className = "TForm"; // window class; names compare without case
    BorderStyle borderStyle = BorderStyle::Sizeable;
    WindowState windowState = WindowState::Normal;
    FormPosition position = FormPosition::Designed;
    FormStyle formStyle = FormStyle::Normal;
    bool keyPreview = false;
    bool showHint = false;
    // When set, the form is made inside this container the way EmbedInto
    // leaves it (a borderless, maximised child window filling the
    // container), still hidden and with the client area of its designed
    // window until it is shown: its window is never a top-level one that
    // then has to move. The
    // designed border, state and size stay those of the arguments; they
    // come back when the form leaves the container.
    WinControl* container = nullptr;
};

class SHAREDRT_API Form : public WinControl {
public:
    explicit Form(const FormArgs& args);
    ~Form() override;

    // Scales the form to its window's DPI, then runs OnCreate once
    // (CreateForm calls it).
    void DoCreate();
    // Lays the form out for `dpi` dots per inch (from the one it has now).
    void ScaleToDpi(int dpi);

    // Shows the form and brings it to the front. A top-level form takes its
    // window state and, the first time, its position.
    void Show() override;
    void Hide() override;
    // The close request: OnClose decides the action (Hide unless changed);
    // Free releases the form (see Release). Closing the application's main
    // form (with any action but None) ends the application's message loop.
    void Close();
    // Destroys the form later: a release request is posted to its window,
    // and the form is freed when the message loop handles it, once no
    // message of the form or of its controls is being handled any more.
    void Release();

    // Embedding: the form becomes a child window of `parent` (null: a
    // top-level window again).
    void SetParent(WinControl* parent) override;
    // Makes the form fill `container`: parent, client alignment, no border,
    // maximised, shown.
    void EmbedInto(WinControl* container);
    // Takes an embedded form out of its container: a top-level window again
    // with the border, size and window state it was designed with. A form
    // that is not embedded is left as it is.
    void LeaveContainer();

    BorderStyle GetBorderStyle() const noexcept { return borderStyle_; }
    void SetBorderStyle(BorderStyle style);
    WindowState GetWindowState() const noexcept { return windowState_; }
    void SetWindowState(WindowState state);
    // Applied when a top-level form turns from hidden to shown, once per
    // setting (the user may move the form afterwards).
    FormPosition GetPosition() const noexcept { return position_; }
    void SetPosition(FormPosition position) noexcept
    {
        position_ = position;
        placed_ = false;
    }
    FormStyle GetFormStyle() const noexcept { return formStyle_; }
    void SetFormStyle(FormStyle style);
    bool KeyPreview() const noexcept { return keyPreview_; }
    void SetKeyPreview(bool on) noexcept { keyPreview_ = on; }

    // Tool tips for the controls of this form (not of forms embedded in
    // it): one tool-tip window per form, made when a tip is first due (the
    // mouse over one of its windows) or its handle is asked for; each
    // control only holds its hint.
    bool ShowHint() const noexcept { return tips_ != nullptr; }
    void SetShowHint(bool on);
    // The tool-tip window (made now if it is not there yet), or null while
    // tool tips are off.
    HWND ToolTipHandle() const noexcept;

    // The windowed control of this form that has (or last had) the focus.
    WinControl* ActiveControl() const noexcept { return activeControl_; }
    void SetActiveControl(WinControl* control);

    NotifyEvent OnCreate;
    NotifyEvent OnShow;
    NotifyEvent OnHide;
    CloseEvent OnClose;
    NotifyEvent OnDestroy;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // WM_ACTIVATE: the toolkit's activation handling (focus goes back to the
    // active control). Override to add to it; call this version first.
    virtual void HandleActivate(WPARAM wParam, LPARAM lParam);
    void ShowingChanged(bool showing) override;
    void VisibleChanged() override;
    void ScaleProperties(int to, int from) override;
    Bounds ScaledBounds(int to, int from) const noexcept override;
    void BeforeDestruction() noexcept override;
    HWND DetachedParentWindow() const override;

private:
    friend class WinControl;
    friend class Control;
    friend struct WindowDispatch;
    friend class rt::Application;
    void ApplyFrameStyle();
    void PlaceForShow();
    void ShowWindowNow();
    FormToolTips* ToolTips() const noexcept { return tips_.get(); }
    void ControlRemoved(Control& control) noexcept;

    BorderStyle borderStyle_;
    WindowState windowState_;
    const BorderStyle designBorderStyle_;
    const WindowState designWindowState_;
    Bounds designBounds_;
    FormPosition position_;
    FormStyle formStyle_;
    bool keyPreview_;
    bool created_ = false;
    bool destroying_ = false;
    bool placed_ = false;
    WinControl* activeControl_ = nullptr;
    std::unique_ptr<FormToolTips> tips_;
    Application* owningApplication_ = nullptr;  // set by Application::OwnForm
};

// The dots per inch of a window: GetDpiForWindow where the system has it
// (looked up at run time), else the screen's LOGPIXELSY.
SHAREDRT_API int WindowDpi(HWND window) noexcept;

// Creates a form of class F and runs its create event.
template <typename F, typename... Args>
F* CreateForm(Args&&... args)
{
    F* form = new F(std::forward<Args>(args)...);
    form->DoCreate();
    return form;
}

} // namespace rt::ui
#endif
