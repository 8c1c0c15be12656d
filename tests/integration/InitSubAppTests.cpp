// InitSubApp of the real wscbs.dll against the reference host model, each
// test on a fresh copy of the sample installation in a temporary folder.
#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"
#include "shell/HostProfile.h"
#include "shell/SubAppModule.h"
#include "support/CallFaults.h"
#include "support/TempFolder.h"
#include "support/ChildProcess.h"
#include "support/ImportPatch.h"
#include "support/ModuleLogMark.h"

#include "sharedrt/ErrorMsgLayout.h"
#include "sharedrt/RtString.h"
#include "sharedrt/SharedHeap.h"
#include "sharedrt/UniqueHandle.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>

using hostmodel::Model;
using testing::HasSubstr;
using testing::Not;
using testing_support::PathExists;
using testing_support::ReadBytes;
using testing_support::TempFolder;

using testing_support::ExamplesFolder;

namespace {

constexpr const char kCatalogueMissing[] = "错误代码：[0001]\r\n初始化系统错误信息列表出错！错误信息文件不存在！";
constexpr const char kCatalogueEmpty[] = "错误代码：[0002]\r\n初始化系统错误信息列表出错！错误文件内容为空！";
constexpr const char kDriverMissing[] =
    "计算机没有安装报税IC卡专用读卡器驱动程序，无法使用本系统。\r\n请您先正确安装专用读卡器驱动程序后，再使用本系统。";

// The period of today: the month before, yyyymm.
std::string ExpectedPeriod()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    int year = now.wYear;
    int month = now.wMonth - 1;
    if (month == 0) {
        month = 12;
        --year;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d", year, month);
    return text;
}

class InitSubAppTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::copy(ExamplesFolder(), installation_, std::filesystem::copy_options::recursive);
        profile_ = shell::ReadHostProfile(installation_);
        subApp_ = installation_ + "WSCBS\\";
        difference_ = subApp_ + "AppComs\\difference\\";
        logMark_ = testing_support::ModuleLogMark();
    }
    void TearDown() override
    {
        // The module's items go while the module is still loaded: the
        // catalogue they point at is released when it unloads.
        Model().Reset();
        module_.reset();
    }

    // Configures the host from the profile and calls InitSubApp with `text`.
    // The module stays loaded until the test ends, as in the host.
    shell::SubAppModule::InitResult Init(const std::string& text)
    {
        shell::ApplyHostProfile(profile_, Model());
        if (!module_)
            module_.emplace(shell::ExecutableFolder() + "wscbs.dll");
        return module_->InitSubApp(nullptr, text);
    }

    // The module's own InitSubApp, for a buffer of the test's making; the
    // host is configured from the profile first.
    WscbsInitSubAppProc RawInitSubApp()
    {
        shell::ApplyHostProfile(profile_, Model());
        if (!module_)
            module_.emplace(shell::ExecutableFolder() + "wscbs.dll");
        return reinterpret_cast<WscbsInitSubAppProc>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("wscbs.dll"), "InitSubApp")));
    }

    // InitSubApp once more on the host as it stands.
    shell::SubAppModule::InitResult InitAgain(const std::string& text) { return module_->InitSubApp(nullptr, text); }

    std::optional<std::string> SubAppValue(const char* name) { return Model().GetString(*Model().SubAppVo("WSCBS"), name); }

    // The log lines written since the test began that mention this test's
    // installation (other test programs may log at the same time).
    std::vector<std::string> LogLines(std::string_view needle = {}) const
    {
        return logMark_.Messages(needle.empty() ? std::string_view(installation_) : needle);
    }

    void SetCompany(const char* name, const char* value)
    {
        for (auto& item : profile_.companyItems) {
            if (item.first == name) {
                item.second = value;
                return;
            }
        }
        profile_.companyItems.emplace_back(name, value);
    }

    TempFolder folder_{"init"};
    std::string installation_ = folder_.Path() + "installation\\";
    std::string subApp_;
    std::string difference_;
    shell::HostProfile profile_;
    testing_support::ModuleLogMark logMark_;
    std::optional<shell::SubAppModule> module_;
};

} // namespace

