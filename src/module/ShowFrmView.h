#pragma once
// The module's launcher view, as ShowFrmView keeps it between calls.
#include "ui/MainframeForm.h"

namespace module {

// The launcher view: created on the first call (its creation runs the form
// base's set-up and the table migration) and reused by later ones. When the
// view is destroyed (closed by the host, or freed with its container) the
// module forgets it, and the next call creates a new one. A view created
// for a container is made inside it, so that embedding it there moves no
// window (null: a top-level window, as a free-standing view needs).
ui::Tfrm_Mainframe& LauncherView(rt::ui::WinControl* container = nullptr);

// The view, or null when there is none now.
ui::Tfrm_Mainframe* ExistingLauncherView() noexcept;

} // namespace module
