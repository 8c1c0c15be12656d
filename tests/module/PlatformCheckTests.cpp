#include "module/PlatformCheck.h"

#include "support/ImportPatch.h"
#include "support/ReportedWindowsVersion.h"
#include "support/TempFolder.h"

#include "sharedrt/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

using testing_support::TempFolder;

namespace {

constexpr const char kProbe[] = "CardReaderProbe.exe";

constexpr DWORD kPresent = 1;
constexpr DWORD kWindows98 = 2;

// Runs the probe and returns its exit code.
DWORD RunProbe(const std::string& directory = "")
{
    std::string command = kProbe;
    // A backslash in front of the closing quote would escape it.
    if (!directory.empty())
        command += " \"" + directory + (directory.back() == '\\' ? "\\" : "") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 0xFFFFFFFF;
    const rt::unique_handle processHandle(process.hProcess);
    const rt::unique_handle threadHandle(process.hThread);
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    return code;
}

} // namespace

TEST(PlatformCheck, OnlyPlatformOneVersionFourTenIsWindows98)
{
    EXPECT_TRUE(module::IsWindows98Version(1, 4, 10));
    EXPECT_FALSE(module::IsWindows98Version(1, 4, 0));   // Windows 95
    EXPECT_FALSE(module::IsWindows98Version(1, 4, 90));  // Windows Me
    EXPECT_FALSE(module::IsWindows98Version(2, 4, 10));
    EXPECT_FALSE(module::IsWindows98Version(2, 5, 1));
}

TEST(PlatformCheck, NtFamilyNeedsNoDriver)
{
    const TempFolder empty("system");
    EXPECT_FALSE(module::IsWindows98());
    EXPECT_TRUE(module::CardReaderDriverPresentIn(empty.Path()));
    EXPECT_TRUE(module::CardReaderDriverPresent());
    EXPECT_EQ(RunProbe(empty.Path()), kPresent);
}

TEST(PlatformCheck, Windows98WithoutWinscardIsTheOnlyFailure)
{
    const TempFolder empty("system");
    const TempFolder withDriver("system");
    withDriver.Write("Winscard.dll", "MZ");
    const TempFolder directoryOnly("system");
    directoryOnly.Make("Winscard.dll");

    const testing_support::ReportedWindowsVersion win98(kProbe, "win98");
    ASSERT_TRUE(win98.Ok());
    EXPECT_EQ(RunProbe(empty.Path()), kWindows98);
    // The trailing separator is added only when missing.
    const std::string unslashed = withDriver.Path().substr(0, withDriver.Path().size() - 1);
    EXPECT_EQ(RunProbe(unslashed), kWindows98 | kPresent);
    EXPECT_EQ(RunProbe(withDriver.Path()), kWindows98 | kPresent);
    EXPECT_EQ(RunProbe(directoryOnly.Path()), kWindows98);  // a directory of that name is no library
    // The prefix's own system directory holds winscard.dll.
    EXPECT_EQ(RunProbe(), kWindows98 | kPresent);
}

namespace {

BOOL WINAPI ReportWindows98(LPOSVERSIONINFOA version)
{
    version->dwPlatformId = VER_PLATFORM_WIN32_WINDOWS;
    version->dwMajorVersion = 4;
    version->dwMinorVersion = 10;
    return TRUE;
}

DWORD WINAPI AttributesDenied(LPCSTR)
{
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_FILE_ATTRIBUTES;
}

} // namespace

TEST(PlatformCheck, ALibraryTheSystemCannotLookAtIsNotAMissingOne)
{
    // Only "not found" says the driver is missing; a check that fails for
    // another reason must not stop the start-up with the driver message.
    const TempFolder withDriver("system");
    withDriver.Write("Winscard.dll", "MZ");
    const HMODULE self = GetModuleHandleA(nullptr);
    const testing_support::ImportPatch version(self, "kernel32.dll", "GetVersionExA",
                                               reinterpret_cast<void*>(&ReportWindows98));
    ASSERT_TRUE(module::IsWindows98());
    EXPECT_FALSE(module::CardReaderDriverPresentIn(TempFolder("system").Path()));
    const testing_support::ImportPatch denied(self, "kernel32.dll", "GetFileAttributesA",
                                              reinterpret_cast<void*>(&AttributesDenied));
    EXPECT_TRUE(module::CardReaderDriverPresentIn(withDriver.Path()));
}
