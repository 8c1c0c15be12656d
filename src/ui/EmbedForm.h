#pragma once
// Placing a module form into a container control of the host, or showing it
// free-standing, and announcing it to the host.
#include "sharedrt/ui/Form.h"

#include <string>

namespace ui {

// With a container: the form becomes a borderless, maximised child filling
// the container and is shown; then, when `paramText` (the host's parameter
// text) has a "ModalFormMsg", the host receives the shown notice
// "value|handle|help|first" (help and first as 1 or 0). With `help` set the
// form's help page (`helpPage`, or one derived from the notice) is
// registered with the host. Without a container: the form is shown centred
// over the application's main form and stays on top; no notice.
// `caption`, when not empty, becomes the form's caption first. Errors of
// the placing and the notice are dropped: the form stays as far as it got.
void EmbedForm(rt::ui::WinControl* container, rt::ui::Form& form, const std::string& paramText, bool firstOption,
               const std::string& caption, const std::string& helpPage, bool help);

} // namespace ui
