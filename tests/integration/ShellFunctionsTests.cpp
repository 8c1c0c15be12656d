// The shell's host functions through ExecuteFunc: a dialog naming the
// function and its code, the period dialog storing yyyymm, and the
// unattended mode. A thread timer plays the user: it finds the dialog by
// its caption, reads or sets its controls and answers it.
#include "shell/PeriodDialog.h"
#include "support/HostSetup.h"
#include "shell/ShellFunctions.h"
#include "shell/HostProfile.h"
#include "shell/ParamEntry.h"
#include "support/TempFolder.h"

#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"
#include "sharedrt/RtError.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <functional>

using hostmodel::Model;
using testing::HasSubstr;

namespace {

// What the simulated user does once the dialog with `title` is up.
struct User {
    const char* title = nullptr;
    std::function<void(HWND)> act;
    bool acted = false;
};
User* g_user = nullptr;

void CALLBACK PlayUser(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_user == nullptr || g_user->acted)
        return;
    HWND dialog = FindWindowA(nullptr, g_user->title);
    if (dialog == nullptr || !IsWindowVisible(dialog))
        return;
    g_user->acted = true;
    g_user->act(dialog);
}

// Runs the host function of `code` while the user acts on its dialog.
bool RunWithUser(const std::string& code, User& user)
{
    g_user = &user;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, PlayUser);
    char block[500] = {};
    char* pointer = block;
    const bool result = ExecuteFunc(nullptr, code.c_str(), &pointer) != 0;
    KillTimer(nullptr, timer);
    g_user = nullptr;
    return result;
}

std::string TextsOf(HWND dialog)
{
    std::string texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char text[256] = {};
        GetWindowTextA(child, text, sizeof text);
        texts += text;
        texts += "|";
    }
    return texts;
}

class ShellFunctionsTest : public testing::Test {
protected:
    void SetUp() override
    {
        testing_support::UseSubApp();
        Model().SetString(*Model().SubAppVo("WSCBS"), "Global_curkjny", "200703");
    }
    void TearDown() override { Model().Reset(); }

    std::string Period() { return Model().GetString(*Model().SubAppVo("WSCBS"), "Global_curkjny").value_or(""); }
};

} // namespace

TEST_F(ShellFunctionsTest, EveryFunctionNamesItselfAndItsCodeAndSucceeds)
{
    shell::RegisterShellFunctions(Model(), "WSCBS", shell::DialogMode::Interactive, nullptr);
    for (const shell::ShellFunction& function : shell::kShellFunctions) {
        if (function.suffix == shell::kChangePeriodSuffix)
            continue;
        const std::string code = "WSCBS" + std::string(function.suffix);
        SCOPED_TRACE(code);
        std::string shown;
        User user{shell::kFunctionDialogTitle, [&](HWND dialog) {
                      shown = TextsOf(dialog);
                      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                  }};
        EXPECT_TRUE(RunWithUser(code, user));
        EXPECT_TRUE(user.acted);
        EXPECT_THAT(shown, HasSubstr(std::string(function.name)));
        EXPECT_THAT(shown, HasSubstr(code));
    }
    EXPECT_EQ(Period(), "200703");
}

TEST_F(ShellFunctionsTest, ThePeriodDialogStartsAtThePeriodAndStoresTheChoiceAsYyyymm)
{
    shell::RegisterShellFunctions(Model(), "WSCBS", shell::DialogMode::Interactive, nullptr);
    LRESULT startYear = -1, startMonth = -1;
    User choose{shell::kPeriodDialogTitle, [&](HWND dialog) {
                    startYear = SendDlgItemMessageA(dialog, shell::kPeriodYearBox, CB_GETCURSEL, 0, 0);
                    startMonth = SendDlgItemMessageA(dialog, shell::kPeriodMonthBox, CB_GETCURSEL, 0, 0);
                    SendDlgItemMessageA(dialog, shell::kPeriodYearBox, CB_SETCURSEL, 2026 - shell::kFirstPeriodYear, 0);
                    SendDlgItemMessageA(dialog, shell::kPeriodMonthBox, CB_SETCURSEL, 10, 0);
                    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                }};
    EXPECT_TRUE(RunWithUser("WSCBS005-01", choose));
    EXPECT_EQ(startYear, 2007 - shell::kFirstPeriodYear);
    EXPECT_EQ(startMonth, 2);
    EXPECT_EQ(Period(), "202611");

    User cancel{shell::kPeriodDialogTitle, [](HWND dialog) {
                    SendDlgItemMessageA(dialog, shell::kPeriodMonthBox, CB_SETCURSEL, 0, 0);
                    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                }};
    EXPECT_FALSE(RunWithUser("WSCBS005-01", cancel));
    EXPECT_TRUE(cancel.acted);
    EXPECT_EQ(Period(), "202611");
}

