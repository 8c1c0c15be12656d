#pragma once
// wscbs.dll: the sub-application module's exports.
//
// Exported by undecorated name, __stdcall (64-bit Windows has one calling
// convention), Boolean results one byte (1 true, 0 false). Handles and
// pointers are as wide as the build's pointers (32 bits in the product);
// FreeDLLProc's two arguments are 32 bits at both widths. No C++ exception leaves any of
// them. All run on the host's user-interface thread.
//
// Calling order: InitSubApp once, before the first ShowFrmView (the launcher
// shows the tax period that initialisation stores). ShowFrmView may then be
// called any number of times. FreeDLLProc may be called at any time and has
// no effect.
//
// Host text buffers: the host passes the address of its own pointer to a
// NUL-terminated GBK buffer holding a parameter text (name=value pairs joined
// by ';', with '=' and ';' escaped as "&eq%" and "&lim%"). The module never
// changes the host's pointer.
//  - InitSubApp writes its result text back into that buffer. The write-back
//    never passes the buffer's end: when the buffer is a block of the shared
//    heap, it is bounded by the block's size; otherwise by the length of the
//    text the host passed in, plus its NUL. A text that does not fit is cut
//    at a whole GBK character; the buffer is always NUL-terminated. A host
//    that wants the whole "ResultMsgStr" entry back allocates its buffer from
//    the shared heap with room for it.
//  - ShowFrmView only reads its text.
#include "sharedrt/Export.h"

extern "C" {

// Prepares the sub-application. `appHandle` becomes the handle of the shared
// application object. Returns 1 when initialisation finished without a
// message (the buffer is returned byte for byte); 0 when the buffer now holds
// a "ResultMsgStr" entry with the reason.
__declspec(dllexport) rt::Bool8 __stdcall InitSubApp(rt::WindowHandle appHandle, char** hostBuffer);

// Shows the launcher view. `appHandle` becomes the handle of the shared
// application object. The view is created on the first call and reused
// afterwards (a new one after the old one was destroyed). With `container`
// (an rt::ui::WinControl* of the host) the view becomes its borderless child
// filling it; with null it is shown free-standing, centred over the
// application's main form. `hostText` is only read: when its parameter text
// has a "ModalFormMsg", the host's main window receives the shown notice.
// Returns 1; 0 when the view could not be created or embedded, the error
// then shown by the application's default error display.
// The shared application object owns the view. Before it unloads the
// module, the host frees the forms the application owns
// (rt::Application::FreeOwnedForms) or destroys its container (and so the
// view): the view's code lives in the module.
__declspec(dllexport) rt::Bool8 __stdcall ShowFrmView(rt::WindowHandle appHandle, void* container, char** hostText);

// Does nothing and returns 1; the launcher view stays.
__declspec(dllexport) rt::Bool8 __stdcall FreeDLLProc(std::uint32_t first, std::uint32_t second);
}
