#pragma once
// What a windowed control shows assistive technology (oleacc): the
// standard object of its window, and in addition its graphic children as
// simple elements (push buttons, links, static texts) with their names,
// hints, states, places and default actions, and a name of the control's
// own where one is set. The object holds the window, not the control: it
// answers for whatever control the window has when it is asked, and fails
// once the window is gone.
#include <windows.h>

namespace rt::ui {

class WinControl;

// The answer to WM_GETOBJECT for OBJID_CLIENT (LresultFromObject), or 0
// when the object cannot be made (the default handling then answers).
LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam);

} // namespace rt::ui
