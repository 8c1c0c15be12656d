#pragma once
// Switching the input method of a window that received the focus.
#include "sharedrt/ui/WinControl.h"

#include <string>

namespace rt::ui {

// Activates the input method whose description is `name` (when one is
// installed; an empty name keeps the current one), then opens or closes it
// as `mode` says (DontCare leaves it).
void ApplyInputMethod(HWND window, ImeMode mode, const std::string& name) noexcept;

} // namespace rt::ui
