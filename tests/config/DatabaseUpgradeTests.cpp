#include "config/DatabaseUpgrade.h"
#include "config/ModuleLog.h"
#include "config/PrivateProfile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include "sharedrt/UniqueHandle.h"

#include <windows.h>

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

    config::StatementRunner Runner()
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
    config::RunDatabaseUpgradeFile(file, database.Runner(), failures);

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
    EXPECT_NE(ReadBytes(config::ModuleLogPath()).find("  升级数据库失败:UPDATE cs_missing SET a=1 WHERE b=2\r\n"),
              std::string::npos);

    // Next start: only the failed statement runs; now it succeeds and the
    // file goes.
    FakeDatabase next;
    std::string nextFailures;
    config::RunDatabaseUpgradeFile(file, next.Runner(), nextFailures);
    EXPECT_EQ(next.ran, (std::vector<std::string>{"UPDATE cs_missing SET a=1 WHERE b=2"}));
    EXPECT_EQ(nextFailures, "");
    EXPECT_FALSE(PathExists(file));

    FakeDatabase after;
    config::RunDatabaseUpgradeFile(file, after.Runner(), nextFailures);
    EXPECT_TRUE(after.ran.empty());
}

TEST(DatabaseUpgrade, ChangedStatementUnderARecordedLabelRunsAgain)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    FakeDatabase database;
    database.failing = {"INSERT INTO cs_test VALUES (1)"};
    std::string failures;
    config::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    ASSERT_TRUE(PathExists(file));
    ASSERT_TRUE(config::TryWriteIniString(file, "MSACCESS", "s1", "CREATE TABLE cs_test (id INTEGER, n TEXT)"));

    FakeDatabase next;
    config::RunDatabaseUpgradeFile(file, next.Runner(), failures);
    EXPECT_EQ(next.ran, (std::vector<std::string>{"CREATE TABLE cs_test (id INTEGER, n TEXT)",
                                                  "INSERT INTO cs_test VALUES (1)"}));
}

TEST(DatabaseUpgrade, TwoFailuresGiveTwoLinesAndAnAppendedText)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    FakeDatabase database;
    database.failing = {"CREATE TABLE cs_test (id INTEGER)", "INSERT INTO cs_test VALUES (1)"};
    std::string failures = "earlier";
    config::RunDatabaseUpgradeFile(file, database.Runner(), failures);
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
    config::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    EXPECT_TRUE(database.ran.empty());
    EXPECT_FALSE(PathExists(file));
    config::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    EXPECT_TRUE(database.ran.empty());
    EXPECT_EQ(failures, "");
}

TEST(DatabaseUpgrade, RaisedErrorPassesAndKeepsTheFile)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    std::string failures;
    EXPECT_THROW(config::RunDatabaseUpgradeFile(
                     file, [](const std::string&, rt::RtQuery*&) -> bool { throw std::runtime_error("lost"); },
                     failures),
                 std::runtime_error);
    EXPECT_TRUE(PathExists(file));
}

TEST(DatabaseUpgrade, UnreadableFileStaysAndTheLogSaysWhy)
{
    const TempFolder folder("upgrade");
    const std::string file = folder.Write("dataupdate.ini", kThreeStatements);
    const std::size_t logBefore = ReadBytes(config::ModuleLogPath()).size();
    FakeDatabase database;
    std::string failures;
    {
        // Another program holds the file without sharing reading; it does
        // share deleting, so only the reading fails.
        rt::unique_hfile holder(
            CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        config::RunDatabaseUpgradeFile(file, database.Runner(), failures);
    }
    EXPECT_TRUE(database.ran.empty());
    EXPECT_TRUE(PathExists(file));
    const std::string reason = "升级数据库失败:无法读取升级文件[" + file + "]";
    EXPECT_NE(failures.find(reason), std::string::npos) << failures;
    EXPECT_NE(ReadBytes(config::ModuleLogPath()).substr(logBefore).find(reason), std::string::npos);

    // Readable again at the next start: every statement runs.
    FakeDatabase next;
    std::string nextFailures;
    config::RunDatabaseUpgradeFile(file, next.Runner(), nextFailures);
    EXPECT_EQ(next.ran.size(), 3u);
    EXPECT_FALSE(PathExists(file));
}