TEST_F(InitSubAppTest, SuccessReturnsTheTextByteForByteAndPublishesEverything)
{
    const std::string text = "  SubAppCode=WSCBS;UserCode=001;Note=a&eq%b&lim%c;  ";
    const auto result = Init(text);
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.text, text);

    EXPECT_EQ(SubAppValue("Global_cbsreader"), "USB-01");
    EXPECT_EQ(SubAppValue("Global_company"), "330106999900017");
    EXPECT_EQ(SubAppValue("Global_curkjny"), ExpectedPeriod());
    const rt::ParamItem* errors = Model().FindItem(*Model().SubAppVo("WSCBS"), "Global_Errlist");
    ASSERT_NE(errors, nullptr);
    EXPECT_EQ(errors->ValueType, static_cast<std::uint8_t>(rt::ParamType::Pointer));
    const auto* records = static_cast<const rt::TErrorMsg*>(errors->Value->PointerValue);
    ASSERT_NE(records, nullptr);
    const std::int32_t count = rt::CountedArrayLength(records);
    const auto found = std::find_if(records, records + count, [](const rt::TErrorMsg& r) { return r.Code == 70001005; });
    ASSERT_NE(found, records + count);
    EXPECT_EQ(found->Msg, "更新IC卡信息表结构失败，请与系统管理员联系。");

    // Regional parameters: general part, province 33, then Hangzhou's GS_Differ.
    EXPECT_EQ(SubAppValue("SWJGMC"), "国家税务总局杭州市税务局");
    EXPECT_EQ(SubAppValue("HelpTitle"), "网上抄报税 & 清卡说明");
    EXPECT_EQ(Model().FindItem(*Model().SubAppVo("WSCBS"), "CbsRetry")->Value->IntegerValue, 5);
    EXPECT_EQ(Model().FindItem(*Model().SubAppVo("WSCBS"), "CbsDayTo")->Value->IntegerValue, 18);
    EXPECT_DOUBLE_EQ(Model().FindItem(*Model().SubAppVo("WSCBS"), "TaxRate")->Value->FloatValue, 0.13);
    EXPECT_EQ(Model().FindItem(*Model().SubAppVo("WSCBS"), "UseProxy")->Value->BooleanValue, 1);
    EXPECT_THAT(ReadBytes(subApp_ + "Templates\\bs_report.txt"), HasSubstr("杭州"));
    EXPECT_THAT(ReadBytes(subApp_ + "Config\\BankList.ini"), HasSubstr("浙江省"));
    EXPECT_TRUE(PathExists(subApp_ + "hz_notice.txt"));
    EXPECT_THAT(ReadBytes(subApp_ + "cookie.ini"), HasSubstr("lastRevenueCode=1330106"));

    // The upgrade ran and its file is gone; the action configuration merged.
    EXPECT_FALSE(PathExists(subApp_ + "dataupdate.ini"));
    EXPECT_EQ(Model().QueryDatabase("select count(*) from cs_sbjl"), (std::vector<std::vector<std::string>>{{"2"}}));
    const std::string hostActions = ReadBytes(installation_ + "host\\action.ini");
    EXPECT_THAT(hostActions, HasSubstr("FormName=frm_bs\r\n"));
    EXPECT_THAT(hostActions, HasSubstr("[SYS001-02]"));
    EXPECT_TRUE(LogLines().empty());
    EXPECT_TRUE(Model().Messages().empty());
}

TEST_F(InitSubAppTest, MissingCatalogueFailsAfterTheRestOfTheGlobalStep)
{
    DeleteFileA((subApp_ + "errmsg.xml").c_str());
    const auto result = Init("SubAppCode=WSCBS;ResultMsgStr=old;RunMode=1");
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(result.text, std::string("SubAppCode=WSCBS;ResultMsgStr=") + kCatalogueMissing + ";RunMode=1");
    EXPECT_EQ(SubAppValue("Global_curkjny"), ExpectedPeriod());
    EXPECT_EQ(SubAppValue("Global_company"), "330106999900017");
    EXPECT_EQ(Model().FindItem(*Model().SubAppVo("WSCBS"), "Global_Errlist"), nullptr);
    EXPECT_FALSE(PathExists(subApp_ + "dataupdate.ini"));
}

