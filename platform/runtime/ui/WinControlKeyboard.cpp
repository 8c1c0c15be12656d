// A windowed control's graphic children for the keyboard and for assistive
// technology: the focus among the tab stops, the keys that move and use it,
// the focus rectangle, and the children as oleacc sees them.
#include "sharedrt/ui/WinControl.h"

#include "WindowDispatch.h"

#include "sharedrt/ui/Form.h"
#include "sharedrt/ui/GraphicControl.h"

#include <oleacc.h>

#include <algorithm>

namespace rt::ui {
namespace {

bool IsGraphic(const Control* control) noexcept { return dynamic_cast<const GraphicControl*>(control) != nullptr; }

bool Focusable(const Control* control) noexcept
{
    return control && control->TabStop() && control->Visible() && control->Enabled();
}

// Rows from the top (a control joins a row its vertical extent overlaps),
// left to right within a row.
std::vector<Control*> ReadingOrder(std::vector<Control*> controls)
{
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Control* a, const Control* b) { return a->Top() < b->Top(); });
    std::vector<Control*> ordered;
    std::size_t rowStart = 0;
    int rowBottom = 0;
    for (std::size_t i = 0; i <= controls.size(); ++i) {
        if (i < controls.size() && i > rowStart && controls[i]->Top() < rowBottom) {
            rowBottom = std::max(rowBottom, controls[i]->GetBounds().Bottom());
            continue;
        }
        if (i > rowStart) {
            std::stable_sort(controls.begin() + static_cast<std::ptrdiff_t>(rowStart),
                             controls.begin() + static_cast<std::ptrdiff_t>(i),
                             [](const Control* a, const Control* b) { return a->Left() < b->Left(); });
            ordered.insert(ordered.end(), controls.begin() + static_cast<std::ptrdiff_t>(rowStart),
                           controls.begin() + static_cast<std::ptrdiff_t>(i));
        }
        if (i < controls.size()) {
            rowStart = i;
            rowBottom = controls[i]->GetBounds().Bottom();
        }
    }
    return ordered;
}

bool Usable(HWND window) noexcept
{
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// The tab stops inside `parent` in the dialog manager's order: its child
// windows in their order, the children of a control parent in its place.
void CollectTabStops(HWND parent, std::vector<HWND>& stops)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!Usable(child))
            continue;
        if (GetWindowLongPtrA(child, GWL_STYLE) & WS_TABSTOP)
            stops.push_back(child);
        else if (GetWindowLongPtrA(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)
            CollectTabStops(child, stops);
    }
}

UINT ClickRequestMessage() noexcept
{
    static const UINT message = RegisterWindowMessageA("SharedRt.ClickChild");
    return message;
}

} // namespace

bool WinControl::HasTabStops() const noexcept
{
    return std::any_of(children_.begin(), children_.end(),
                       [](const Control* c) { return IsGraphic(c) && c->TabStop(); });
}

void WinControl::UpdateTabStopStyle()
{
    if (!hwnd_ || !HasTabStops())
        return;
    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    if (!(style & WS_TABSTOP))
        SetWindowLongPtrA(hwnd_, GWL_STYLE, style | WS_TABSTOP);
}

std::vector<Control*> WinControl::TabOrder() const
{
    std::vector<Control*> stops;
    for (Control* child : children_)
        if (IsGraphic(child) && child->TabStop())
            stops.push_back(child);
    return ReadingOrder(std::move(stops));
}

std::vector<Control*> WinControl::AccessibleChildren() const
{
    std::vector<Control*> shown;
    for (Control* child : children_)
        if (IsGraphic(child) && child->Visible() && child->AccessibleRole() != 0)
            shown.push_back(child);
    return ReadingOrder(std::move(shown));
}

bool WinControl::HasAccessibleChildren() const noexcept
{
    return std::any_of(children_.begin(), children_.end(),
                       [](const Control* c) { return IsGraphic(c) && c->AccessibleRole() != 0; });
}

long WinControl::AccessibleIdOf(const Control* child) const
{
    if (!child)
        return 0;
    const std::vector<Control*> children = AccessibleChildren();
    const auto found = std::find(children.begin(), children.end(), child);
    return found == children.end() ? 0 : static_cast<long>(found - children.begin()) + 1;
}

