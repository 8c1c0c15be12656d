#include "module/PlatformCheck.h"

#include "util/FileUtil.h"
#include "util/PathText.h"

#include <windows.h>

#include <string>

namespace module {

bool IsWindows98() noexcept
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;  // 148
    static_assert(sizeof(OSVERSIONINFOA) == 148);
    if (!GetVersionExA(&version))
        return false;
    return IsWindows98Version(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}

bool CardReaderDriverPresentIn(const std::string& systemDirectory) noexcept
{
    bool present = true;
    try {
        const std::string directory = util::EnsureTrailingSeparator(systemDirectory);
        // Missing only when the system says so; a check that fails for
        // another reason does not stop the start-up.
        if (IsWindows98()) {
            const util::PathKind kind = util::QueryPathKind(directory + "Winscard.dll");
            present = kind != util::PathKind::Missing && kind != util::PathKind::Directory;
        }
    } catch (...) {
    }
    return present;
}

bool CardReaderDriverPresent() noexcept
{
    char buffer[256] = {};
    GetSystemDirectoryA(buffer, 255);
    try {
        return CardReaderDriverPresentIn(buffer);
    } catch (...) {
        return true;
    }
}

} // namespace module
