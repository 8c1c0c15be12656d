#pragma once
// What the shell prints about a module's work: the host services it called
// and the messages it asked the host to show (GBK).
#include "hostmodel/HostModel.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace shell {

// Where one call of the host into the module begins in the call log: the
// calls from `firstCall` up to the next mark's were made during `name`.
struct CallStep {
    std::size_t firstCall = 0;
    std::string name;
};

// The host services called, each under the call of the host during which
// the module made it ("during InitSubApp:"), in call order; then the
// messages. Calls before the first step are listed under no heading.
void PrintHostRecords(std::ostream& out, hostmodel::HostModel& model, const std::vector<CallStep>& steps = {});

} // namespace shell
