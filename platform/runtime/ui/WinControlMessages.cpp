// How a windowed control handles its messages: painting, mouse routing to
// graphic children, keys with the form's key preview, focus, size and
// visibility changes, and messages its children send to it.
#include "sharedrt/ui/WinControl.h"

#include "AccessibleWindow.h"
#include "BackBuffer.h"
#include "FormToolTips.h"
#include "InputMethod.h"
#include "WindowDispatch.h"

#include "sharedrt/ui/DcGuards.h"
#include "sharedrt/ui/Form.h"
#include "sharedrt/ui/GraphicControl.h"

#include <windowsx.h>

#include <optional>
#include <string>

namespace rt::ui {
namespace {

ShiftState CurrentShiftState() noexcept
{
    ShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= kShiftKey;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= kCtrlKey;
    if (GetKeyState(VK_MENU) < 0)
        shift |= kAltKey;
    return shift;
}

LPCSTR CursorResource(Cursor cursor) noexcept
{
    switch (cursor) {
    case Cursor::Hand: return reinterpret_cast<LPCSTR>(IDC_HAND);
    case Cursor::IBeam: return reinterpret_cast<LPCSTR>(IDC_IBEAM);
    case Cursor::Wait: return reinterpret_cast<LPCSTR>(IDC_WAIT);
    default: return reinterpret_cast<LPCSTR>(IDC_ARROW);
    }
}

bool IsMouseButtonMessage(UINT message) noexcept
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_RBUTTONDOWN: case WM_RBUTTONUP:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP:
        return true;
    default:
        return false;
    }
}

} // namespace

