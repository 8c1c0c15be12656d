#pragma once
// The shell without a window: configure the host from the installation's
// profile, load the module, initialise it and report what happened.
#include <ostream>
#include <string>

namespace shell {

// Reads <installation>\host\MainFrame.ini, configures the host model, loads
// wscbs.dll from the shell's own folder, calls InitSubApp with the
// profile's parameter text, and prints the result, the returned text, the
// host services the module called and the messages it asked for (GBK).
// Returns 0 when InitSubApp succeeded, 1 when it reported failure, 2 when
// the host could not be set up (the reason printed).
int RunConsole(const std::string& installationFolder, std::ostream& out);

} // namespace shell
