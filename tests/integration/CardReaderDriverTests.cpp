// The card-reader driver check for real: Wine reports an older Windows to
// one program (support/ReportedWindowsVersion.h), and the system directory's
// winscard.dll is moved aside while a test needs it missing. Both are put
// back when the test ends.
// The test program and the module are of one width and ask
// GetSystemDirectoryA alike: the 32-bit suite moves the file in the system
// directory of a 32-bit prefix, the 64-bit suite in system32 of a 64-bit
// prefix. (The 32-bit product on 64-bit Windows sees SysWOW64 through the
// file-system redirection; a 32-bit test program would see the same.)
#include "shell/SubAppModule.h"
#include "support/TempFolder.h"
#include "support/ChildProcess.h"
#include "support/ReportedWindowsVersion.h"

#include "sharedrt/UniqueHandle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <optional>

using testing::HasSubstr;
using testing::Not;
using testing_support::ExamplesFolder;
using testing_support::ProcessResult;
using testing_support::ReportedWindowsVersion;
using testing_support::RunProgram;
using testing_support::TempFolder;

namespace {

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

// One run of the probe on the system directory, under the given version
// (empty: the prefix's own).
struct ProbeRun {
    std::string version;
    bool withWinscard;
    std::string reported;  // the first line of the probe: what the system told it
    DWORD exitCode;
};

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

} // namespace

TEST(CardReaderDriver, MissingOnlyOnWindows98WithoutWinscard)
{
    const ProbeRun runs[] = {
        {"", true, "platform 2 version", kPresent},
        {"", false, "platform 2 version", kPresent},  // NT family: no driver test
        {"win95", false, "platform 1 version 4.0", kPresent},
        {"win98", false, "platform 1 version 4.10", kWindows98},
        {"win98", true, "platform 1 version 4.10", kWindows98 | kPresent},
        {"winme", false, "platform 1 version 4.90", kPresent},
        {"win2k", false, "platform 2 version 5.0", kPresent},
    };
    const std::string probe = "\"" + shell::ExecutableFolder() + "CardReaderProbe.exe\"";
    for (const ProbeRun& run : runs) {
        SCOPED_TRACE(run.version + (run.withWinscard ? " with" : " without") + " winscard.dll");
        std::optional<WinscardMovedAside> moved;
        if (!run.withWinscard) {
            moved.emplace();
            ASSERT_TRUE(moved->Ok());
        }
        std::optional<ReportedWindowsVersion> reported;
        if (!run.version.empty()) {
            reported.emplace("CardReaderProbe.exe", run.version);
            ASSERT_TRUE(reported->Ok());
        }
        const ProcessResult result = RunProgram(probe);
        if (run.version.empty())
            EXPECT_THAT(FirstLine(result.output), testing::StartsWith(run.reported));
        else
            EXPECT_EQ(FirstLine(result.output), run.reported);
        EXPECT_EQ(result.exitCode, run.exitCode);
    }
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
        const ReportedWindowsVersion win98("MainFrameWin98.exe", "win98");
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
