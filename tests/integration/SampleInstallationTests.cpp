// The sample installation end to end: the shell's profile configures the
// host model, the real wscbs.dll initialises against it, and MainFrame.exe
// reports the same in console mode.
#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"
#include "shell/HostProfile.h"
#include "shell/SubAppModule.h"
#include "support/TempFolder.h"
#include "support/ChildProcess.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

using hostmodel::Model;
using testing::HasSubstr;
using testing_support::ExamplesFolder;
using testing_support::ProcessResult;
using testing_support::RunProgram;

namespace {

class SampleInstallation : public testing::Test {
protected:
    void SetUp() override
    {
        Model().Reset();
        std::filesystem::copy(ExamplesFolder(), installation, std::filesystem::copy_options::recursive);
    }
    void TearDown() override { Model().Reset(); }

    testing_support::TempFolder folder;
    std::string installation = folder.Path() + "installation\\";
};

TEST_F(SampleInstallation, ProfileConfiguresTheHostForTheSubApplication)
{
    const shell::HostProfile profile = shell::ReadHostProfile(installation);
    shell::ApplyHostProfile(profile, Model());

    EXPECT_EQ(Model().GetString(*GetCompanyInfoVO(), "QYMC"), "杭州云帆样例电子有限公司");
    EXPECT_EQ(Model().GetString(*GetCompanyInfoVO(), "XZQHDM"), "330106");
    EXPECT_EQ(Model().GetString(*GetUserInfoVO(), "UserName"), "管理员");
    rt::RtString text;
    GetCurSubAppPath(&text);
    EXPECT_EQ(text, installation + "WSCBS\\");
    GetAppPath(&text);
    EXPECT_EQ(text, installation + "host\\");
    const auto* record = reinterpret_cast<const std::uint8_t*>(GetCurSubAppInfo());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record + 257), record[256]), "2.0.1");
    EXPECT_EQ(CheckFunctionCanUse("WSCBS004-00-03"), 1);
    EXPECT_EQ(CheckFunctionCanUse("WSCBS004-00-06"), 0);
    GetUserConfigParam("RunParameter", "SysIME", "-请选择-", &text);
    EXPECT_EQ(text, "中文 (简体) - 微软拼音");
    GetSubAppIndividuationParam("WSCBS", "Hint_BS", "", &text);
    EXPECT_EQ(text, "将本月开具的发票数据抄入税控IC卡");
    EXPECT_EQ(profile.initSubAppText, "SubAppCode=WSCBS;UserCode=001;RunMode=1");
}

TEST_F(SampleInstallation, DatabaseIsMadeFromItsScriptAndTakesTheModulesColumnChanges)
{
    shell::ApplyHostProfile(shell::ReadHostProfile(installation), Model());
    rt::RtQuery query;
    rt::RtQuery* queryPointer = &query;
    rt::RtString message;
    for (const char* statement : {"alter table cs_ickxx alter column icxlh Text(4)",
                                  "alter table cs_ickxx alter column fjksm Text(4)"})
        EXPECT_EQ(ExecADOQueryMsg("WSCBSMainCon", statement, &queryPointer, &message, 0, 0), 1) << message.CStr();
    EXPECT_TRUE(std::filesystem::exists(installation + "WSCBS\\wscbs.db"));
    EXPECT_EQ(Model().QueryDatabase("select icxlh, fjksm, bz from cs_ickxx order by kpjh"),
              (std::vector<std::vector<std::string>>{{"1", "0", "主开票机"}, {"2", "1", "分开票机"}}));
}

TEST_F(SampleInstallation, RealModuleInitialisesAndReturnsTheTextUnchanged)
{
    const shell::HostProfile profile = shell::ReadHostProfile(installation);
    shell::ApplyHostProfile(profile, Model());
    {
        shell::SubAppModule module(shell::ExecutableFolder() + "wscbs.dll");
        const shell::SubAppModule::InitResult result = module.InitSubApp(nullptr, profile.initSubAppText);
        EXPECT_TRUE(result.succeeded);
        EXPECT_EQ(result.text, profile.initSubAppText);
        EXPECT_TRUE(Model().Messages().empty());
        Model().Reset();
    }
}

