// wscbs-check, the program, on copies of the sample installation: clean as
// shipped, each damage reported with its file and line, nothing of the
// installation changed, and its forecast of the upgrade what a real start
// of the shell then does.
#include "startup/upgrade/UpgradeStatements.h"
#include "shell/SubAppModule.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <sqlite3.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <map>
#include <string>

using testing::HasSubstr;
using testing::Not;
using testing_support::ExamplesFolder;
using testing_support::ProcessResult;
using testing_support::ReadBytes;
using testing_support::RunProgram;
using testing_support::TempFolder;

namespace {

// Every file below `folder` (relative path) with its bytes, and every
// directory (relative path, ending with "\", no bytes).
std::map<std::string, std::string> Contents(const std::string& folder)
{
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        std::string relative = std::filesystem::relative(entry.path(), folder).string();
        if (entry.is_directory())
            contents[relative + "\\"];
        else
            contents[relative] = ReadBytes(entry.path().string());
    }
    return contents;
}

void SetReadOnlyTree(const std::string& folder, bool readOnly)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (!entry.is_directory())
            SetFileAttributesA(entry.path().string().c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

class CheckInstallationTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::copy(ExamplesFolder(), installation_, std::filesystem::copy_options::recursive);
    }
    void TearDown() override { SetReadOnlyTree(installation_, false); }

    // The folder without its last "\": one before the closing quote would
    // escape it.
    ProcessResult Check(const std::string& options = {}, const std::string& folder = {})
    {
        std::string argument = folder.empty() ? installation_ : folder;
        if (argument.back() == '\\')
            argument.pop_back();
        return RunProgram("\"" + shell::ExecutableFolder() + "wscbs-check.exe\" " + options + " \"" + argument + "\"");
    }

    ProcessResult Start()
    {
        std::string argument = installation_;
        argument.pop_back();
        return RunProgram("\"" + shell::ExecutableFolder() + "MainFrame.exe\" --console \"" + argument + "\"");
    }

    void Write(const std::string& relative, std::string_view bytes)
    {
        testing_support::WriteBytes(installation_ + relative, bytes);
    }

    TempFolder folder_{"check"};
    std::string installation_ = folder_.Path() + "installation\\";
    std::string subApp_ = installation_ + "WSCBS\\";
};

} // namespace

TEST_F(CheckInstallationTest, TheSampleIsCleanInTextAndJson)
{
    const ProcessResult text = Check();
    EXPECT_EQ(text.exitCode, 0u) << text.output;
    EXPECT_THAT(text.output, HasSubstr("sub-application WSCBS, version 2.0.1"));
    EXPECT_THAT(text.output, HasSubstr("zone code 1330106"));
    EXPECT_THAT(text.output, HasSubstr("loads 42 entries, read as GBK (declared GB2312)"));
    EXPECT_THAT(text.output, HasSubstr("line 3  runs  sbjl_create=CREATE TABLE cs_sbjl"));
    EXPECT_THAT(text.output, HasSubstr("add  [WSCBS004-00-04] Caption=清卡"));
    EXPECT_THAT(text.output, HasSubstr("== Problems: 0"));

    const ProcessResult json = Check("--json");
    EXPECT_EQ(json.exitCode, 0u) << json.output;
    // UTF-8 in the JSON, whatever the installation's texts are written in.
    EXPECT_THAT(json.output, HasSubstr("\"value\": \"\xE6\xB8\x85\xE5\x8D\xA1\""));  // 清卡
    EXPECT_THAT(json.output, HasSubstr("\"problemCount\": 0"));
    EXPECT_THAT(json.output, HasSubstr("\"exitStatus\": 0"));
    // The zone given replaces the company record's.
    EXPECT_THAT(Check("--zone 132").output, HasSubstr("zone code 132 (given by --zone)"));
}

