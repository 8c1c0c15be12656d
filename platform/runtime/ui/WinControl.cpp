#include "sharedrt/ui/WinControl.h"

#include "FormToolTips.h"
#include "WindowDispatch.h"

#include "sharedrt/RtError.h"
#include "sharedrt/ui/AlignLayout.h"
#include "sharedrt/ui/Form.h"
#include "sharedrt/ui/GraphicControl.h"

#include <algorithm>

namespace rt::ui {
namespace {

// Child windows carry distinct identifiers, as WM_COMMAND expects.
UINT_PTR NextChildId()
{
    static UINT_PTR next = 1000;
    return ++next;
}

} // namespace

WinControl::WinControl(const ControlArgs& args, const WindowSpec& spec) : Control(args), spec_(spec)
{
    CreateHandle();
    RECT client{};
    GetClientRect(hwnd_, &client);
    lastClientWidth_ = client.right;
    lastClientHeight_ = client.bottom;
    UpdateShowing();
}

WinControl::~WinControl()
{
    tearingDown_ = true;
    StopDispatchTree();
    DestroyComponents();
    DestroyChildren();
    if (Form* form = ParentForm(); form && form->ToolTips() && hwnd_)
        form->ToolTips()->Forget(hwnd_);
    if (hwnd_) {
        HWND window = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(window);
    }
}

void WinControl::CreateHandle()
{
    if (spec_.systemClass)
        WindowDispatch::InitCommonControlsOnce();
    else
        WindowDispatch::RegisterClassOnce(spec_.className);
    const bool topLevel = IsTopLevel();
    HWND parentWindow = Parent() ? Parent()->Handle() : DetachedParentWindow();
    const Bounds b = GetBounds();
    HMENU id = topLevel ? nullptr : reinterpret_cast<HMENU>(NextChildId());
    // The runtime's own windows hold their children as a dialog holds its
    // controls: the dialog keys of a host reach into them.
    const DWORD exStyle = spec_.exStyle | (spec_.systemClass ? 0 : WS_EX_CONTROLPARENT);
    HWND window = CreateWindowExA(exStyle, spec_.className, Caption().c_str(), BaseStyle(), b.left, b.top,
                                  b.width, b.height, parentWindow, id, WindowDispatch::Instance(),
                                  spec_.systemClass ? nullptr : this);
    if (!window)
        throw Error(std::string("无法创建窗口：") + spec_.className);
    if (spec_.systemClass) {
        hwnd_ = window;
        WindowDispatch::Bind(window, this);
        systemProc_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowDispatch::Procedure)));
        dispatching_ = true;
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), FALSE);
    }
}

DWORD WinControl::BaseStyle() const noexcept
{
    DWORD style = spec_.style | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (!IsTopLevel())
        style |= WS_CHILD;
    if (Visible() && !spec_.topLevel)
        style |= WS_VISIBLE;
    if (!Enabled())
        style |= WS_DISABLED;
    return style;
}

bool WinControl::IsTopLevel() const noexcept { return spec_.topLevel && !Parent(); }

HWND WinControl::DetachedParentWindow() const { return WindowDispatch::ParkingWindow(); }

void WinControl::StopDispatch() noexcept
{
    if (!hwnd_ || !dispatching_)
        return;
    dispatching_ = false;
    if (systemProc_)
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
    WindowDispatch::Unbind(hwnd_);
    if (GetCapture() == hwnd_)
        ReleaseCapture();
}

void WinControl::StopDispatchTree() noexcept
{
    StopDispatch();
    for (Control* child : children_)
        if (auto* windowed = dynamic_cast<WinControl*>(child))
            windowed->StopDispatchTree();
}

void WinControl::DestroyChildren() noexcept
{
    while (!children_.empty())
        children_.back()->Free();
}

void WinControl::HandleDestroyed() noexcept
{
    WindowDispatch::Unbind(hwnd_);
    dispatching_ = false;
    hwnd_ = nullptr;
}

LRESULT WinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (systemProc_)
        return CallWindowProcA(systemProc_, hwnd_, message, wParam, lParam);
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void WinControl::InsertChild(Control* child)
{
    children_.push_back(child);
    if (child->GetAlign() != Align::None)
        Realign();
}

