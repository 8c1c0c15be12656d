#pragma once
// The shared runtime's user-interface toolkit in one include.
//
// A small retained-mode toolkit over Win32, shared by the host and its
// modules through SharedRt.dll. Texts are GBK (the "A" functions of
// Windows).
//
//   Component           named, owned; an owner frees what it owns (Free()).
//   Control             position, size, align, anchors, visible, enabled,
//                       caption, hint, font, colour, cursor, OnClick.
//   WinControl          a control with a window; hosts children, places
//                       them (Realign), routes the mouse to graphic ones.
//     Form              top-level or embedded; events OnCreate, OnShow,
//                       OnHide, OnResize, OnClose, OnDestroy, OnKeyDown;
//                       close action, release, key preview, tool tips.
//     Panel, ToolBar    containers; the tool bar's buttons use an ImageList.
//   GraphicControl      no window; painted and fed by its parent.
//     Label, Image, FlatPictureButton, Shape
//   ImageList, Bitmap   pictures.
//   rt::Application     (sharedrt/AppObjects.h) owner window of top-level
//                       forms, main form, message loop, error display.
//
// Building a form: derive from Form, create children in the constructor
// with `new Kind({...args...})` naming the form as owner and the right
// parent, bind the events, and create the form with CreateForm<T>(), which
// raises OnCreate once the whole form exists. Show it (Show()) or embed it
// into a container (EmbedInto(container), or the single steps SetParent,
// SetAlign(Align::Client), SetBorderStyle(BorderStyle::None),
// SetWindowState(WindowState::Maximized), Show()). A form whose container
// is known when it is made is best made inside it (FormArgs::container):
// EmbedInto there then only shows it.
//
// Errors: an exception that escapes an event handler or a window procedure
// goes to rt::CurrentApplication()->HandleException(), which shows it with
// the error display (a message box unless a display is installed).
//
// Tests: sharedrt/ui/UiDriver.h clicks, moves the mouse and presses keys
// through real window messages; sharedrt/ui/WindowCapture.h takes pictures
// of windows and writes them as PNG files.
#include "sharedrt/AppObjects.h"
#include "sharedrt/ui/AlignLayout.h"
#include "sharedrt/ui/Bitmap.h"
#include "sharedrt/ui/Color.h"
#include "sharedrt/ui/Component.h"
#include "sharedrt/ui/Control.h"
#include "sharedrt/ui/DcGuards.h"
#include "sharedrt/ui/Events.h"
#include "sharedrt/ui/FlatPictureButton.h"
#include "sharedrt/ui/Font.h"
#include "sharedrt/ui/Form.h"
#include "sharedrt/ui/Geometry.h"
#include "sharedrt/ui/GraphicControl.h"
#include "sharedrt/ui/Image.h"
#include "sharedrt/ui/ImageList.h"
#include "sharedrt/ui/Label.h"
#include "sharedrt/ui/Panel.h"
#include "sharedrt/ui/Shape.h"
#include "sharedrt/ui/ToolBar.h"
#include "sharedrt/ui/WinControl.h"
