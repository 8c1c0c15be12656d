#pragma once
// Event callbacks of controls, and how they are run: a handler is a plain
// callback member (empty means "no handler"); the runtime runs it through
// RunEvent, so that an exception escaping a handler reaches the current
// application's error display and never unwinds into Windows.
#ifdef _WIN32
#include "sharedrt/Export.h"

#include <cstdint>
#include <functional>
#include <utility>

namespace rt::ui {

class Component;

// The keyboard state that came with a key: bit set = key held.
using ShiftState = unsigned;
inline constexpr ShiftState kShiftKey = 1;
inline constexpr ShiftState kCtrlKey = 2;
inline constexpr ShiftState kAltKey = 4;

// What closing a form does with it (decided by its close handler).
enum class CloseAction { None, Hide, Free, Minimize };

using NotifyEvent = std::function<void(Component& sender)>;
// `key` is the virtual key code; a handler that sets it to 0 consumes the
// key, so that nobody after it sees it.
using KeyEvent = std::function<void(Component& sender, std::uint16_t& key, ShiftState shift)>;
using CloseEvent = std::function<void(Component& sender, CloseAction& action)>;

// Shows the exception being handled with the current application's error
// display. Call only inside a catch block.
SHAREDRT_API void ReportEventException() noexcept;

template <typename Handler, typename... Args>
void RunEvent(const Handler& handler, Args&&... args) noexcept
{
    if (!handler)
        return;
    try {
        handler(std::forward<Args>(args)...);
    } catch (...) {
        ReportEventException();
    }
}

} // namespace rt::ui
#endif