TEST_F(InitSubAppTest, TheWriteBackStaysInsideAPlainBufferAndASmallSharedHeapBlock)
{
    // The failure adds the catalogue message, more than either buffer holds.
    DeleteFileA((subApp_ + "errmsg.xml").c_str());
    const auto init = RawInitSubApp();
    ASSERT_NE(init, nullptr);
    const std::string text = "SubAppCode=WSCBS";

    // Memory of the host's own: its size is unknown, so nothing goes past
    // the text the host wrote there.
    // (The guard bytes hold the whole failure text, so that an unbounded
    // write stays inside them.)
    std::vector<char> plain(text.size() + 1 + 256, '#');
    std::memcpy(plain.data(), text.c_str(), text.size() + 1);
    char* pointer = plain.data();
    EXPECT_EQ(init(nullptr, &pointer), 0);
    EXPECT_EQ(pointer, plain.data());
    EXPECT_EQ(std::string(plain.data()), text);
    ASSERT_TRUE(std::all_of(plain.begin() + text.size() + 1, plain.end(), [](char c) { return c == '#'; }));

    // A shared-heap block of 40 bytes: 39 bytes of text and the NUL, cut
    // before a character that would not fit whole.
    constexpr std::size_t kBlock = 40;
    auto* block = static_cast<char*>(rt::SharedHeap::AllocZeroed(kBlock));
    std::memset(block, '#', kBlock);
    std::memcpy(block, text.c_str(), text.size() + 1);
    pointer = block;
    EXPECT_EQ(init(nullptr, &pointer), 0);
    EXPECT_EQ(std::string(block), "SubAppCode=WSCBS;ResultMsgStr=错误代码");  // 38 bytes; "：" takes two more
    EXPECT_EQ(block[kBlock - 1], '#');
    rt::SharedHeap::Free(block);
}

TEST_F(InitSubAppTest, EmptyCatalogueGivesTheSecondMessage)
{
    testing_support::WriteBytes(subApp_ + "errmsg.xml", "");
    const auto result = Init("");
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(result.text, std::string("ResultMsgStr=") + kCatalogueEmpty);
}

TEST_F(InitSubAppTest, RegionalFailuresAreLoggedAndTheRestRuns)
{
    // Province 33's file names the wrong region; the general part names a
    // file that is not there.
    testing_support::WriteBytes(difference_ + "33\\SysDifference.xml",
                                "<SYSDIFFERENCE ZCODE=\"32\"><DIFF-PARAMETERS><DIFF-PARAMETER><NAME>Wrong</NAME>"
                                "<VALUE>1</VALUE></DIFF-PARAMETER></DIFF-PARAMETERS></SYSDIFFERENCE>");
    DeleteFileA((difference_ + "Difference.txt").c_str());
    const auto result = Init("SubAppCode=WSCBS");
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(result.text, "SubAppCode=WSCBS");
    EXPECT_EQ(LogLines(), (std::vector<std::string>{
                              "找不到差异化文件" + difference_ + "Difference.txt",
                              "处理差异化配置文件[" + difference_ + "SysDifference.xml]发生错误：拷贝文件失败！",
                              "差异化配置文件[" + difference_ + "33\\SysDifference.xml]配置有误：目标位置[ZCODE]！",
                          }));
    EXPECT_EQ(SubAppValue("Wrong"), std::nullopt);
    EXPECT_EQ(SubAppValue("SWJGMC"), "国家税务总局杭州市税务局");
    EXPECT_FALSE(PathExists(subApp_ + "cookie.ini"));
    EXPECT_EQ(SubAppValue("Global_curkjny"), ExpectedPeriod());
}

TEST_F(InitSubAppTest, NoCompanyZoneStillInitialises)
{
    SetCompany("XZQHDM", "");
    SetCompany("ZONECODE", "");
    const auto result = Init("a=1");
    EXPECT_TRUE(result.succeeded);
    // Zone code "1": no region matches; only the general part applies.
    EXPECT_EQ(SubAppValue("SWJGMC"), "国家税务总局");
    EXPECT_THAT(ReadBytes(subApp_ + "cookie.ini"), HasSubstr("lastRevenueCode=1\r\n"));
}

TEST_F(InitSubAppTest, ZoneCodeComesFromZonecodeBeforeXzqhdm)
{
    SetCompany("ZONECODE", "132");
    ASSERT_TRUE(Init("a=1").succeeded);
    EXPECT_EQ(SubAppValue("SWJGMC"), "国家税务总局江苏省税务局");
    EXPECT_THAT(ReadBytes(subApp_ + "cookie.ini"), HasSubstr("lastRevenueCode=132\r\n"));
    EXPECT_FALSE(PathExists(subApp_ + "hz_notice.txt"));
}