LRESULT WinControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT handled = 0;
    if (HandleFocusMessage(message, wParam, lParam, handled) || HandleScrollMessage(message, wParam, handled))
        return handled;
    switch (message) {
    case WM_GETOBJECT:
        if (static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT &&
            (HasAccessibleChildren() || HasOwnAccessibleName()))
            if (const LRESULT object = AnswerAccessibleObject(hwnd_, wParam))
                return object;
        break;
    case WM_ERASEBKGND:
        if (!IsSystemClass())
            return 1; // WM_PAINT draws everything, off screen first
        break;
    case WM_PAINT:
        if (!IsSystemClass()) {
            PaintMessage();
            return 0;
        }
        break;
    case WM_PRINTCLIENT:
        if (!IsSystemClass()) {
            PaintWindow(reinterpret_cast<HDC>(wParam));
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        RelayToToolTip(message, wParam, lParam);
        if (!IsSystemClass()) {
            RouteMouse(message, wParam, lParam);
            return 0;
        }
        break;
    case WM_MOUSELEAVE:
    case WM_CAPTURECHANGED:
        if (!IsSystemClass())
            RouteMouse(message, wParam, lParam);
        break;
    case WM_SETCURSOR:
        if (!IsSystemClass() && SetMouseCursor(wParam, lParam))
            return TRUE;
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (HandleKeyDown(wParam))
            return 0;
        if (message == WM_KEYDOWN && NavigateKey(static_cast<WORD>(wParam), lParam))
            return 0;
        break;
    case WM_SETFOCUS: {
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        FocusEntered();
        if (hwnd_ && GetFocus() == hwnd_)
            KeyboardFocusEntered();
        return result;
    }
    case WM_KILLFOCUS: {
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        RunEvent(OnExit, *this);
        return result;
    }
    case WM_WINDOWPOSCHANGED:
        SyncBoundsFromWindow();
        break;
    case WM_SIZE: {
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        if (wParam != SIZE_MINIMIZED)
            ClientSizeChanged();
        return result;
    }
    case WM_SHOWWINDOW:
        // Shown or hidden by ShowWindow from outside the toolkit.
        if (lParam == 0 && (wParam != 0) != Visible()) {
            visible_ = wParam != 0;
            UpdateShowing();
            if (Parent() && GetAlign() != Align::None)
                Parent()->Realign();
        }
        break;
    case WM_COMMAND:
        if (lParam) {
            if (WinControl* child = WindowDispatch::ControlOf(reinterpret_cast<HWND>(lParam))) {
                LRESULT result = 0;
                if (child->HandleReflected(message, wParam, lParam, result))
                    return result;
            }
        }
        break;
    case WM_NOTIFY: {
        if (AnswerToolTip(lParam))
            return 0;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (WinControl* child = WindowDispatch::ControlOf(header->hwndFrom)) {
            LRESULT result = 0;
            if (child != this && child->HandleReflected(message, wParam, lParam, result))
                return result;
        }
        break;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
        if (WinControl* child = WindowDispatch::ControlOf(reinterpret_cast<HWND>(lParam))) {
            LRESULT result = 0;
            if (child->HandleReflected(message, wParam, lParam, result))
                return result;
            return reinterpret_cast<LRESULT>(child->ControlColor(reinterpret_cast<HDC>(wParam)));
        }
        break;
    case WM_NCDESTROY: {
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        HandleDestroyed();
        return result;
    }
    default:
        if (IsMouseButtonMessage(message)) {
            RelayToToolTip(message, wParam, lParam);
            if (!IsSystemClass()) {
                RouteMouse(message, wParam, lParam);
                return 0;
            }
        }
        break;
    }
    return DefaultHandler(message, wParam, lParam);
}

void WinControl::PaintMessage()
{
    PaintDc paint(hwnd_);
    RECT client{};
    GetClientRect(hwnd_, &client);
    RECT area{};
    if (!IntersectRect(&area, &client, &paint.paint().rcPaint))
        return;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // Off screen first, in the buffer that all windows share; while a
    // paint runs inside another one, in a buffer of its own.
    std::optional<BackBuffer> own;
    BackBuffer* buffer = &SharedBackBuffer();
    if (buffer->InUse())
        buffer = &own.emplace();
    BackBuffer::Lease lease = buffer->Borrow(paint.get(), hwnd_, width, height);
    if (!lease) {
        PaintWindow(paint.get());
        return;
    }
    // The buffer's top-left corner is the top-left of the area to paint.
    POINT origin{};
    SetViewportOrgEx(lease.Dc(), -area.left, -area.top, &origin);
    PaintWindow(lease.Dc());
    SetViewportOrgEx(lease.Dc(), origin.x, origin.y, nullptr);
    BitBlt(paint.get(), area.left, area.top, width, height, lease.Dc(), 0, 0, SRCCOPY);
}

void WinControl::PaintWindow(HDC dc)
{
    RECT client{};
    GetClientRect(hwnd_, &client);
    PaintBackground(dc, client);
    for (Control* child : children_) {
        auto* graphic = dynamic_cast<GraphicControl*>(child);
        if (!graphic || !graphic->Visible())
            continue;
        Bounds b = graphic->GetBounds();
        if (b.width <= 0 || b.height <= 0)
            continue;
        b.left -= scrollX_;
        b.top -= scrollY_;
        SavedDcState state(dc);
        IntersectClipRect(dc, b.left, b.top, b.Right(), b.Bottom());
        OffsetViewportOrgEx(dc, b.left, b.top, nullptr);
        graphic->Paint(dc);
    }
    if (focusedChild_ && focusedChild_->Visible() && ShowsFocusCues()) {
        RECT focus = focusedChild_->FocusRect();
        OffsetRect(&focus, -scrollX_, -scrollY_);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
}

void WinControl::PaintBackground(HDC dc, const RECT& client)
{
    unique_hbrush brush(CreateSolidBrush(ResolveColor(ContrastColor(GetColor(), kColorWindow))));
    FillRect(dc, &client, brush.get());
}

void WinControl::RouteMouse(UINT message, WPARAM, LPARAM lParam)
{
    const int clientX = GET_X_LPARAM(lParam);
    const int clientY = GET_Y_LPARAM(lParam);
    // Children's places are in content coordinates.
    const int x = clientX + scrollX_;
    const int y = clientY + scrollY_;
    switch (message) {
    case WM_MOUSEMOVE: {
        Control* target = ControlAt(clientX, clientY);
        // While a control is pressed, only it can be under the mouse.
        if (pressed_)
            target = pressed_->GetBounds().Contains(x, y) ? pressed_ : nullptr;
        SetHot(target);
        if (!trackingLeave_) {
            TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd_, 0};
            trackingLeave_ = TrackMouseEvent(&track) != FALSE;
        }
        break;
    }
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        if (!pressed_)
            SetHot(nullptr);
        break;
    case WM_LBUTTONDOWN:
        if (HasTabStops()) {
            // The keyboard follows the click; no focus cue comes of it.
            Control* target = ControlAt(clientX, clientY);
            if (target && target->TabStop() && target != focusedChild_) {
                InvalidateFocusRect();
                focusedChild_ = target;
            }
            if (GetFocus() != hwnd_)
                ::SetFocus(hwnd_);
            if (!hwnd_)
                break;
        }
        if (Control* target = ControlAt(clientX, clientY)) {
            pressed_ = target;
            SetCapture(hwnd_);
            target->MouseDown(x - target->Left(), y - target->Top());
        } else {
            pressedSelf_ = true;
            SetCapture(hwnd_);
        }
        break;
    case WM_LBUTTONUP:
        if (pressed_) {
            Control* target = pressed_;
            pressed_ = nullptr;
            if (GetCapture() == hwnd_)
                ReleaseCapture();
            target->MouseUp(x - target->Left(), y - target->Top());
            // Last: the click handler may free this control or its form.
            if (target->Visible() && target->Enabled() && target->GetBounds().Contains(x, y))
                target->Click();
        } else if (pressedSelf_) {
            pressedSelf_ = false;
            if (GetCapture() == hwnd_)
                ReleaseCapture();
            RECT client{};
            GetClientRect(hwnd_, &client);
            const POINT point{clientX, clientY};
            if (PtInRect(&client, point) && Enabled())
                Click();
        }
        break;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd_) {
            pressedSelf_ = false;
            if (Control* target = pressed_) {
                pressed_ = nullptr;
                target->MouseUp(-1, -1);
            }
        }
        break;
    default:
        break;
    }
}

