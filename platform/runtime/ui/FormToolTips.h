#pragma once
// The one tool-tip window of a form. Every window of the form that the mouse
// moves over becomes a tool whose text is asked for when the tip shows
// (TTN_GETDISPINFO to that window), so controls only hold their hints.
// The tool-tip window itself is made when it is first needed: the first
// mouse message for it, or the first ask for its handle.
#include "sharedrt/UniqueHandle.h"

#include <vector>

namespace rt::ui {

class FormToolTips {
public:
    explicit FormToolTips(HWND owner);
    ~FormToolTips();
    FormToolTips(const FormToolTips&) = delete;
    FormToolTips& operator=(const FormToolTips&) = delete;

    // The tool-tip window, made now if it is not there yet. Throws rt::Error
    // when it cannot be made.
    HWND Handle();
    // The tool-tip window if it is made, else null.
    HWND Existing() const noexcept { return window_.get(); }
    // Hands a mouse message of `window` to the tool tip (adding the window
    // as a tool the first time).
    void Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The window leaves the form or goes away.
    void Forget(HWND window) noexcept;
    // Hides a shown tip, so that the next one asks for its text afresh.
    void Pop() noexcept;

private:
    HWND owner_;
    unique_hwnd window_;
    std::vector<HWND> tools_;
};

} // namespace rt::ui
