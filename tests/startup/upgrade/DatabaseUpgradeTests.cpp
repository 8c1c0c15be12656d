#include "startup/upgrade/DatabaseUpgrade.h"
#include "util/ModuleLog.h"
#include "profile/PrivateProfile.h"
#include "startup/upgrade/UpgradeStatements.h"
#include "util/FileUtil.h"

#include "support/CallFaults.h"
#include "support/ChildProcess.h"
#include "support/FullDiskStandIns.h"
#include "support/ImportPatch.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <set>
#include <stdexcept>

using testing_support::PathExists;
using testing_support::ReadBytes;
using testing_support::TempFolder;

namespace {

// A runner that records every statement and fails those it is told to.
struct FakeDatabase {
    std::vector<std::string> ran;
    std::vector<std::string> failing;
    std::vector<rt::RtQuery*> queries;

    startup::StatementRunner Runner()
    {
        return [this](const std::string& statement, rt::RtQuery*& query) {
            ran.push_back(statement);
            queries.push_back(query);
            return std::find(failing.begin(), failing.end(), statement) == failing.end();
        };
    }
};

constexpr const char kThreeStatements[] =
    "[MSACCESS]\r\n"
    "s1=CREATE TABLE cs_test (id INTEGER)\r\n"
    "s2=UPDATE cs_missing SET a=1 WHERE b=2\r\n"
    "empty=\r\n"
    "s3=INSERT INTO cs_test VALUES (1)\r\n"
    "[OTHER]\r\n"
    "x=DROP TABLE cs_test\r\n";

} // namespace

TEST(DatabaseUpgrade, FailedMiddleStatementKeepsTheFileAndOnlyItRunsAgain)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    FakeDatabase database;
    database.failing = {"UPDATE cs_missing SET a=1 WHERE b=2"};
    std::string failures;
    startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);

    EXPECT_EQ(database.ran, (std::vector<std::string>{"CREATE TABLE cs_test (id INTEGER)",
                                                      "UPDATE cs_missing SET a=1 WHERE b=2",
                                                      "INSERT INTO cs_test VALUES (1)"}));
    EXPECT_EQ(failures, "升级数据库失败:UPDATE cs_missing SET a=1 WHERE b=2");
    EXPECT_TRUE(PathExists(file));
    // One query object for the whole run.
    ASSERT_EQ(database.queries.size(), 3u);
    EXPECT_NE(database.queries[0], nullptr);
    EXPECT_EQ(database.queries[0], database.queries[2]);
    // The failure is in the module log too.
    EXPECT_NE(ReadBytes(util::ModuleLogPath()).find("  升级数据库失败:UPDATE cs_missing SET a=1 WHERE b=2\r\n"),
              std::string::npos);

    // Next start: only the failed statement runs; now it succeeds and the
    // file goes.
    FakeDatabase next;
    std::string nextFailures;
    startup::RunDatabaseUpgradeFile(file, next.Runner(), nextFailures);
    EXPECT_EQ(next.ran, (std::vector<std::string>{"UPDATE cs_missing SET a=1 WHERE b=2"}));
    EXPECT_EQ(nextFailures, "");
    EXPECT_FALSE(PathExists(file));

    FakeDatabase after;
    startup::RunDatabaseUpgradeFile(file, after.Runner(), nextFailures);
    EXPECT_TRUE(after.ran.empty());
}

