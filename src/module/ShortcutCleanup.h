#pragma once
// The clean-up of shortcuts that earlier installations left on the all-users
// desktop and in the all-users Start menu. Each old shortcut is moved to the
// current name, or deleted when a shortcut of the current name is already
// there; an existing file is never replaced. Nothing is reported.
#include <string>

namespace module {

// The all-users desktop and Start-menu folders: the "Common Desktop" and
// "Common Start Menu" values of HKLM\...\Explorer\Shell Folders (opened for
// reading, never created), with the ASCII letters in upper case; the fixed
// fallback path when the value is missing, empty or names no directory.
std::string CommonDesktopFolder();
std::string CommonStartMenuFolder();

// Applies the six rules in order; every folder is looked up afresh.
void CleanUpLegacyShortcuts() noexcept;

} // namespace module