TEST_F(InitSubAppTest, FilesAreCopiedAgainOnlyForAnotherVersion)
{
    ASSERT_TRUE(Init("a=1").succeeded);
    ASSERT_TRUE(DeleteFileA((subApp_ + "hz_notice.txt").c_str()));
    Model().Reset();

    ASSERT_TRUE(Init("a=1").succeeded);
    EXPECT_FALSE(PathExists(subApp_ + "hz_notice.txt"));
    EXPECT_EQ(SubAppValue("SWJGMC"), "国家税务总局杭州市税务局");  // parameters every time
    Model().Reset();

    profile_.subApps[0].version = "2.0.2";
    ASSERT_TRUE(Init("a=1").succeeded);
    EXPECT_TRUE(PathExists(subApp_ + "hz_notice.txt"));
    EXPECT_THAT(ReadBytes(subApp_ + "cookie.ini"), HasSubstr("lastVersion=2.0.2\r\n"));
}

TEST_F(InitSubAppTest, FailedUpgradeStatementIsTheOnlyOneRunAgain)
{
    const std::string table = "cs_pending_" + std::to_string(GetCurrentProcessId());
    const std::string failing = "INSERT INTO " + table + " VALUES (1)";
    testing_support::WriteBytes(subApp_ + "dataupdate.ini",
                                "[MSACCESS]\r\n"
                                "first=CREATE TABLE cs_first (a Integer)\r\n"
                                "second=" + failing + "\r\n"
                                "third=UPDATE cs_ickxx SET bz='第三条' WHERE kpjh=1\r\n");
    ASSERT_TRUE(Init("a=1").succeeded);
    EXPECT_TRUE(PathExists(subApp_ + "dataupdate.ini"));
    EXPECT_EQ(Model().QueryDatabase("select bz from cs_ickxx where kpjh=1"),
              (std::vector<std::vector<std::string>>{{"第三条"}}));
    EXPECT_EQ(LogLines(failing), (std::vector<std::string>{"升级数据库失败:" + failing}));

    // The table appears; at the next start only the failed statement runs.
    Model().QueryDatabase("create table " + table + " (a integer)");
    Model().Reset();
    ASSERT_TRUE(Init("a=1").succeeded);
    std::vector<std::string> statements;
    for (const auto& call : Model().Calls()) {
        if (call.function == "ExecADOQueryMsg")
            statements.push_back(call.arguments);
    }
    ASSERT_EQ(statements.size(), 1u);
    EXPECT_THAT(statements[0], HasSubstr(failing));
    EXPECT_FALSE(PathExists(subApp_ + "dataupdate.ini"));
    EXPECT_EQ(Model().QueryDatabase("select count(*) from " + table), (std::vector<std::vector<std::string>>{{"1"}}));
}

TEST_F(InitSubAppTest, NoActionFileLeavesTheHostsAlone)
{
    DeleteFileA((subApp_ + "action.ini").c_str());
    DeleteFileA((installation_ + "host\\action.ini").c_str());
    ASSERT_TRUE(Init("a=1").succeeded);
    EXPECT_FALSE(PathExists(installation_ + "host\\action.ini"));
}

TEST_F(InitSubAppTest, UnwritableHostActionFileFailsTheInitialisation)
{
    // A directory where the host's action.ini should be: the merge cannot
    // write, and the failure comes back as the result message.
    DeleteFileA((installation_ + "host\\action.ini").c_str());
    CreateDirectoryA((installation_ + "host\\action.ini").c_str(), nullptr);
    const auto result = Init("a=1");
    EXPECT_FALSE(result.succeeded);
    EXPECT_THAT(result.text, HasSubstr("a=1;ResultMsgStr=初始化子系统失败：无法写入配置文件"));
}