// Every statement that the system's profile functions list runs, once,
// whatever ends its lines: a lone CR ends one as CR LF does. Then the file
// goes; a failure keeps it, and the next start runs only what failed.
TEST(DatabaseUpgrade, RunsTheStatementsTheProfileFunctionsListWhateverEndsTheLines)
{
    const char* const texts[] = {
        "[MSACCESS]\rA=CREATE TABLE x(a)\rB=CREATE TABLE y(b)\r",
        "[MSACCESS]\r\nA=CREATE TABLE x2(a)\rB=CREATE TABLE y2(b)\r\n",
        "[ MSACCESS ]\n\rA=CREATE TABLE x3(a)\r\r\nB=CREATE TABLE y3(b)",
    };
    const TempFolder folder("upgrade");
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        const std::string file = folder.Write("dataupdate.ini", text);
        std::vector<std::string> listed;
        for (const std::string& line : profile::ReadIniSectionLines(file, "MSACCESS"))
            listed.push_back(line.substr(line.find('=') + 1));
        ASSERT_EQ(listed.size(), 2u);
        FakeDatabase database;
        database.failing = {listed[1]};
        std::string failures;
        startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
        EXPECT_EQ(database.ran, listed);
        EXPECT_EQ(failures, "升级数据库失败:" + listed[1]);
        ASSERT_TRUE(PathExists(file));

        FakeDatabase next;
        startup::RunDatabaseUpgradeFile(file, next.Runner(), failures);
        EXPECT_EQ(next.ran, std::vector<std::string>{listed[1]});
        EXPECT_FALSE(PathExists(file));
    }
}

// A statement done and not recorded runs again at the next start, where
// one that is not made to run twice fails for good. So the record is made
// ready before any statement runs: a file that cannot take records (here
// one that another program holds open, so that it cannot be replaced) runs
// nothing, and stays for the next start.
TEST(DatabaseUpgrade, AFileThatCannotTakeRecordsRunsNoStatement)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    FakeDatabase database;
    std::string failures;
    {
        const rt::unique_hfile holder(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                  nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    }
    EXPECT_TRUE(database.ran.empty());
    EXPECT_NE(failures.find(file), std::string::npos) << failures;
    EXPECT_EQ(ReadBytes(file), kThreeStatements);
    EXPECT_NE(ReadBytes(util::ModuleLogPath()).find(failures.substr(failures.find(':') + 1)), std::string::npos);
}

TEST(DatabaseUpgrade, ChangedStatementUnderARecordedLabelRunsAgain)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    FakeDatabase database;
    database.failing = {"INSERT INTO cs_test VALUES (1)"};
    std::string failures;
    startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    ASSERT_TRUE(PathExists(file));
    ASSERT_TRUE(profile::TryWriteIniString(file, "MSACCESS", "s1", "CREATE TABLE cs_test (id INTEGER, n TEXT)"));

    FakeDatabase next;
    next.failing = {"INSERT INTO cs_test VALUES (1)"};
    startup::RunDatabaseUpgradeFile(file, next.Runner(), failures);
    EXPECT_EQ(next.ran, (std::vector<std::string>{"CREATE TABLE cs_test (id INTEGER, n TEXT)",
                                                  "INSERT INTO cs_test VALUES (1)"}));

    // The label now has two records; the later one is the statement's.
    FakeDatabase third;
    third.failing = next.failing;
    startup::RunDatabaseUpgradeFile(file, third.Runner(), failures);
    EXPECT_EQ(third.ran, (std::vector<std::string>{"INSERT INTO cs_test VALUES (1)"}));
}

TEST(DatabaseUpgrade, RecordsAreLinesAddedToTheJournalKeptAtTheEnd)
{
    // The journal, left in the middle by an earlier writer, goes to the end
    // once; after that each statement done adds its line there.
    const TempFolder folder("upgrade");
    const std::string file = folder.Write(
        "dataupdate.ini", "[MSACCESS.done]\r\ns0=00000000\r\n[MSACCESS]\r\ns1=CREATE TABLE a (x)\r\n"
                          "s2=CREATE TABLE b (x)\r\ns3=CREATE TABLE c (x)");
    FakeDatabase database;
    database.failing = {"CREATE TABLE c (x)"};
    std::string failures;
    startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    EXPECT_EQ(ReadBytes(file), "[MSACCESS]\r\ns1=CREATE TABLE a (x)\r\ns2=CREATE TABLE b (x)\r\n"
                               "s3=CREATE TABLE c (x)\r\n[MSACCESS.done]\r\ns0=00000000\r\n"
                               "s1=" + startup::StatementHash("CREATE TABLE a (x)") + "\r\n"
                               "s2=" + startup::StatementHash("CREATE TABLE b (x)") + "\r\n");
    EXPECT_TRUE(testing_support::ReplacementsBeside(file).empty());
    // The profile reader sees the same records.
    EXPECT_EQ(profile::ReadIniString(file, "MSACCESS.done", "s2", ""), startup::StatementHash("CREATE TABLE b (x)"));
}