TEST_F(CheckInstallationTest, AZoneWhoseZcodeDiffersIsReportedAtItsLineAndNotApplied)
{
    const std::string config = subApp_ + "AppComs\\difference\\33\\SysDifference.xml";
    std::string bytes = ReadBytes(config);
    bytes.replace(bytes.find("ZCODE=\"33\""), 10, "ZCODE=\"34\"");
    Write("WSCBS\\AppComs\\difference\\33\\SysDifference.xml", bytes);
    const ProcessResult run = Check();
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_THAT(run.output, HasSubstr(config + ":2: 差异化配置文件[" + config + "]配置有误：目标位置[ZCODE]！"));
    // Neither its parameters nor its copy: the general part's value stands.
    EXPECT_THAT(run.output, Not(HasSubstr("国家税务总局浙江省税务局")));
    EXPECT_THAT(run.output, Not(HasSubstr("BankList.ini")));
}

TEST_F(CheckInstallationTest, AMissingDifferenceFileIsReportedWithTheLineThatNamesIt)
{
    const std::string source = subApp_ + "AppComs\\difference\\33\\BankList.ini";
    ASSERT_TRUE(DeleteFileA(source.c_str()));
    const ProcessResult run = Check();
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    const std::string config = subApp_ + "AppComs\\difference\\33\\SysDifference.xml";
    EXPECT_THAT(run.output, HasSubstr(config + ":24: 找不到差异化文件" + source));
}

TEST_F(CheckInstallationTest, AMalformedCatalogueIsReportedAtItsLine)
{
    Write("WSCBS\\errmsg.xml", "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n"
                               "<ERRORLIST>\r\n"
                               "  <ERROR><CODE>1</CODE><MSG>一</MSG></ERROR>\r\n"
                               "  <ERROR><CODE>2</CODE><MSG>二</ERROR>\r\n"
                               "</ERRORLIST>\r\n");
    const ProcessResult run = Check();
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_THAT(run.output, HasSubstr(subApp_ + "errmsg.xml:4: not well-formed: mismatched tag"));
    EXPECT_THAT(run.output, HasSubstr("错误代码：[0002]"));
    EXPECT_THAT(run.output, HasSubstr("The installation has problems."));
}

TEST_F(CheckInstallationTest, ARepeatedCatalogueCodeIsReportedAtItsLine)
{
    Write("WSCBS\\errmsg.xml", "<ERRORLIST>\r\n"
                               "  <ERROR><CODE>70001005</CODE><MSG>一</MSG></ERROR>\r\n"
                               "  <ERROR><CODE>70001006</CODE><MSG>二</MSG></ERROR>\r\n"
                               "  <ERROR><CODE>70001005</CODE><MSG>三</MSG></ERROR>\r\n"
                               "</ERRORLIST>\r\n");
    const ProcessResult run = Check("--json");
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_THAT(run.output, HasSubstr("\"line\": 4,\n"));
    EXPECT_THAT(run.output, HasSubstr("\"message\": \"code 70001005 repeats the entry of line 2"));
    EXPECT_THAT(run.output, HasSubstr("\"problemCount\": 1"));
}

TEST_F(CheckInstallationTest, AStatementTheDatabaseRefusesIsReportedAtItsLineAndRecordedOnesAreNotTried)
{
    const std::string recorded = "DELETE FROM no_such_table";
    Write("WSCBS\\dataupdate.ini", "[MSACCESS]\r\n"
                                   "make=CREATE TABLE t_new (a Integer)\r\n"
                                   "fill=INSERT INTO t_new (a) VALUES (1)\r\n"
                                   "broken=UPDATE t_missing SET a=2\r\n"
                                   "old=" + recorded + "\r\n"
                                   "[MSACCESS.done]\r\n"
                                   "old=" + startup::StatementHash(recorded) + "\r\n");
    const ProcessResult run = Check();
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    // Each statement sees what those before it did: the table made on line
    // 2 takes the row of line 3.
    EXPECT_THAT(run.output, HasSubstr("line 3  runs  fill="));
    EXPECT_THAT(run.output, HasSubstr("line 5  done  old="));
    EXPECT_THAT(run.output, HasSubstr(subApp_ + "dataupdate.ini:4: the host's database refuses \"broken\": "));
    EXPECT_THAT(run.output, HasSubstr("no such table"));
    EXPECT_THAT(run.output, Not(HasSubstr("dataupdate.ini:5:")));
    EXPECT_THAT(run.output, HasSubstr("the file stays"));
}

