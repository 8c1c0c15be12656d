#pragma once
// The module's log, "Varnoq.log" beside the running executable (the host's
// program): one line per message, "<short date> <long time>  <message>"
// ended by CR LF, in the system's date and time formats. The file is opened
// and closed for every line, so a line is on disk when the call returns.
// Failures to open or write are ignored: logging never fails its caller.
#include <string>
#include <string_view>

namespace util {

inline constexpr const char kLogFileName[] = "Varnoq.log";

// The folder of the running executable + "Varnoq.log"; empty when the
// executable's path cannot be had.
std::string ModuleLogPath();

// Appends one line with the current local date and time to the module log.
void WriteLogLine(std::string_view message) noexcept;

// The same for a log file of the caller's choice.
void WriteLogLineTo(const std::string& path, std::string_view message) noexcept;

} // namespace util