bool WinControl::SetMouseCursor(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(wParam) != hwnd_ || LOWORD(lParam) != HTCLIENT)
        return false;
    POINT point{};
    GetCursorPos(&point);
    ScreenToClient(hwnd_, &point);
    const Control* target = ControlAt(point.x, point.y);
    Cursor cursor = target ? target->GetCursor() : GetCursor();
    if (cursor == Cursor::Default)
        cursor = GetCursor();
    if (cursor == Cursor::Default)
        return false;
    ::SetCursor(LoadCursorA(nullptr, CursorResource(cursor)));
    return true;
}

void WinControl::RelayToToolTip(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE) {
        lastMouseX_ = GET_X_LPARAM(lParam);
        lastMouseY_ = GET_Y_LPARAM(lParam);
    }
    Form* form = ParentForm();
    if (form && form->ToolTips())
        form->ToolTips()->Relay(hwnd_, message, wParam, lParam);
}

bool WinControl::AnswerToolTip(LPARAM lParam)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW)
        return false;
    Form* form = ParentForm();
    if (!form || !form->ToolTips() || header->hwndFrom != form->ToolTips()->Existing())
        return false;
    toolTipText_ = HintAt(lastMouseX_, lastMouseY_);
    if (header->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
        info->hinst = nullptr;
        info->lpszText = toolTipText_.data();
    } else {
        static std::wstring wide;
        const int length = MultiByteToWideChar(CP_ACP, 0, toolTipText_.c_str(), -1, nullptr, 0);
        wide.assign(length > 0 ? length : 1, L'\0');
        if (length > 0)
            MultiByteToWideChar(CP_ACP, 0, toolTipText_.c_str(), -1, wide.data(), length);
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
        info->hinst = nullptr;
        info->lpszText = wide.data();
    }
    return true;
}

bool WinControl::HandleKeyDown(WPARAM& wParam)
{
    std::uint16_t key = static_cast<std::uint16_t>(wParam);
    const ShiftState shift = CurrentShiftState();
    Form* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        form->KeyDown(key, shift);
        if (key == 0)
            return true;
    }
    KeyDown(key, shift);
    if (key == 0)
        return true;
    wParam = key;
    return false;
}

void WinControl::FocusEntered()
{
    Form* form = ParentForm();
    if (form && form != this)
        form->activeControl_ = this;
    RunEvent(OnEnter, *this);
    if (hwnd_ && GetFocus() == hwnd_)
        ApplyInputMethod(hwnd_, imeMode_, imeName_);
}

} // namespace rt::ui
