#pragma once
// The sub-application's version: the one the host's record gives the
// module (the start records it in cookie.ini and compares the regional
// files' version with it) against the module's own, its DLL's version
// resource. They differ only when the host profile names a Version= of its
// own, which the check reports.
#include "CheckSection.h"

#include <memory>
#include <string>

namespace check {

struct VersionCheck {
    std::string profileFile;
    std::string subAppCode;
    std::string moduleFile;      // the sub-application's DLL
    std::string moduleVersion;   // its version resource's; empty without one
    std::string profileVersion;  // Version= of the profile; empty when absent
};

std::unique_ptr<CheckSection> MakeVersionSection(VersionCheck check);

} // namespace check
