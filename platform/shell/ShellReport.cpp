#include "shell/ShellReport.h"

namespace shell {

void PrintHostRecords(std::ostream& out, hostmodel::HostModel& model)
{
    const auto& calls = model.Calls();
    out << "host services called by the module: " << calls.size() << "\n";
    for (const auto& call : calls)
        out << "  " << hostmodel::FormatCall(call) << "\n";
    const auto& messages = model.Messages();
    out << "InforMsg: " << messages.size() << "\n";
    for (const auto& message : messages)
        out << "  " << message.code << ": " << message.shownText << "\n";
}

} // namespace shell
