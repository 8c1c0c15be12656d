#pragma once
// Input as the user gives it: through the system's input queue, so that the
// system itself decides which window is activated and which has the focus.
// Tests that use it run with no other test beside them (the queue and the
// pointer are the display's, shared by every program on it).
#include "sharedrt/ui/UiDriver.h"

#include <windows.h>

#include <initializer_list>

namespace testing_support {

inline void UserClick(POINT screen)
{
    INPUT input[3] = {};
    for (INPUT& i : input)
        i.type = INPUT_MOUSE;
    input[0].mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input[0].mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
    rt::ui::driver::ProcessMessages();
}

// Presses and releases `key` while the modifiers are held (pressed first,
// released last).
inline void UserPressKey(WORD key, std::initializer_list<WORD> modifiers = {})
{
    INPUT input[8] = {};
    UINT count = 0;
    auto add = [&](WORD vk, bool up) {
        input[count].type = INPUT_KEYBOARD;
        input[count].ki.wVk = vk;
        input[count].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++count;
    };
    for (WORD modifier : modifiers)
        add(modifier, false);
    add(key, false);
    add(key, true);
    for (auto it = modifiers.end(); it != modifiers.begin();)
        add(*--it, true);
    SendInput(count, input, sizeof(INPUT));
    rt::ui::driver::ProcessMessages();
}

// Moves the system's pointer to the screen's bottom-right corner, away
// from every window of the test, so that nothing shows a hover state.
inline void ParkMouse()
{
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    rt::ui::driver::ProcessMessages();
}

} // namespace testing_support
