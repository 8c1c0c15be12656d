#pragma once
// The reference shell's host profile, <installation>\host\MainFrame.ini:
// the host services library's own reader (hostmodel/HostProfile.h), which
// the shell uses as it is.
#include "hostmodel/HostProfile.h"

namespace shell {

using hostmodel::ApplyHostProfile;
using hostmodel::HostProfile;
using hostmodel::ReadHostProfile;

} // namespace shell