namespace {

// The disk full from the first statement on: no write of this program gets
// a byte onto it.
bool diskFull = false;
using WriteFileFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
WriteFileFunction originalWriteFile = nullptr;
BOOL WINAPI WriteFileUntilTheDiskIsFull(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                                        LPOVERLAPPED overlapped)
{
    if (!diskFull)
        return originalWriteFile(file, data, size, written, overlapped);
    if (written != nullptr)
        *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

} // namespace

TEST(DatabaseUpgrade, AStatementThatCannotBeRecordedStopsTheRun)
{
    // Running on without the record would run the statement again at the
    // next start, after the ones behind it.
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    FakeDatabase database;
    std::string failures;
    {
        const auto runner = database.Runner();
        const testing_support::ImportPatch full(GetModuleHandleA(nullptr), "kernel32.dll", "WriteFile",
                                                reinterpret_cast<void*>(&WriteFileUntilTheDiskIsFull));
        originalWriteFile = reinterpret_cast<WriteFileFunction>(full.Original());
        diskFull = false;
        startup::RunDatabaseUpgradeFile(
            file,
            [&](const std::string& statement, rt::RtQuery*& query) {
                diskFull = true;
                return runner(statement, query);
            },
            failures);
        diskFull = false;
    }
    EXPECT_EQ(database.ran, (std::vector<std::string>{"CREATE TABLE cs_test (id INTEGER)"}));
    EXPECT_NE(failures.find("升级数据库失败:CREATE TABLE cs_test (id INTEGER)"), std::string::npos) << failures;
    // Made ready for records before the statement ran; no record on it.
    EXPECT_EQ(profile::ReadIniSectionLines(file, startup::kUpgradeDoneSection), std::vector<std::string>{});
    EXPECT_EQ(profile::ReadIniSectionLines(file, startup::kUpgradeSection).size(), 4u);
}

TEST(DatabaseUpgrade, TwoFailuresGiveTwoLinesAndAnAppendedText)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    FakeDatabase database;
    database.failing = {"CREATE TABLE cs_test (id INTEGER)", "INSERT INTO cs_test VALUES (1)"};
    std::string failures = "earlier";
    startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    EXPECT_EQ(failures,
              "earlier\r\n升级数据库失败:CREATE TABLE cs_test (id INTEGER)\r\n"
              "升级数据库失败:INSERT INTO cs_test VALUES (1)");
}

TEST(DatabaseUpgrade, FileWithoutStatementsIsDeletedAndMissingFileDoesNothing)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", "[MSACCESS]\r\na=\r\n[OTHER]\r\nx=DROP TABLE t\r\n");
    FakeDatabase database;
    std::string failures;
    startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    EXPECT_TRUE(database.ran.empty());
    EXPECT_FALSE(PathExists(file));
    startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    EXPECT_TRUE(database.ran.empty());
    EXPECT_EQ(failures, "");
}

TEST(DatabaseUpgrade, RaisedErrorPassesAndKeepsTheFile)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    std::string failures;
    EXPECT_THROW(startup::RunDatabaseUpgradeFile(
                     file, [](const std::string&, rt::RtQuery*&) -> bool { throw std::runtime_error("lost"); },
                     failures),
                 std::runtime_error);
    EXPECT_TRUE(PathExists(file));
}

TEST(DatabaseUpgrade, UnreadableFileStaysAndTheLogSaysWhy)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    const std::size_t logBefore = ReadBytes(util::ModuleLogPath()).size();
    FakeDatabase database;
    std::string failures;
    {
        // Another program holds the file without sharing reading; it does
        // share deleting, so only the reading fails.
        rt::unique_hfile holder(
            CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    }
    EXPECT_TRUE(database.ran.empty());
    EXPECT_TRUE(PathExists(file));
    const std::string reason = "升级数据库失败:无法读取升级文件[" + file + "]";
    EXPECT_NE(failures.find(reason), std::string::npos) << failures;
    EXPECT_NE(ReadBytes(util::ModuleLogPath()).substr(logBefore).find(reason), std::string::npos);

    // Readable again at the next start: every statement runs.
    FakeDatabase next;
    std::string nextFailures;
    startup::RunDatabaseUpgradeFile(file, next.Runner(), nextFailures);
    EXPECT_EQ(next.ran.size(), 3u);
    EXPECT_FALSE(PathExists(file));
}

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::string ProgramBeside(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.rfind('\\') + 1) + name;
}

} // namespace

