#pragma once
// Driving the toolkit as a user would, for tests: real window messages sent
// to the window under a point, keys to the focused window, resizing, and the
// message loop. Everything runs on the calling (user-interface) thread.
//
//   rt::ui::driver::ErrorRecorder errors;   // error display records instead
//   rt::ui::driver::Click(*button);        // move, press, release at its centre
//   EXPECT_EQ(clicks, 1);
//   rt::ui::driver::PressKey(VK_F1);       // to the focused window
//   rt::ui::CaptureWindowToPng(form->Handle(), "form.png");
#ifdef _WIN32
#include "sharedrt/AppObjects.h"
#include "sharedrt/Export.h"
#include "sharedrt/ui/Control.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rt::ui::driver {

// The screen point at the centre of a control.
SHAREDRT_API POINT CenterOf(const Control& control);
// The window of `control`'s top-level window (or its descendants) under a
// screen point, skipping hidden, disabled and transparent windows. Windows of
// other programs never get in the way.
SHAREDRT_API HWND WindowUnder(const Control& control, POINT screenPoint);

// WM_MOUSEMOVE at the control's centre (or a screen point), sent to the
// window under it.
SHAREDRT_API void MoveMouseTo(const Control& control);
SHAREDRT_API void MoveMouseTo(const Control& within, POINT screenPoint);
// WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP at the control's centre (or a
// screen point), then the posted messages are handled.
SHAREDRT_API void Click(const Control& control);
SHAREDRT_API void ClickAt(const Control& within, POINT screenPoint);
// WM_KEYDOWN and WM_KEYUP for a virtual key, sent to the focused window
// (nothing when no window of this thread has the focus), then the posted
// messages are handled.
SHAREDRT_API void PressKey(WORD virtualKey);
// The same, sent to `window` whether or not it has the focus: tests that run
// side by side take the focus from each other's windows.
SHAREDRT_API void PressKey(HWND window, WORD virtualKey);
// Gives a windowed control's window a new outer size, as a user dragging
// its frame would (the toolkit learns it from the window).
SHAREDRT_API void ResizeWindow(HWND window, int width, int height);

// Handles every message waiting in this thread's queue.
SHAREDRT_API void ProcessMessages();
// Handles messages until `done` holds or `timeoutMs` passed; true if done.
SHAREDRT_API bool ProcessMessagesUntil(const std::function<bool()>& done, int timeoutMs);

// While alive, the current application's error display records messages
// instead of showing them; the previous display comes back afterwards.
class SHAREDRT_API ErrorRecorder {
public:
    ErrorRecorder();
    ~ErrorRecorder();
    ErrorRecorder(const ErrorRecorder&) = delete;
    ErrorRecorder& operator=(const ErrorRecorder&) = delete;

    const std::vector<std::string>& Messages() const noexcept { return *messages_; }

private:
    std::shared_ptr<std::vector<std::string>> messages_;
    Application::ErrorDisplay previous_;
};

} // namespace rt::ui::driver
#endif