void WinControl::RemoveChild(Control* child) noexcept
{
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
    if (hot_ == child)
        hot_ = nullptr;
    if (focusedChild_ == child)
        focusedChild_ = nullptr;
    if (spacePressed_ == child)
        spacePressed_ = nullptr;
    if (pressed_ == child) {
        pressed_ = nullptr;
        if (hwnd_ && GetCapture() == hwnd_)
            ReleaseCapture();
    }
    if (!tearingDown_ && child->GetAlign() != Align::None && child->Visible()) {
        try {
            Realign();
        } catch (...) {
            ReportEventException();
        }
    }
}

void WinControl::SetParent(WinControl* parent)
{
    if (parent == Parent())
        return;
    if (Form* form = ParentForm(); form && form != this && form->ToolTips() && hwnd_)
        form->ToolTips()->Forget(hwnd_);
    Control::SetParent(parent);
    if (hwnd_) {
        ::SetParent(hwnd_, parent ? parent->Handle() : DetachedParentWindow());
        const Bounds b = GetBounds();
        settingBounds_ = true;
        SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
        settingBounds_ = false;
    }
    UpdateShowing();
}

int WinControl::ClientWidth() const noexcept
{
    RECT r{};
    if (hwnd_ && GetClientRect(hwnd_, &r))
        return r.right;
    return Width();
}

int WinControl::ClientHeight() const noexcept
{
    RECT r{};
    if (hwnd_ && GetClientRect(hwnd_, &r))
        return r.bottom;
    return Height();
}

void WinControl::SetClientSize(int width, int height)
{
    const int frameWidth = Width() - ClientWidth();
    const int frameHeight = Height() - ClientHeight();
    SetBounds({Left(), Top(), width + frameWidth, height + frameHeight});
}

RECT WinControl::LayoutArea() const
{
    return RECT{0, 0, ClientWidth(), ClientHeight()};
}

void WinControl::Realign()
{
    if (!hwnd_ || tearingDown_)
        return;
    if (aligning_) {
        realignPending_ = true;
        return;
    }
    ++aligning_;
    try {
        // A child that moves may move others (an aligned child changing its
        // own size); a few passes settle it.
        for (int pass = 0; pass < 8; ++pass) {
            realignPending_ = false;
            ArrangeChildren();
            if (!realignPending_)
                break;
        }
    } catch (...) {
        --aligning_;
        throw;
    }
    --aligning_;
}

void WinControl::ArrangeChildren()
{
    if (children_.empty())
        return;
    const std::vector<Control*> children = children_;
    std::vector<LayoutItem> items;
    items.reserve(children.size());
    for (const Control* child : children)
        items.push_back({child->align_, child->anchors_, child->bounds_, child->rightDistance_,
                         child->bottomDistance_, child->visible_});
    const RECT area = LayoutArea();
    const std::vector<Bounds> placed = ArrangeControls(
        items, {area.left, area.top, area.right - area.left, area.bottom - area.top}, ClientWidth(), ClientHeight());
    for (std::size_t i = 0; i < children.size(); ++i) {
        Control* child = children[i];
        // A handler run by an earlier move may have removed this child.
        if (std::find(children_.begin(), children_.end(), child) == children_.end())
            continue;
        if (child->bounds_ != placed[i])
            child->SetBoundsFromLayout(placed[i]);
    }
}

