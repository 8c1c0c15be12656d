#pragma once
// What the shell prints about a module's work: the host services it called
// and the messages it asked the host to show (GBK).
#include "hostmodel/HostModel.h"

#include <ostream>

namespace shell {

void PrintHostRecords(std::ostream& out, hostmodel::HostModel& model);

} // namespace shell
