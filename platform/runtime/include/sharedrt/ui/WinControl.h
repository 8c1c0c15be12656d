#pragma once
// A control with a window of its own (form, panel, tool bar, edit). It hosts
// child controls: windowed children are child windows; graphic children have
// no window and are painted by this control, which also routes the mouse to
// them (hover, press, click), sets their cursor and serves their tool tips.
//
// The window is created with the object and destroyed with it. The object is
// bound to its window once, through one window procedure of the runtime;
// WindowProc is the place to change how messages are handled (call the base
// version for everything you do not handle yourself). An exception escaping
// WindowProc is shown by the application's error display.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/UniqueHandle.h"
#include "sharedrt/ui/Control.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rt::ui {

struct WindowDispatch;

// What window a kind creates.
struct WindowSpec {
    // A class the runtime registers for the kind ("TPanel"), or a window
    // class of Windows ("EDIT") when systemClass is set; such windows are
    // subclassed and paint and handle the mouse themselves.
    const char* className = nullptr;
    DWORD style = 0;   // besides WS_CHILD, WS_VISIBLE, WS_DISABLED and clipping
    DWORD exStyle = 0;
    bool systemClass = false;
    bool topLevel = false; // a form: top-level when it has no parent
};

// Input-method modes, with the numbers the host's components use.
enum class ImeMode { Disable = 0, Close = 1, Open = 2, DontCare = 3, Chinese = 9 };

class SHAREDRT_API WinControl : public Control {
public:
    ~WinControl() override;

    // Null only after Windows destroyed the window behind the toolkit's back
    // (for example with a foreign parent).
    HWND Handle() const noexcept { return hwnd_; }

    // Children (windowed and graphic) in creation order, which is also the
    // paint order of the graphic ones: later ones are drawn on top.
    const std::vector<Control*>& Controls() const noexcept { return children_; }

    int ClientWidth() const noexcept;
    int ClientHeight() const noexcept;
    // Sets the outer size so that the client area gets this size.
    void SetClientSize(int width, int height);

    void SetParent(WinControl* parent) override;

    // Visible, and every parent visible: the control is on screen (or would
    // be, were nothing covering it).
    bool Showing() const noexcept { return showing_; }

    // Places aligned and anchored children again (done on every size change).
    void Realign();

    // The topmost visible and enabled graphic child at a client point.
    Control* ControlAt(int x, int y) const noexcept;
    // The graphic child under the mouse, if any.
    Control* HotControl() const noexcept { return hot_; }

    bool Focused() const noexcept;
    virtual void SetFocus();

    ImeMode GetImeMode() const noexcept { return imeMode_; }
    void SetImeMode(ImeMode mode) { imeMode_ = mode; }
    // The input method (by its description) to switch to on focus; empty
    // keeps the current one.
    const std::string& ImeName() const noexcept { return imeName_; }
    void SetImeName(std::string name) { imeName_ = std::move(name); }

    void Invalidate() noexcept override;

    void ChangeScale(int to, int from) override;

    // Keyboard focus among the graphic children that are tab stops: the
    // window has the focus for them, Tab, Shift+Tab and the arrow keys move
    // it in reading order (rows from the top, left to right in a row;
    // hidden and disabled ones passed over), Enter and Space click the one
    // that has it, under the rules of a mouse click. Its focus rectangle
    // shows only after the keyboard was used (and not while the system's
    // user-interface state hides focus cues). Tab past the last one goes to
    // the next tab stop of the top-level window, or round when there is none.
    Control* FocusedChild() const noexcept { return focusedChild_; }
    // Gives the focus to a graphic tab stop (the window takes the focus).
    void FocusChild(Control* child, bool byKeyboard);
    // True when a graphic child is a tab stop: the window itself is then one.
    bool HasTabStops() const noexcept;
    // The graphic children with an accessible role, visible ones, in reading
    // order: the children of the window's accessible object (child id =
    // position + 1).
    std::vector<Control*> AccessibleChildren() const;
    bool HasAccessibleChildren() const noexcept;
    // The child id of an accessible child (0 when it is none).
    long AccessibleIdOf(const Control* child) const;
    // The visible accessible child at a client point, or null.
    Control* AccessibleChildAt(int x, int y) const;
    // Clicks `child` later, from the message loop, if it is still a visible
    // and enabled child then (an accessible default action).
    void RequestClick(const Control* child);
    // Tells assistive technology of a change of `child` (null: of the
    // window's own object).
    void NotifyAccessible(DWORD event, const Control* child) const noexcept;

    // Scrolling (a panel made with autoScroll): when the client area is
    // smaller than the content, that is the right and bottom edges of the
    // children placed by position (not aligned, not anchored to the right or
    // bottom edge), scroll bars show and the graphic children move with
    // them. Bounds stay in content coordinates.
    POINT ScrollPosition() const noexcept { return POINT{scrollX_, scrollY_}; }
    void ScrollTo(int x, int y);
    // The content's size, or the client area where that is larger.
    SIZE ScrollArea() const noexcept;
    // Scrolls so that the child is wholly in view (as far as it fits).
    void ScrollIntoView(const Control& child);