void WinControl::SyncBoundsFromWindow()
{
    if (!hwnd_ || IsIconic(hwnd_))
        return;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    if (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    bounds_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void WinControl::ClientSizeChanged()
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    if (client.right == lastClientWidth_ && client.bottom == lastClientHeight_)
        return;
    lastClientWidth_ = client.right;
    lastClientHeight_ = client.bottom;
    Realign();
    Resized();
    UpdateScrollBars();
}

void WinControl::Resized() { RunEvent(OnResize, *this); }

void WinControl::UpdateShowing()
{
    const bool now = Visible() && (Parent() ? Parent()->Showing() : ShowsWithoutParent());
    if (now != showing_) {
        showing_ = now;
        if (now)
            UpdateTabStopStyle();
        ShowingChanged(now);
    }
    const std::vector<Control*> children = children_;
    for (Control* child : children)
        if (std::find(children_.begin(), children_.end(), child) != children_.end())
            if (auto* windowed = dynamic_cast<WinControl*>(child))
                windowed->UpdateShowing();
}

void WinControl::ShowingChanged(bool) {}

bool WinControl::ShowsWithoutParent() const noexcept { return IsTopLevel(); }

bool WinControl::HandleReflected(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

void WinControl::KeyDown(std::uint16_t& key, ShiftState shift) { RunEvent(OnKeyDown, *this, key, shift); }

bool WinControl::Focused() const noexcept { return hwnd_ && GetFocus() == hwnd_; }

void WinControl::SetFocus()
{
    if (hwnd_)
        ::SetFocus(hwnd_);
}

Control* WinControl::ControlAt(int x, int y) const noexcept
{
    x += scrollX_;
    y += scrollY_;
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        Control* child = *it;
        if (dynamic_cast<GraphicControl*>(child) && child->Visible() && child->Enabled() &&
            child->GetBounds().Contains(x, y))
            return child;
    }
    return nullptr;
}

void WinControl::SetHot(Control* control)
{
    if (control == hot_)
        return;
    Control* old = hot_;
    hot_ = control;
    if (old)
        old->MouseLeave();
    if (control)
        control->MouseEnter();
    ResetToolTip();
}

void WinControl::ResetToolTip() noexcept
{
    if (Form* form = ParentForm(); form && form->ToolTips())
        form->ToolTips()->Pop();
}

std::string WinControl::HintAt(int x, int y) const
{
    const Control* control = ControlAt(x, y);
    return control ? control->Hint() : Hint();
}

void WinControl::SetWindowStyles(DWORD style, DWORD exStyle)
{
    if (!hwnd_)
        return;
    SetWindowLongPtrA(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinControl::Invalidate() noexcept
{
    if (hwnd_)
        InvalidateRect(hwnd_, nullptr, IsSystemClass() ? TRUE : FALSE);
}

void WinControl::BoundsChanged(const Bounds&)
{
    if (!hwnd_ || settingBounds_)
        return;
    const Bounds b = GetBounds();
    settingBounds_ = true;
    SetWindowPos(hwnd_, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
    settingBounds_ = false;
}

void WinControl::VisibleChanged()
{
    if (!Visible() && Parent() && Parent()->pressed_ == this)
        Parent()->pressed_ = nullptr;
    // Showing first: a form inside hears of it before it appears.
    UpdateShowing();
    // Placed before it appears: a window that fills its parent is sized
    // while nothing of it is on screen yet.
    if (Visible() && Parent() && GetAlign() != Align::None)
        Parent()->Realign();
    if (hwnd_)
        ShowWindow(hwnd_, Visible() ? SW_SHOWNA : SW_HIDE);
}

void WinControl::EnabledChanged()
{
    if (hwnd_)
        EnableWindow(hwnd_, Enabled() ? TRUE : FALSE);
    Invalidate();
}

void WinControl::CaptionChanged()
{
    if (hwnd_)
        SetWindowTextA(hwnd_, Caption().c_str());
    Control::CaptionChanged();
}

void WinControl::FontChanged()
{
    if (hwnd_ && IsSystemClass())
        SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(FontHandle()), TRUE);
    Control::FontChanged();
}

void WinControl::ColorChanged() { Invalidate(); }

void WinControl::ChangeScale(int to, int from)
{
    if (to <= 0 || from <= 0 || to == from)
        return;
    // The children first, each from its own place and distances; the
    // layout waits until this control has its new size too.
    ++aligning_;
    try {
        ScaleProperties(to, from);
        const std::vector<Control*> children = children_;
        for (Control* child : children)
            if (std::find(children_.begin(), children_.end(), child) != children_.end())
                child->ChangeScale(to, from);
        ApplyBounds(ScaledBounds(to, from), false);
        scaling_ = true;
        FontChanged();
        scaling_ = false;
    } catch (...) {
        scaling_ = false;
        --aligning_;
        throw;
    }
    --aligning_;
    Realign();
    UpdateScrollBars();
    Invalidate();
}

HBRUSH WinControl::ControlColor(HDC dc)
{
    const Color color = ContrastColor(GetColor(), kColorWindow);
    SetTextColor(dc, ResolveColor(ContrastColor(GetFont().color, kColorWindowText)));
    SetBkColor(dc, ResolveColor(color));
    if (!colorBrush_ || colorBrushFor_ != color) {
        colorBrush_.reset(CreateSolidBrush(ResolveColor(color)));
        colorBrushFor_ = color;
    }
    return colorBrush_.get();
}

} // namespace rt::ui