TEST_F(CheckInstallationTest, TheForecastOfTheUpgradeIsWhatARealStartDoes)
{
    // A first start makes the database and runs the shipped statements.
    ASSERT_EQ(Start().exitCode,
              0u);
    Write("WSCBS\\dataupdate.ini", "[MSACCESS]\r\n"
                                   "again=CREATE TABLE cs_sbjl (x Integer)\r\n"
                                   "column=ALTER TABLE cs_sbjl ADD COLUMN bz2 Text(20)\r\n"
                                   "use=UPDATE cs_sbjl SET bz2='x'\r\n"
                                   "nothing=DELETE FROM cs_none\r\n");
    const ProcessResult run = Check();
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_THAT(run.output, HasSubstr("dataupdate.ini:2: the host's database refuses \"again\""));
    EXPECT_THAT(run.output, HasSubstr("dataupdate.ini:5: the host's database refuses \"nothing\""));
    EXPECT_THAT(run.output, HasSubstr("line 3  runs  column="));
    EXPECT_THAT(run.output, HasSubstr("line 4  runs  use="));

    // The real start records exactly the statements forecast to run.
    ASSERT_EQ(Start().exitCode,
              0u);
    const std::string file = subApp_ + "dataupdate.ini";
    const auto recorded = [&](const char* label) {
        char value[64] = {};
        GetPrivateProfileStringA("MSACCESS.done", label, "", value, sizeof value, file.c_str());
        return std::string(value) != "";
    };
    EXPECT_FALSE(recorded("again"));
    EXPECT_TRUE(recorded("column"));
    EXPECT_TRUE(recorded("use"));
    EXPECT_FALSE(recorded("nothing"));
}

TEST_F(CheckInstallationTest, TheCheckChangesNothingOfTheInstallation)
{
    // With a database, a pending upgrade, a merge to do and a damaged
    // catalogue: everything the start would write is there to be written.
    ASSERT_EQ(Start().exitCode,
              0u);
    Write("WSCBS\\dataupdate.ini", "[MSACCESS]\r\nmore=CREATE TABLE t_more (a Integer)\r\n");
    Write("WSCBS\\action.ini", "[NEW-01]\r\nCaption=新\r\n");
    Write("WSCBS\\errmsg.xml", "<L><E><CODE>1</CODE><MSG>x</MSG></E><E><CODE>1</CODE></E></L>");
    const auto before = Contents(installation_);
    SetReadOnlyTree(installation_, true);

    const ProcessResult text = Check();
    const ProcessResult json = Check("--json --zone 132");
    EXPECT_EQ(text.exitCode, 1u) << text.output;
    EXPECT_EQ(json.exitCode, 1u) << json.output;
    EXPECT_THAT(text.output, HasSubstr("line 2  runs  more="));
    EXPECT_THAT(text.output, HasSubstr("add  [NEW-01] Caption=新"));

    SetReadOnlyTree(installation_, false);
    const auto after = Contents(installation_);
    EXPECT_EQ(after.size(), before.size());
    for (const auto& [path, bytes] : before) {
        const auto found = after.find(path);
        ASSERT_NE(found, after.end()) << path;
        EXPECT_TRUE(found->second == bytes) << path << " changed";
    }
    for (const auto& [path, bytes] : after)
        EXPECT_TRUE(before.count(path) == 1) << path << " appeared";
}

namespace {

// SQLite on a database file of the test's own, SQL as UTF-8.
struct TestDatabase {
    sqlite3* db = nullptr;
    explicit TestDatabase(const std::string& file)
    {
        EXPECT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    }
    ~TestDatabase() { sqlite3_close(db); }
    void Exec(const char* sql) { EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql; }
};

} // namespace

