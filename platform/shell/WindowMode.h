#pragma once
// The shell with its main window: configure the host from the
// installation's profile, show the main window, load the module, initialise
// it and show its view in the window's container; then either let the user
// work (the message loop) or capture the window to a PNG and leave.
#include <ostream>
#include <string>

namespace shell {

struct WindowOptions {
    std::string installationFolder;
    // Not empty: show, wait for the painting, capture the main window to
    // this PNG file (GBK path), print the report and leave. The host
    // functions then run without dialogs.
    std::string capturePath;
    // Print how long the first ShowFrmView takes up to the painted view,
    // and a repeated one.
    bool timing = false;
    // Host functions succeed without dialogs.
    bool unattended = false;
    // Windows' high-contrast mode, as the runtime hears of it (Wine cannot
    // switch it on).
    bool highContrast = false;
};

// Returns 0 when the module initialised and showed its view, 1 when it
// reported a failure, 2 when the host could not be set up (the reason
// printed, and shown in interactive mode).
int RunWindow(const WindowOptions& options, std::ostream& out);

} // namespace shell
