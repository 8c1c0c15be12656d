#include "util/ModuleLog.h"

#include "util/PathText.h"

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
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::string(util::ExtractParentPath(path)) + kLogFileName;
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