// A host that stopped with its database in the middle of things: commits
// still in the write-ahead log, or a commit cut short with its journal hot.
// The check reads the database as the next start will (the log's commits
// there, the cut commit rolled back) and creates and changes nothing.
TEST_F(CheckInstallationTest, ADatabaseLeftWithALogOrAHotJournalIsReadAsTheStartFindsIt)
{
    ASSERT_EQ(Start().exitCode, 0u);
    const std::string database = subApp_ + "wscbs.db";
    const auto forecast = [&](const char* statements) {
        Write("WSCBS\\dataupdate.ini", std::string("[MSACCESS]\r\n") + statements);
        const auto before = Contents(installation_);
        const ProcessResult run = Check();
        const auto after = Contents(installation_);
        std::vector<std::string> changed;
        for (const auto& [path, bytes] : after)
            if (before.count(path) == 0 || before.at(path) != bytes)
                changed.push_back(path);
        for (const auto& [path, bytes] : before)
            if (after.count(path) == 0)
                changed.push_back(path + " (gone)");
        EXPECT_EQ(changed, std::vector<std::string>{}) << "the check changed the installation";
        EXPECT_THAT(run.output, Not(HasSubstr("readonly"))) << run.output;
        return run.output;
    };

    {
        // Exclusive, as the reference host keeps its log: no index file;
        // closed without a checkpoint, as by a host that stopped.
        TestDatabase host(database);
        host.Exec("PRAGMA locking_mode = EXCLUSIVE; PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;"
                  "CREATE TABLE t_logged (a Integer)");
        sqlite3_db_config(host.db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }
    ASSERT_TRUE(testing_support::PathExists(database + "-wal"));
    ASSERT_FALSE(testing_support::PathExists(database + "-shm"));
    std::string output = forecast("use=INSERT INTO t_logged VALUES (1)\r\n");
    EXPECT_THAT(output, HasSubstr("line 2  runs  use="));
    EXPECT_FALSE(testing_support::PathExists(database + "-shm"));
    { TestDatabase(database).Exec("PRAGMA journal_mode = DELETE"); }  // the log taken in by an open

    // A commit cut short: the file changed, its journal still there.
    const TempFolder scratch("hot");
    const std::string cut = scratch.Path() + "cut.db";
    ASSERT_TRUE(CopyFileA(database.c_str(), cut.c_str(), FALSE));
    {
        TestDatabase host(cut);
        host.Exec("PRAGMA cache_size = 1; BEGIN; CREATE TABLE t_cut (a Blob);"
                  "INSERT INTO t_cut SELECT randomblob(4000) FROM (WITH RECURSIVE c(n) AS (SELECT 1 UNION ALL "
                  "SELECT n + 1 FROM c WHERE n < 50) SELECT n FROM c)");
        ASSERT_TRUE(CopyFileA(cut.c_str(), database.c_str(), FALSE));
        ASSERT_TRUE(CopyFileA((cut + "-journal").c_str(), (database + "-journal").c_str(), FALSE));
    }
    output = forecast("use=INSERT INTO t_cut VALUES (1)\r\nlogged=INSERT INTO t_logged VALUES (2)\r\n");
    EXPECT_THAT(output, HasSubstr("dataupdate.ini:2: the host's database refuses \"use\": no such table: t_cut"));
    EXPECT_THAT(output, HasSubstr("line 3  runs  logged="));
}

TEST_F(CheckInstallationTest, AnInstallationThatCannotBeReadEndsWithStatusTwoNamingWhatIsMissing)
{
    const ProcessResult none = Check({}, folder_.Path() + "nothing-here");
    EXPECT_EQ(none.exitCode, 2u);
    EXPECT_THAT(none.output, HasSubstr("nothing-here"));

    DeleteFileA((installation_ + "host\\MainFrame.ini").c_str());
    const ProcessResult noProfile = Check();
    EXPECT_EQ(noProfile.exitCode, 2u);
    EXPECT_THAT(noProfile.output, HasSubstr(installation_ + "host\\MainFrame.ini"));

    std::filesystem::copy(ExamplesFolder() + "\\host\\MainFrame.ini", installation_ + "host\\MainFrame.ini");
    std::filesystem::rename(subApp_, installation_ + "moved");
    const ProcessResult noSubApp = Check();
    EXPECT_EQ(noSubApp.exitCode, 2u);
    EXPECT_THAT(noSubApp.output, HasSubstr("the sub-application folder of WSCBS is missing: " + subApp_));

    EXPECT_EQ(Check("--bogus").exitCode, 2u);
}
