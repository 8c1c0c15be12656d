#include "util/ModuleLog.h"

#include "util/PathText.h"

#include "sharedrt/AnsiPath.h"
#include "sharedrt/UniqueHandle.h"

#include <windows.h>

namespace util {
namespace {

// The current local date and time in the system's short date and long
// time formats, separated by one space.
std::string NowText()
{
    char date[128] = {};
    char time[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, sizeof time);
    return std::string(date) + " " + time;
}

} // namespace

std::string ModuleLogPath()
{
    // Whole or not at all: a cut path names a folder above the host's, and
    // the log would land there.
    const std::optional<std::string> path = rt::ModuleFileName(nullptr);
    if (!path)
        return {};
    return std::string(util::ExtractParentPath(*path)) + kLogFileName;
}

void WriteLogLine(std::string_view message) noexcept
{
    try {
        WriteLogLineTo(ModuleLogPath(), message);
    } catch (...) {
    }
}

void WriteLogLineTo(const std::string& path, std::string_view message) noexcept
{
    try {
        if (path.empty())
            return;
        const std::string line = NowText() + "  " + std::string(message) + "\r\n";
        // Appending access: every write lands at the end of the file as it
        // stands, also when another process appends between our lines.
        rt::unique_hfile file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return;
        DWORD written = 0;
        WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    } catch (...) {
    }
}

} // namespace util