TEST_F(SampleInstallation, ConsoleShellReportsTheInitialisation)
{
    // No backslash before the closing quote: it would escape the quote.
    const std::string folderArgument = installation.substr(0, installation.size() - 1);
    const ProcessResult run =
        RunProgram("\"" + shell::ExecutableFolder() + "MainFrame.exe\" --console \"" + folderArgument + "\"");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_THAT(run.output, HasSubstr("InitSubApp -> 1\r\n"));
    EXPECT_THAT(run.output, HasSubstr("returned text: SubAppCode=WSCBS;UserCode=001;RunMode=1\r\n"));
    EXPECT_THAT(run.output, HasSubstr("sub-application: WSCBS 网上抄报税 2.0.1"));

    const ProcessResult missing =
        RunProgram("\"" + shell::ExecutableFolder() + "MainFrame.exe\" --console \"" + folder.Path() + "none\"");
    EXPECT_EQ(missing.exitCode, 2u);
    EXPECT_THAT(missing.output, HasSubstr("MainFrame.ini"));
}

// The PNG's width and height from its header; 0 x 0 when it is no PNG.
std::pair<unsigned, unsigned> PngSize(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    unsigned char header[24] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    if (!in || std::memcmp(header, "\x89PNG\r\n\x1a\n", 8) != 0)
        return {0, 0};
    auto big = [&](int at) {
        return (unsigned{header[at]} << 24) | (unsigned{header[at + 1]} << 16) | (unsigned{header[at + 2]} << 8) |
               header[at + 3];
    };
    return {big(16), big(20)};
}

TEST_F(SampleInstallation, WindowShellShowsTheLauncherCapturesItAndReportsTheModulesCalls)
{
    const std::string folderArgument = installation.substr(0, installation.size() - 1);
    const std::string png = folder.Path() + "launcher.png";
    const ProcessResult run = RunProgram("\"" + shell::ExecutableFolder() + "MainFrame.exe\" \"" + folderArgument +
                                         "\" --capture \"" + png + "\" --timing");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_THAT(run.output, HasSubstr("InitSubApp -> 1\r\n"));
    EXPECT_THAT(run.output, HasSubstr("ShowFrmView -> 1\r\n"));
    EXPECT_THAT(run.output, HasSubstr("timing: first ShowFrmView"));
    EXPECT_THAT(run.output, HasSubstr("WSCBS004-00-01 -> 1"));
    EXPECT_THAT(run.output, HasSubstr("alter table cs_ickxx alter column fjksm Text(4)"));
    EXPECT_THAT(run.output, HasSubstr("GetSubAppIndividuationParam(\"WSCBS\", \"Hint_BS\", \"\")"));
    const auto [width, height] = PngSize(png);
    EXPECT_GE(width, 800u);
    EXPECT_GE(height, 600u);
}

TEST_F(SampleInstallation, WindowShellReportsAFailedInitialisationWithItsMessage)
{
    std::filesystem::remove(installation + "WSCBS\\errmsg.xml");
    const std::string folderArgument = installation.substr(0, installation.size() - 1);
    const ProcessResult run = RunProgram("\"" + shell::ExecutableFolder() + "MainFrame.exe\" \"" + folderArgument +
                                         "\" --capture \"" + folder.Path() + "failed.png\"");
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_THAT(run.output, HasSubstr("InitSubApp -> 0"));
    EXPECT_THAT(run.output, HasSubstr("ResultMsgStr: 错误代码：[0001]"));
    EXPECT_THAT(run.output, testing::Not(HasSubstr("ShowFrmView ->")));
}

} // namespace