TEST(DatabaseUpgrade, AfterAKillTheNextStartRunsExactlyWhatIsNotRecorded)
{
    std::string content = "[MSACCESS]\r\n";
    std::vector<std::string> all;
    for (int i = 0; i < 300; ++i) {
        all.push_back("INSERT INTO t VALUES (" + std::to_string(i) + ")");
        content += "s" + std::to_string(i) + "=" + all.back() + "\r\n";
    }
    for (const int killAfter : {1, 2, 57, 150, 299}) {
        SCOPED_TRACE("killed after statement " + std::to_string(killAfter));
        const TempFolder folder("upgrade-kill");
        const std::string file = folder.Write("dataupdate.ini", content);
        const std::string ranList = folder.Path() + "ran.txt";
        const testing_support::ProcessResult child = testing_support::RunProgram(
            "\"" + ProgramBeside("UpgradeUntilKilled.exe") + "\" \"" + file + "\" \"" + ranList + "\" " +
            std::to_string(killAfter));
        ASSERT_EQ(child.exitCode, 3u) << child.output;
        const std::vector<std::string> ranBefore = Lines(ReadBytes(ranList));
        ASSERT_GE(ranBefore.size(), static_cast<std::size_t>(killAfter));
        if (!PathExists(file)) {
            // The kill came only after the upgrade had ended, as it may
            // near the last statement: every statement ran, and the file
            // went as after any whole upgrade.
            EXPECT_EQ(ranBefore, all);
            continue;
        }

        // What the killed run recorded is a start of the list, and it ran all of it.
        const std::vector<std::string> records = profile::ReadIniSectionLines(file, "MSACCESS.done");
        ASSERT_LE(records.size(), ranBefore.size());
        for (std::size_t i = 0; i < records.size(); ++i)
            EXPECT_EQ(records[i], "s" + std::to_string(i) + "=" + startup::StatementHash(all[i]));
        EXPECT_EQ(profile::ReadIniSectionLines(file, "MSACCESS").size(), all.size()) << "the statements are whole";

        FakeDatabase next;
        std::string failures;
        startup::RunDatabaseUpgradeFile(file, next.Runner(), failures);
        EXPECT_EQ(next.ran, std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(records.size()),
                                                     all.end()));
        EXPECT_EQ(failures, "");
        EXPECT_FALSE(PathExists(file));
    }
}

TEST(DatabaseUpgrade, NoFailingCallDeletesTheFileBeforeEveryStatementRan)
{
    const TempFolder folder("upgrade");
    const std::string content = "; statements of 2.0.1\r\n[MSACCESS]\r\n"
                                "a=CREATE TABLE cs_a (id INTEGER)\r\n"
                                "b=INSERT INTO cs_a VALUES (1)\r\n"
                                "c=UPDATE cs_a SET id=2\r\n";
    const std::string file = folder.Write("dataupdate.ini", content);
    FakeDatabase database;
    std::size_t logBefore = ReadBytes(util::ModuleLogPath()).size();
    int runs = 0;
    // Each call of the upgrade fails in turn: the file goes only when every
    // statement has run; when it stays, the log says why.
    faults::ForEachFault(
        [&] {
            database.ran.clear();
            std::string failures;
            startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
        },
        [&](std::uint64_t n, const faults::CountedCall& call) {
            ++runs;
            const std::string where = std::to_string(n) + ": " + faults::Hooks()[call.hook].function;
            if (PathExists(file))
                EXPECT_NE(ReadBytes(util::ModuleLogPath()).substr(logBefore).find(file), std::string::npos)
                    << "kept without a log line, call " << where;
            else
                EXPECT_EQ(database.ran.size(), 3u) << "deleted, call " << where;
            testing_support::WriteBytes(file, content);
            logBefore = ReadBytes(util::ModuleLogPath()).size();
        });
    EXPECT_GT(runs, 5);
}

