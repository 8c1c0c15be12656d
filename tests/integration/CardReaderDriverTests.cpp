// The card-reader driver check for real: Wine reports Windows 98 to one
// program (HKCU\Software\Wine\AppDefaults\<program>.exe, Version=win98),
// and the system directory's winscard.dll is moved aside while a test needs
// it missing. Both are put back when the test ends.
// The test program and the module are of one width and ask
// GetSystemDirectoryA alike: the 32-bit suite moves the file in the system
// directory of a 32-bit prefix, the 64-bit suite in system32 of a 64-bit
// prefix. (The 32-bit product on 64-bit Windows sees SysWOW64 through the
// file-system redirection; a 32-bit test program would see the same.)
#include "shell/SubAppModule.h"
#include "support/TempFolder.h"
#include "support/ChildProcess.h"

#include "sharedrt/UniqueHandle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>

using testing::HasSubstr;
using testing::Not;
using testing_support::ExamplesFolder;
using testing_support::ProcessResult;
using testing_support::RunProgram;
using testing_support::TempFolder;

namespace {

// Wine reports Windows 98 to the program of that file name while this lives.
class ReportedWindows98 {
public:
    explicit ReportedWindows98(const std::string& program)
        : key_("Software\\Wine\\AppDefaults\\" + program)
    {
        rt::unique_hkey key;
        ok_ = RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(), nullptr) ==
                  ERROR_SUCCESS &&
              RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6) ==
                  ERROR_SUCCESS;
    }
    ~ReportedWindows98() { RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str()); }
    bool Ok() const { return ok_; }

private:
    std::string key_;
    bool ok_ = false;
};

// The system directory without winscard.dll while this lives.
class WinscardMovedAside {
public:
    WinscardMovedAside()
    {
        char system[MAX_PATH] = {};
        GetSystemDirectoryA(system, MAX_PATH);
        library_ = std::string(system) + "\\winscard.dll";
        aside_ = library_ + ".wscbs-test";
        ok_ = MoveFileA(library_.c_str(), aside_.c_str()) != FALSE;
    }
    ~WinscardMovedAside()
    {
        if (ok_)
            MoveFileA(aside_.c_str(), library_.c_str());
    }
    bool Ok() const { return ok_; }

private:
    std::string library_;
    std::string aside_;
    bool ok_ = false;
};

constexpr DWORD kPresent = 1;
constexpr DWORD kWindows98 = 2;

} // namespace

TEST(CardReaderDriver, MissingOnlyOnWindows98WithoutWinscard)
{
    const std::string probe = shell::ExecutableFolder() + "CardReaderProbe.exe";
    EXPECT_EQ(RunProgram("\"" + probe + "\"").exitCode, kPresent);
    {
        const WinscardMovedAside moved;
        ASSERT_TRUE(moved.Ok());
        EXPECT_EQ(RunProgram("\"" + probe + "\"").exitCode, kPresent);  // NT family: no driver test
        const ReportedWindows98 win98("CardReaderProbe.exe");
        ASSERT_TRUE(win98.Ok());
        EXPECT_EQ(RunProgram("\"" + probe + "\"").exitCode, kWindows98);
    }
    const ReportedWindows98 win98("CardReaderProbe.exe");
    EXPECT_EQ(RunProgram("\"" + probe + "\"").exitCode, kWindows98 | kPresent);
}

TEST(CardReaderDriver, InitialisationStopsWithTheDriverMessage)
{
    const TempFolder folder("driver");
    const std::string installation = folder.Path() + "installation";
    std::filesystem::copy(ExamplesFolder(), installation, std::filesystem::copy_options::recursive);
    // The shell under a name of its own, so that only it sees Windows 98.
    const std::string shell = shell::ExecutableFolder() + "MainFrameWin98.exe";
    ASSERT_TRUE(CopyFileA((shell::ExecutableFolder() + "MainFrame.exe").c_str(), shell.c_str(), FALSE));

    ProcessResult run;
    {
        const WinscardMovedAside moved;
        ASSERT_TRUE(moved.Ok());
        const ReportedWindows98 win98("MainFrameWin98.exe");
        ASSERT_TRUE(win98.Ok());
        run = RunProgram("\"" + shell + "\" --console \"" + installation + "\"");
    }
    DeleteFileA(shell.c_str());
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_THAT(run.output, HasSubstr("InitSubApp -> 0"));
    EXPECT_THAT(run.output, HasSubstr("returned text: SubAppCode=WSCBS;UserCode=001;RunMode=1;ResultMsgStr="
                                      "计算机没有安装报税IC卡专用读卡器驱动程序，无法使用本系统。\r"));
    EXPECT_THAT(run.output, HasSubstr("\n请您先正确安装专用读卡器驱动程序后，再使用本系统。"));
    // The global-parameter step did not run: no catalogue, no upgrade.
    EXPECT_THAT(run.output, Not(HasSubstr("ExecADOQueryMsg")));
    EXPECT_TRUE(testing_support::PathExists(installation + "\\WSCBS\\dataupdate.ini"));
}
