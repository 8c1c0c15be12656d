#pragma once
// The one tool-tip window of a form. Every window of the form that the mouse
// moves over becomes a tool whose text is asked for when the tip shows
// (TTN_GETDISPINFO to that window), so controls only hold their hints.
#include "sharedrt/UniqueHandle.h"

#include <vector>

namespace rt::ui {

class FormToolTips {
public:
    explicit FormToolTips(HWND owner);
    ~FormToolTips();
    FormToolTips(const FormToolTips&) = delete;
    FormToolTips& operator=(const FormToolTips&) = delete;

    HWND Handle() const noexcept { return window_.get(); }
    // Hands a mouse message of `window` to the tool tip (adding the window
    // as a tool the first time).
    void Relay(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The window leaves the form or goes away.
    void Forget(HWND window) noexcept;
    // Hides a shown tip, so that the next one asks for its text afresh.
    void Pop() noexcept;

private:
    unique_hwnd window_;
    std::vector<HWND> tools_;
};

} // namespace rt::ui
