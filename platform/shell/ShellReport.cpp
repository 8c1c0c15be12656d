#include "shell/ShellReport.h"

namespace shell {

void PrintHostRecords(std::ostream& out, hostmodel::HostModel& model, const std::vector<CallStep>& steps)
{
    const auto& calls = model.Calls();
    out << "host services called by the module: " << calls.size() << "\n";
    auto step = steps.begin();
    const char* indent = "  ";
    auto headingsUpTo = [&](std::size_t call) {
        for (; step != steps.end() && step->firstCall <= call; ++step) {
            out << "  during " << step->name << ":\n";
            indent = "    ";
        }
    };
    for (std::size_t i = 0; i < calls.size(); ++i) {
        headingsUpTo(i);
        out << indent << hostmodel::FormatCall(calls[i]) << "\n";
    }
    // Steps in which the module called nothing still show.
    headingsUpTo(static_cast<std::size_t>(-1));
    const auto& messages = model.Messages();
    out << "InforMsg: " << messages.size() << "\n";
    for (const auto& message : messages)
        out << "  " << message.code << ": " << message.shownText << "\n";
}

} // namespace shell