TEST_F(ShellFunctionsTest, UnattendedFunctionsSucceedWithoutDialogAndKeepThePeriod)
{
    shell::RegisterShellFunctions(Model(), "WSCBS", shell::DialogMode::Unattended, nullptr);
    for (const shell::ShellFunction& function : shell::kShellFunctions) {
        char block[500] = {};
        char* pointer = block;
        EXPECT_EQ(ExecuteFunc(nullptr, ("WSCBS" + std::string(function.suffix)).c_str(), &pointer), 1);
    }
    EXPECT_EQ(Model().ExecuteCalls().size(), std::size(shell::kShellFunctions));
    EXPECT_EQ(Period(), "200703");
}

TEST(ShellTextRules, ParameterNamesFoldOnlyTheAsciiLettersThatBeginACharacter)
{
    const std::string text = "癮=trail;Abc=ascii;Δ=greek";
    EXPECT_EQ(shell::ReadParamEntry(text, "癮"), "trail");
    EXPECT_EQ(shell::ReadParamEntry(text, "癆"), "");  // B0 41 against B0 61
    EXPECT_EQ(shell::ReadParamEntry(text, "aBC"), "ascii");
    EXPECT_EQ(shell::ReadParamEntry(text, "δ"), "");
}

TEST(ShellTextRules, TheProfileMatchesCodesAsTheHostModelDoes)
{
    // Greek and full-width letters have cases too, but the host model folds
    // only ASCII letters: the shell must not join what the model keeps apart.
    testing_support::TempFolder installation("profile");
    installation.Make("app");
    installation.Make("host");
    installation.Write("host\\MainFrame.ini",
                       "[Host]\r\nCurrentSubApp=WSCBS\r\n"
                       "[SubApp WSCBS]\r\nFolder=..\\app\r\n"
                       "[subapp Δ1]\r\nFolder=..\\app\r\n"
                       "[Individuation wscbs]\r\nCaption_bs=ascii\r\n"
                       "[Individuation δ1]\r\nCaption_bs=greek\r\n"
                       "[SubApp 癮]\r\nfolder=..\\app\r\n"
                       "[Individuation 癆]\r\nCaption_bs=trail\r\n");
    const shell::HostProfile profile = shell::ReadHostProfile(installation.Path());
    ASSERT_EQ(profile.subApps.size(), 3u);
    EXPECT_EQ(profile.subApps[0].code, "WSCBS");
    EXPECT_EQ(profile.subApps[0].individuation,
              (std::vector<std::pair<std::string, std::string>>{{"Caption_bs", "ascii"}}));
    EXPECT_EQ(profile.subApps[1].code, "Δ1");
    EXPECT_TRUE(profile.subApps[1].individuation.empty());
    EXPECT_EQ(profile.subApps[2].code, "癮");
    EXPECT_EQ(profile.subApps[2].folder, installation.Path() + "app\\");
    EXPECT_TRUE(profile.subApps[2].individuation.empty());

    // A current sub-application that the host model could not find.
    installation.Write("host\\MainFrame.ini", "[Host]\r\nCurrentSubApp=δ1\r\n[SubApp Δ1]\r\nFolder=..\\app\r\n");
    EXPECT_THROW(shell::ReadHostProfile(installation.Path()), rt::Error);
    installation.Write("host\\MainFrame.ini", "[Host]\r\nCurrentSubApp=wscbs\r\n[SubApp WSCBS]\r\nFolder=..\\app\r\n");
    EXPECT_EQ(shell::ReadHostProfile(installation.Path()).currentSubApp, "wscbs");
}

TEST(HostProfile, TheRecordsVersionIsTheModulesOwnUnlessTheProfileGivesOne)
{
    // The module's DLL: <code>.dll in the host folder, else beside the
    // program (this test's folder holds the build's wscbs.dll), or Module=.
    testing_support::TempFolder installation("profile-version");
    installation.Make("app");
    installation.Make("host");
    const auto read = [&](const std::string& subApp) {
        installation.Write("host\\MainFrame.ini", "[Host]\r\nCurrentSubApp=WSCBS\r\n[SubApp WSCBS]\r\nFolder=..\\app\r\n" + subApp);
        const shell::HostProfile profile = shell::ReadHostProfile(installation.Path());
        EXPECT_EQ(profile.modules.size(), 1u);
        return std::make_pair(profile.subApps.at(0).version, profile.modules.at(0));
    };
    const auto [own, module] = read("");
    EXPECT_EQ(own, WSCBS_VERSION);
    EXPECT_EQ(module.fileVersion, WSCBS_VERSION);
    EXPECT_TRUE(module.profileVersion.empty());
    EXPECT_TRUE(module.file.ends_with("\\WSCBS.dll")) << module.file;

    const auto [given, moduleGiven] = read("Version=9.8.7\r\n");
    EXPECT_EQ(given, "9.8.7");
    EXPECT_EQ(moduleGiven.fileVersion, WSCBS_VERSION);

    // A Module= that names no file: no version at all.
    const auto [none, moduleMissing] = read("Module=absent.dll\r\n");
    EXPECT_EQ(none, "");
    EXPECT_EQ(moduleMissing.file, installation.Path() + "host\\absent.dll");
}