namespace {

// The Windows folder, where the profile functions put a file named without
// a folder.
std::string WindowsFolderFile(const char* name)
{
    char folder[MAX_PATH + 1] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

// A host that answers a folder with an empty text.
void __stdcall EmptyFolder(rt::RtString*) {}
void __stdcall EmptySubAppFolder(const char*, rt::RtString*) {}

} // namespace

TEST_F(InitSubAppTest, EmptyHostFolderFailsTheMergeAndWritesNothingElsewhere)
{
    const std::string stray = WindowsFolderFile("action.ini");
    DeleteFileA(stray.c_str());
    const std::string hostActions = ReadBytes(installation_ + "host\\action.ini");
    shell::ApplyHostProfile(profile_, Model());
    module_.emplace(shell::ExecutableFolder() + "wscbs.dll");
    const testing_support::ImportPatch noFolder(GetModuleHandleA("wscbs.dll"), "ModuleLib.dll", "GetAppPath",
                                                reinterpret_cast<void*>(&EmptyFolder));
    const auto result = InitAgain("a=1");
    EXPECT_FALSE(result.succeeded);
    EXPECT_THAT(result.text, HasSubstr("a=1;ResultMsgStr=初始化子系统失败："));
    EXPECT_FALSE(PathExists(stray));
    EXPECT_EQ(ReadBytes(installation_ + "host\\action.ini"), hostActions);
    EXPECT_EQ(LogLines("GetAppPath").size(), 1u);
    // The regional step had its folder and ran.
    EXPECT_THAT(ReadBytes(subApp_ + "cookie.ini"), HasSubstr("lastRevenueCode=1330106"));
}

TEST_F(InitSubAppTest, EmptySubAppFolderFailsItsStepsAndWritesNothingElsewhere)
{
    const std::string strayCookie = WindowsFolderFile("cookie.ini");
    const std::string strayActions = WindowsFolderFile("action.ini");
    DeleteFileA(strayCookie.c_str());
    DeleteFileA(strayActions.c_str());
    const std::string hostActions = ReadBytes(installation_ + "host\\action.ini");
    shell::ApplyHostProfile(profile_, Model());
    module_.emplace(shell::ExecutableFolder() + "wscbs.dll");
    const HMODULE wscbs = GetModuleHandleA("wscbs.dll");
    const testing_support::ImportPatch noFolder(wscbs, "ModuleLib.dll", "GetSubAppPath",
                                                reinterpret_cast<void*>(&EmptySubAppFolder));
    const testing_support::ImportPatch noCurrentFolder(wscbs, "ModuleLib.dll", "GetCurSubAppPath",
                                                       reinterpret_cast<void*>(&EmptyFolder));
    const auto result = InitAgain("a=1");
    EXPECT_FALSE(result.succeeded);
    EXPECT_THAT(result.text, HasSubstr("a=1;ResultMsgStr=初始化子系统失败："));
    EXPECT_FALSE(PathExists(strayCookie));
    EXPECT_FALSE(PathExists(strayActions));
    EXPECT_EQ(ReadBytes(installation_ + "host\\action.ini"), hostActions);
    EXPECT_FALSE(PathExists(subApp_ + "cookie.ini"));
    EXPECT_EQ(LogLines("GetSubAppPath").size(), 1u);
    EXPECT_EQ(LogLines("GetCurSubAppPath").size(), 1u);
}

TEST_F(InitSubAppTest, RegionalFileHeldByAnotherProgramIsLoggedAndCopiedAtTheNextStart)
{
    const std::string held = subApp_ + "Templates\\bs_report.txt";
    CreateDirectoryA((subApp_ + "Templates").c_str(), nullptr);
    testing_support::WriteBytes(held, "old report");
    {
        // Another program holds the file without sharing: it cannot be
        // replaced in this run, and the run must not be recorded as done.
        rt::unique_hfile holder(CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        ASSERT_TRUE(Init("a=1").succeeded);
    }
    EXPECT_EQ(ReadBytes(held), "old report");
    EXPECT_FALSE(PathExists(subApp_ + "cookie.ini"));
    EXPECT_FALSE(LogLines("bs_report.txt").empty());
    EXPECT_FALSE(LogLines("拷贝文件失败").empty());

    Model().Reset();
    ASSERT_TRUE(Init("a=1").succeeded);
    EXPECT_THAT(ReadBytes(held), HasSubstr("杭州"));
    EXPECT_THAT(ReadBytes(subApp_ + "cookie.ini"), HasSubstr("lastRevenueCode=1330106"));
}

TEST_F(InitSubAppTest, GlobalsExistWithoutUserConfigAndStayOneItemEach)
{
    DeleteFileA((subApp_ + "UserConfig.ini").c_str());
    ASSERT_TRUE(Init("a=1").succeeded);
    const std::int32_t items = Model().SubAppVo("WSCBS")->Items->Count();
    ASSERT_TRUE(InitAgain("a=1").succeeded);
    EXPECT_EQ(Model().SubAppVo("WSCBS")->Items->Count(), items);
    EXPECT_EQ(SubAppValue("Global_cbsreader"), "");
    EXPECT_EQ(SubAppValue("Global_curkjny"), ExpectedPeriod());
}

namespace {

// A host that has no company information the first time it is asked (the
// regional step asks first), and has it afterwards.
decltype(&GetCompanyInfoVO) g_companyInfo = nullptr;
int g_companyCalls = 0;
rt::DataVO* WSCBS_STDCALL CompanyMissingOnce()
{
    return g_companyCalls++ == 0 ? nullptr : g_companyInfo();
}

// A host that knows no record of any sub-application.
const WscbsSubAppInfo* WSCBS_STDCALL NoSubAppRecord(const char*) { return nullptr; }

// A host whose INI writes do not reach the file (its service has no result).
void WSCBS_STDCALL IniWriteLost(const char*, const char*, const char*, const char*) {}

} // namespace

TEST_F(InitSubAppTest, RegionalStepSkippedForWantOfCompanyInformationIsLogged)
{
    shell::ApplyHostProfile(profile_, Model());
    module_.emplace(shell::ExecutableFolder() + "wscbs.dll");
    const testing_support::ImportPatch once(GetModuleHandleA("wscbs.dll"), "ModuleLib.dll", "GetCompanyInfoVO",
                                            reinterpret_cast<void*>(&CompanyMissingOnce));
    g_companyInfo = reinterpret_cast<decltype(&GetCompanyInfoVO)>(once.Original());
    g_companyCalls = 0;
    const auto result = InitAgain("a=1");
    EXPECT_TRUE(result.succeeded);
    EXPECT_FALSE(PathExists(subApp_ + "cookie.ini"));
    EXPECT_EQ(SubAppValue("SWJGMC"), std::nullopt);
    EXPECT_EQ(LogLines("企业信息").size(), 1u);
}

TEST_F(InitSubAppTest, SubApplicationWithoutAHostRecordIsNotRecordedAsApplied)
{
    shell::ApplyHostProfile(profile_, Model());
    module_.emplace(shell::ExecutableFolder() + "wscbs.dll");
    const testing_support::ImportPatch noRecord(GetModuleHandleA("wscbs.dll"), "ModuleLib.dll", "GetpSubAppInfo",
                                                reinterpret_cast<void*>(&NoSubAppRecord));
    const auto result = InitAgain("a=1");
    EXPECT_TRUE(result.succeeded);
    // Without the version the record would name a version never applied.
    EXPECT_FALSE(PathExists(subApp_ + "cookie.ini"));
    EXPECT_EQ(LogLines("GetpSubAppInfo").size(), 1u);
}

TEST_F(InitSubAppTest, RegionalRecordTheHostDidNotWriteIsLogged)
{
    shell::ApplyHostProfile(profile_, Model());
    module_.emplace(shell::ExecutableFolder() + "wscbs.dll");
    const testing_support::ImportPatch lost(GetModuleHandleA("wscbs.dll"), "ModuleLib.dll", "WriteIniValueString",
                                            reinterpret_cast<void*>(&IniWriteLost));
    const auto result = InitAgain("a=1");
    EXPECT_TRUE(result.succeeded);
    EXPECT_FALSE(PathExists(subApp_ + "cookie.ini"));
    EXPECT_EQ(LogLines(subApp_ + "cookie.ini").size(), 1u);
}

TEST_F(InitSubAppTest, UserConfigThatCannotBeReadFailsTheStartRatherThanPublishingNoReader)
{
    // A settled installation: every later start makes the same calls.
    ASSERT_TRUE(Init("a=1").succeeded);
    faults::CallFaults& faults = faults::CallFaults::Instance();
    const HMODULE wscbs = GetModuleHandleA("wscbs.dll");
    faults.Install(wscbs, faults::Importer::Module);
    const std::string userConfig = subApp_ + "UserConfig.ini";
    std::vector<std::uint64_t> reads;
    {
        shell::ApplyHostProfile(profile_, Model());
        const faults::FaultWindow none(0);
        ASSERT_TRUE(InitAgain("a=1").succeeded);
        for (std::size_t i = 0; i < faults.Calls().size(); ++i)
            if (faults.Calls()[i].subject == userConfig)
                reads.push_back(i + 1);
    }
    ASSERT_FALSE(reads.empty());
    for (const std::uint64_t n : reads) {
        shell::ApplyHostProfile(profile_, Model());
        shell::SubAppModule::InitResult result;
        {
            const faults::FaultWindow window(n);
            result = InitAgain("a=1");
        }
        const std::string function = faults::Hooks()[faults.Calls()[n - 1].hook].function;
        if (result.succeeded)
            EXPECT_EQ(SubAppValue("Global_cbsreader"), "USB-01") << "call " << n << ": " << function;
        else
            EXPECT_THAT(result.text, HasSubstr(userConfig)) << "call " << n << ": " << function;
    }
    faults.Remove(wscbs);
}
