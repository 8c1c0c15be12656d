#pragma once
// The host's "action.ini" read as the merge reads it, and nothing else:
// nothing is written and nothing of the host is asked. The merge is planned
// from what this gives; the installation check calls only this and the plan.
#include <string>

namespace startup {

// The file's bytes, empty when there is none yet; rt::IoError when it is
// there and cannot be read.
std::string ReadActionIniTarget(const std::string& target);

} // namespace startup