Control* WinControl::AccessibleChildAt(int x, int y) const
{
    x += scrollX_;
    y += scrollY_;
    // The topmost in paint order.
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        if (IsGraphic(*it) && (*it)->Visible() && (*it)->AccessibleRole() != 0 && (*it)->GetBounds().Contains(x, y))
            return *it;
    return nullptr;
}

void WinControl::NotifyAccessible(DWORD event, const Control* child) const noexcept
{
    if (!hwnd_ || tearingDown_)
        return;
    try {
        const long id = child ? AccessibleIdOf(child) : CHILDID_SELF;
        if (child && id == 0)
            return;
        NotifyWinEvent(event, hwnd_, OBJID_CLIENT, id);
    } catch (...) {
        // Nobody is told; the change itself stands.
    }
}

void WinControl::RequestClick(const Control* child)
{
    if (hwnd_)
        PostMessageA(hwnd_, ClickRequestMessage(), 0, reinterpret_cast<LPARAM>(child));
}

bool WinControl::ShowsFocusCues() const noexcept
{
    if (!focusCues_ || !Focused())
        return false;
    return !(SendMessageA(hwnd_, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

void WinControl::InvalidateFocusRect() noexcept
{
    if (!hwnd_ || !focusedChild_)
        return;
    RECT r = focusedChild_->FocusRect();
    InflateRect(&r, 1, 1);
    OffsetRect(&r, -scrollX_, -scrollY_);
    InvalidateRect(hwnd_, &r, FALSE);
}

void WinControl::FocusChild(Control* child, bool byKeyboard)
{
    if (child && (std::find(children_.begin(), children_.end(), child) == children_.end() || !child->TabStop()))
        return;
    InvalidateFocusRect();
    focusedChild_ = child;
    if (byKeyboard && !focusCues_) {
        focusCues_ = true;
        // The system's state follows: the window and its parents show cues.
        SendMessageA(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    }
    if (child)
        ScrollIntoView(*child);
    InvalidateFocusRect();
    if (hwnd_ && GetFocus() != hwnd_)
        ::SetFocus(hwnd_); // WM_SETFOCUS tells of the child
    else
        NotifyAccessible(EVENT_OBJECT_FOCUS, child);
}

// The window got the focus (WM_SETFOCUS). Tabbed into, it shows cues and
// gives the focus to its first tab stop (its last with Shift).
void WinControl::KeyboardFocusEntered()
{
    if (!HasTabStops())
        return;
    UpdateTabStopStyle();
    if (GetKeyState(VK_TAB) < 0) {
        if (!focusCues_) {
            focusCues_ = true;
            SendMessageA(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        }
        const bool back = GetKeyState(VK_SHIFT) < 0;
        const std::vector<Control*> order = TabOrder();
        Control* first = nullptr;
        if (back) {
            for (auto it = order.rbegin(); it != order.rend() && !first; ++it)
                first = Focusable(*it) ? *it : nullptr;
        } else {
            for (auto it = order.begin(); it != order.end() && !first; ++it)
                first = Focusable(*it) ? *it : nullptr;
        }
        focusedChild_ = first;
        if (first)
            ScrollIntoView(*first);
    }
    InvalidateFocusRect();
    NotifyAccessible(EVENT_OBJECT_FOCUS, focusedChild_);
}

bool WinControl::MoveFocus(int step, bool wrap)
{
    const std::vector<Control*> order = TabOrder();
    if (order.empty())
        return false;
    const auto count = static_cast<long>(order.size());
    const auto at = std::find(order.begin(), order.end(), focusedChild_);
    long index = at == order.end() ? (step > 0 ? -1 : count) : static_cast<long>(at - order.begin());
    for (long tried = 0; tried < count; ++tried) {
        index += step;
        if (index < 0 || index >= count) {
            if (!wrap)
                return false;
            index = (index + count) % count;
        }
        if (Focusable(order[static_cast<std::size_t>(index)])) {
            FocusChild(order[static_cast<std::size_t>(index)], true);
            return true;
        }
    }
    return false;
}

// Tab past the last (or before the first) tab stop: the next tab stop of
// the top-level window, in the dialog manager's order, or round within
// this window when there is no other.
bool WinControl::TabOut(bool back)
{
    HWND root = GetAncestor(hwnd_, GA_ROOT);
    std::vector<HWND> stops;
    if (root)
        CollectTabStops(root, stops);
    // From this window, or from where it lies among them when it is none.
    auto at = std::find(stops.begin(), stops.end(), hwnd_);
    if (at == stops.end())
        at = std::find_if(stops.begin(), stops.end(), [this](HWND stop) { return IsChild(hwnd_, stop) != FALSE; });
    HWND next = nullptr;
    if (!stops.empty()) {
        const auto count = static_cast<long>(stops.size());
        long index = at == stops.end() ? (back ? count : -1) : static_cast<long>(at - stops.begin());
        if (at != stops.end() && *at != hwnd_ && !back)
            --index; // a child of this window comes next itself
        index = ((index + (back ? -1 : 1)) % count + count) % count;
        next = stops[static_cast<std::size_t>(index)];
    }
    if (next && next != hwnd_) {
        ::SetFocus(next);
        return true;
    }
    if (!HasTabStops())
        return false;
    focusedChild_ = nullptr;
    return MoveFocus(back ? -1 : 1, false);
}

void WinControl::ClickFocused()
{
    Control* target = focusedChild_;
    // Last: the click may free this control or its form.
    if (target && target->Visible() && target->Enabled())
        target->Click();
}

bool WinControl::NavigateKey(WORD key, LPARAM data)
{
    const bool stops = HasTabStops();
    switch (key) {
    case VK_TAB: {
        if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
            return false;
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (stops && focusedChild_ && MoveFocus(back ? -1 : 1, false))
            return true;
        if (stops && !focusedChild_) {
            focusCues_ = true;
            if (MoveFocus(back ? -1 : 1, false))
                return true;
        }
        return TabOut(back);
    }
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        if (!stops)
            return false;
        MoveFocus(key == VK_LEFT || key == VK_UP ? -1 : 1, true);
        return true;
    case VK_RETURN:
        if (!stops || !focusedChild_)
            return false;
        if (!(data & (1L << 30))) // not held down and repeating
            ClickFocused();
        return true;
    case VK_SPACE:
        if (!stops || !focusedChild_)
            return false;
        spacePressed_ = focusedChild_;
        return true;
    default:
        return false;
    }
}

LRESULT WinControl::DialogCode(const MSG* message) const
{
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (!message || message->message != WM_KEYDOWN)
        return code | DLGC_WANTTAB;
    if (message->wParam == VK_RETURN && focusedChild_)
        code |= DLGC_WANTALLKEYS;
    if (message->wParam == VK_TAB) {
        // Tab stays while there is a further tab stop in its direction.
        const std::vector<Control*> order = TabOrder();
        const bool back = GetKeyState(VK_SHIFT) < 0;
        auto at = std::find(order.begin(), order.end(), focusedChild_);
        bool further = false;
        if (back) {
            for (auto it = order.begin(); it != at && it != order.end(); ++it)
                further = further || Focusable(*it);
        } else {
            for (auto it = at == order.end() ? order.begin() : at + 1; it != order.end(); ++it)
                further = further || Focusable(*it);
        }
        if (further)
            code |= DLGC_WANTTAB;
    }
    return code;
}

// Messages of this part, from WindowProc; true when handled (`result`).
bool WinControl::HandleFocusMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == ClickRequestMessage()) {
        auto* child = reinterpret_cast<Control*>(lParam);
        result = 0;
        if (std::find(children_.begin(), children_.end(), child) != children_.end() && child->Visible() &&
            child->Enabled())
            child->Click();
        return true;
    }
    switch (message) {
    case WM_GETDLGCODE:
        if (!HasTabStops())
            return false;
        result = DialogCode(reinterpret_cast<const MSG*>(lParam));
        return true;
    case WM_KEYUP:
        if (wParam == VK_SPACE && spacePressed_) {
            Control* pressed = spacePressed_;
            spacePressed_ = nullptr;
            if (pressed == focusedChild_)
                ClickFocused();
            result = 0;
            return true;
        }
        return false;
    case WM_KILLFOCUS:
        spacePressed_ = nullptr;
        InvalidateFocusRect();
        return false;
    case WM_UPDATEUISTATE:
        result = DefaultHandler(message, wParam, lParam);
        InvalidateFocusRect();
        return true;
    case WM_GETOBJECT:
        return false;
    default:
        return false;
    }
}

} // namespace rt::ui