TEST(DatabaseUpgrade, OneFailingCallNeverLeavesAStatementDoneButUnrecorded)
{
    // Statements that can be done once: a second run fails, as a CREATE
    // TABLE does. One that is done but not recorded would run again at the
    // next start, fail, and hold the upgrade back for good.
    const TempFolder folder("upgrade");
    const std::string content = "[MSACCESS]\r\n"
                                "a=CREATE TABLE cs_a (id INTEGER)\r\n"
                                "b=CREATE TABLE cs_b (id INTEGER)\r\n"
                                "c=CREATE INDEX ix_a ON cs_a (id)\r\n";
    const std::string file = folder.Write("dataupdate.ini", content);
    std::set<std::string> taken;
    const startup::StatementRunner once = [&](const std::string& statement, rt::RtQuery*&) {
        return taken.insert(statement).second;
    };
    int runs = 0;
    faults::ForEachFault(
        [&] {
            std::string failures;
            startup::RunDatabaseUpgradeFile(file, once, failures);
        },
        [&](std::uint64_t n, const faults::CountedCall& call) {
            ++runs;
            std::string failures;
            startup::RunDatabaseUpgradeFile(file, once, failures);  // the next start
            const std::string where = std::to_string(n) + ": " + faults::Hooks()[call.hook].function;
            EXPECT_FALSE(PathExists(file)) << "upgrade held back after call " << where << ": " << failures;
            EXPECT_EQ(taken.size(), 3u) << "call " << where;
            testing_support::WriteBytes(file, content);
            taken.clear();
        });
    EXPECT_GT(runs, 5);
}

TEST(DatabaseUpgrade, AJournalWithAByteOrderMarkIsReplacedWholeForEachRecord)
{
    // Written through the profile functions, which keep its encoding but
    // rewrite a file in place: they work on a copy that takes its place.
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", "\xEF\xBB\xBF[MSACCESS]\r\n"
                                                            "a=CREATE TABLE cs_a (id INTEGER)\r\n"
                                                            "b=UPDATE cs_missing SET id=1\r\n");
    const std::uint64_t before = testing_support::FileNumber(file);
    FakeDatabase database;
    database.failing = {"UPDATE cs_missing SET id=1"};
    std::string failures;
    startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    EXPECT_NE(testing_support::FileNumber(file), before);
    EXPECT_EQ(ReadBytes(file).rfind("\xEF\xBB\xBF", 0), 0u);
    EXPECT_EQ(profile::ReadIniString(file, "MSACCESS.done", "a", ""),
              startup::StatementHash("CREATE TABLE cs_a (id INTEGER)"));
    EXPECT_TRUE(testing_support::ReplacementsBeside(file).empty());
}

TEST(DatabaseUpgrade, AJournalWithAByteOrderMarkIsNotReplacedByAProfileWriteThatLostItsText)
{
    const TempFolder folder("upgrade");
    const std::string content = "\xEF\xBB\xBF[MSACCESS]\r\na=CREATE TABLE cs_a (id INTEGER)\r\n"
                                "b=UPDATE cs_missing SET id=1\r\n";
    const std::string file = folder.Write("dataupdate.ini", content);
    FakeDatabase database;
    std::string failures;
    {
        const testing_support::ImportPatch fullDisk(GetModuleHandleA(nullptr), "kernel32.dll",
                                                    "WritePrivateProfileStringA",
                                                    reinterpret_cast<void*>(&testing_support::ProfileWriteOnAFullDisk));
        startup::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    }
    // Not recorded, so the statements and the file stay as they were.
    EXPECT_EQ(ReadBytes(file), content);
    EXPECT_TRUE(testing_support::ReplacementsBeside(file).empty());
    EXPECT_NE(failures.find("CREATE TABLE cs_a"), std::string::npos) << failures;
}