    // Raised each time the window receives / loses the input focus, with the
    // control as sender.
    NotifyEvent OnEnter;
    NotifyEvent OnExit;
    // Raised after a size change, once the children have been placed again.
    NotifyEvent OnResize;
    // Key presses on this window (after the form's key preview).
    KeyEvent OnKeyDown;

protected:
    WinControl(const ControlArgs& args, const WindowSpec& spec);

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window class's own handling (DefWindowProc, or the subclassed
    // system class's procedure).
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

    // Own classes: the background, then every visible graphic child clipped
    // to its rectangle. `dc` covers the client area.
    virtual void PaintWindow(HDC dc);
    virtual void PaintBackground(HDC dc, const RECT& client);
    // The part of the client area that aligned children share.
    virtual RECT LayoutArea() const;
    // After a size change and the realignment: runs OnResize.
    virtual void Resized();
    // Showing() changed (this control or a parent was shown or hidden).
    virtual void ShowingChanged(bool showing);
    // WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR* that this control's window sent
    // to its parent, handed back to the control. True: handled, `result`
    // is the answer.
    virtual bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Runs OnKeyDown.
    virtual void KeyDown(std::uint16_t& key, ShiftState shift);
    // The tool-tip text for a client point: the hint of the graphic child
    // there, else the control's own.
    virtual std::string HintAt(int x, int y) const;
    // Hides a shown tool tip of the form, so that the next one asks for its
    // text again (the part under the mouse changed).
    void ResetToolTip() noexcept;

    // Replaces the window's style bits (frame changes take effect at once).
    void SetWindowStyles(DWORD style, DWORD exStyle);
    DWORD BaseStyle() const noexcept;
    bool IsSystemClass() const noexcept { return spec_.systemClass; }
    bool IsTopLevel() const noexcept;
    // Works out Showing() again for this control and its windowed children.
    void UpdateShowing();
    // Scroll bars with the content (a panel with autoScroll).
    void SetAutoScroll(bool on);
    // A child's place or visibility changed.
    void ContentChanged();
    // Whether this control, with no parent control, is on screen when
    // visible: a top-level window is; a control placed into a window of the
    // host's own says so too (HostWindowContainer).
    virtual bool ShowsWithoutParent() const noexcept;
    // The window parent for a control without a parent control.
    virtual HWND DetachedParentWindow() const;

    void BoundsChanged(const Bounds& old) override;
    void VisibleChanged() override;
    void EnabledChanged() override;
    void CaptionChanged() override;
    void FontChanged() override;
    void ColorChanged() override;

private:
    friend struct WindowDispatch;
    friend class Control;
    friend class Form;

    void CreateHandle();
    void StopDispatch() noexcept;
    void StopDispatchTree() noexcept;
    void DestroyChildren() noexcept;
    void ClientSizeChanged();
    void FocusEntered();
    void HandleDestroyed() noexcept;
    void InsertChild(Control* child);
    void RemoveChild(Control* child) noexcept;
    void ArrangeChildren();
    void SyncBoundsFromWindow();
    void SetHot(Control* control);
    void RouteMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam);
    bool AnswerToolTip(LPARAM lParam);
    bool HandleKeyDown(WPARAM& wParam);
    bool SetMouseCursor(WPARAM wParam, LPARAM lParam);
    void PaintMessage();
    HBRUSH ControlColor(HDC dc);
    bool NavigateKey(WORD key, LPARAM data);
    bool MoveFocus(int step, bool wrap);
    bool TabOut(bool back);
    void ClickFocused();
    bool ShowsFocusCues() const noexcept;
    void InvalidateFocusRect() noexcept;
    void KeyboardFocusEntered();
    LRESULT DialogCode(const MSG* message) const;
    std::vector<Control*> TabOrder() const;
    SIZE ContentExtent() const noexcept;
    void UpdateScrollBars();
    void ScrollMessage(int bar, WORD request);
    void UpdateTabStopStyle();
    bool HandleFocusMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleScrollMessage(UINT message, WPARAM wParam, LRESULT& result);

    WindowSpec spec_;
    HWND hwnd_ = nullptr;
    WNDPROC systemProc_ = nullptr;
    bool dispatching_ = false; // bound to its window
    bool tearingDown_ = false;
    std::vector<Control*> children_;
    Control* hot_ = nullptr;
    Control* pressed_ = nullptr;
    bool pressedSelf_ = false;
    bool trackingLeave_ = false;
    bool showing_ = false;
    bool settingBounds_ = false;
    int aligning_ = 0;
    bool realignPending_ = false;
    int lastClientWidth_ = -1;
    int lastClientHeight_ = -1;
    int lastMouseX_ = 0;
    int lastMouseY_ = 0;
    std::string toolTipText_;
    ImeMode imeMode_ = ImeMode::DontCare;
    std::string imeName_;
    unique_hbrush colorBrush_;
    Color colorBrushFor_ = 0;
    Control* focusedChild_ = nullptr;
    Control* spacePressed_ = nullptr;
    bool focusCues_ = false;
    bool autoScroll_ = false;
    bool updatingScroll_ = false;
    int scrollX_ = 0;
    int scrollY_ = 0;
};

} // namespace rt::ui
#endif
