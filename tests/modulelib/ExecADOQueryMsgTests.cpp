// ExecADOQueryMsg on a real SQLite file: the connection, one statement, the
// messages, and Access's column change as a table rebuild.
#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"
#include "support/ImportPatch.h"
#include "support/TempFolder.h"

#include <windows.h>

#include <functional>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using hostmodel::Model;
using testing::ElementsAre;
using testing::HasSubstr;
using Rows = std::vector<std::vector<std::string>>;

namespace {

// The host reads its database script as UTF-8.
const char8_t kScript[] = u8R"(
CREATE TABLE cs_ickxx (
    qysbh Text(20) NOT NULL,
    kpjh Integer NOT NULL DEFAULT 0,
    icxlh Integer,
    fjksm Integer DEFAULT 0 CHECK (fjksm >= 0),
    bz Text(200),
    PRIMARY KEY (qysbh, kpjh)
);
CREATE INDEX ix_cs_ickxx_icxlh ON cs_ickxx (icxlh);
CREATE VIEW v_ickxx AS SELECT qysbh, icxlh FROM cs_ickxx;
INSERT INTO cs_ickxx VALUES ('330106999900017', 0, 1, 0, '主开票机');
INSERT INTO cs_ickxx VALUES ('330106999900017', 1, 2, 1, '分开票机');
)";

struct Outcome {
    bool done;
    std::string message;
};

class ExecADOQueryMsgTest : public testing::Test {
protected:
    void SetUp() override
    {
        Model().Reset();
        hostmodel::SubAppSetup setup;
        setup.code = "WSCBS";
        setup.folder = folder.Path();
        setup.databaseFile = folder.Path() + "wscbs.db";
        setup.databaseScript = folder.Write("wscbs.sql", reinterpret_cast<const char*>(kScript));
        setup.writeAheadLog = WriteAheadLog();
        Model().AddSubApp(setup);
        Model().SetCurrentSubApp("WSCBS");
    }
    void TearDown() override { Model().Reset(); }
    // The host's own choice unless a test sets it.
    virtual bool WriteAheadLog() const { return hostmodel::SubAppSetup{}.writeAheadLog; }

    Outcome Run(const std::string& sql, const char* connection = "WSCBSMainCon")
    {
        rt::RtString message("stale");
        const bool done = ExecADOQueryMsg(connection, sql.c_str(), &queryPointer, &message, 0, 0) != 0;
        return {done, message.ToStdString()};
    }

    testing_support::TempFolder folder;
    rt::RtQuery query;
    rt::RtQuery* queryPointer = &query;
};

// A host that keeps its database with a rollback journal throughout.
class RollbackJournalTest : public ExecADOQueryMsgTest {
protected:
    bool WriteAheadLog() const override { return false; }
};

// A host that keeps a write-ahead log while the connection is open.
class WriteAheadLogTest : public ExecADOQueryMsgTest {
protected:
    bool WriteAheadLog() const override { return true; }
};

TEST_F(ExecADOQueryMsgTest, CreatesTheDatabaseFromItsScriptAndRunsOneStatement)
{
    EXPECT_FALSE(folder.Exists("wscbs.db"));
    const Outcome outcome = Run("update cs_ickxx set bz = '已抄税' where qysbh = '330106999900017'");
    EXPECT_TRUE(outcome.done);
    EXPECT_EQ(outcome.message, "");
    EXPECT_TRUE(folder.Exists("wscbs.db"));
    EXPECT_EQ(query.LastStatement, "update cs_ickxx set bz = '已抄税' where qysbh = '330106999900017'");
    EXPECT_EQ(query.RowsAffected, 2);
    EXPECT_EQ(Model().QueryDatabase("select distinct bz from cs_ickxx"), (Rows{{"已抄税"}}));

    EXPECT_TRUE(Run("select * from cs_ickxx;  -- a trailing comment").done);
    EXPECT_EQ(query.RowsAffected, 0);
}

TEST_F(ExecADOQueryMsgTest, FailuresReportSqliteOrHostTextAndRunNothing)
{
    Outcome outcome = Run("delete from nosuch");
    EXPECT_FALSE(outcome.done);
    EXPECT_THAT(outcome.message, HasSubstr("no such table: nosuch"));
    EXPECT_EQ(query.LastStatement, "delete from nosuch");

    outcome = Run("delete from cs_ickxx where kpjh = 1; delete from cs_ickxx");
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(outcome.message, "一次只能执行一条SQL语句");
    EXPECT_EQ(Model().QueryDatabase("select count(*) from cs_ickxx"), (Rows{{"2"}}));

    EXPECT_FALSE(Run("  ;").done);
    EXPECT_FALSE(Run("insert into cs_ickxx (qysbh, kpjh) values ('330106999900017', 0)").done);
}

TEST_F(ExecADOQueryMsgTest, OnlyTheMainConnectionIsKnown)
{
    const Outcome outcome = Run("select 1", "OtherCon");
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(outcome.message, "数据库连接OtherCon不存在");
    EXPECT_FALSE(folder.Exists("wscbs.db"));
    EXPECT_TRUE(Run("select 1", "wscbsmaincon").done);
}

TEST_F(ExecADOQueryMsgTest, AFailingScriptLeavesNoDatabaseBehind)
{
    folder.Write("wscbs.sql", "CREATE TABLE a (x); INSERT INTO nosuch VALUES (1);");
    const Outcome outcome = Run("select 1");
    EXPECT_FALSE(outcome.done);
    EXPECT_THAT(outcome.message, HasSubstr("no such table: nosuch"));
    EXPECT_FALSE(folder.Exists("wscbs.db"));
}

TEST_F(ExecADOQueryMsgTest, ADatabaseWithoutTablesIsSeededFromItsScript)
{
    // What a creation that could not clean up after itself, or an editor that
    // truncated the file, leaves: a file SQLite takes for an empty database.
    folder.Write("wscbs.db", "");
    const Outcome outcome = Run("update cs_ickxx set bz = '已抄税'");
    EXPECT_TRUE(outcome.done) << outcome.message;
    EXPECT_EQ(query.RowsAffected, 2);

    // A database that has tables is the sub-application's: never seeded again.
    Model().CloseDatabase();
    EXPECT_TRUE(Run("delete from cs_ickxx").done);
    Model().CloseDatabase();
    EXPECT_EQ(Model().QueryDatabase("select count(*) from cs_ickxx"), (Rows{{"0"}}));
}

namespace refused_delete {
BOOL WINAPI DeleteFileRefused(LPCSTR)
{
    SetLastError(ERROR_SHARING_VIOLATION);
    return FALSE;
}
} // namespace refused_delete

TEST_F(ExecADOQueryMsgTest, ACreationThatCouldNotRemoveItsFileIsSeededOnTheNextOpen)
{
    const std::string script = testing_support::ReadBytes(folder.Path() + "wscbs.sql");
    folder.Write("wscbs.sql", "CREATE TABLE a (x); INSERT INTO nosuch VALUES (1);");
    {
        const testing_support::ImportPatch refused(GetModuleHandleA("ModuleLib.dll"), "kernel32.dll", "DeleteFileA",
                                                   reinterpret_cast<void*>(&refused_delete::DeleteFileRefused));
        EXPECT_FALSE(Run("select 1").done);
    }
    folder.Write("wscbs.sql", script);
    const Outcome outcome = Run("select count(*) from cs_ickxx");
    EXPECT_TRUE(outcome.done) << outcome.message;
    EXPECT_EQ(Model().QueryDatabase("select count(*) from cs_ickxx"), (Rows{{"2"}}));
}

// SQLite takes its read lock again once a commit has released the write
// lock; when that fails the commit is already on disk, yet the statement
// ends with an error. The host must not call such a statement failed.
namespace lost_read_lock {
using LockFileExFunction = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, DWORD, DWORD, LPOVERLAPPED);
LockFileExFunction original = nullptr;
bool writeLockSeen = false;
bool failed = false;

BOOL WINAPI LockFileExAfterCommit(HANDLE file, DWORD flags, DWORD reserved, DWORD low, DWORD high,
                                  LPOVERLAPPED overlapped)
{
    if ((flags & LOCKFILE_EXCLUSIVE_LOCK) != 0 && low > 1)
        writeLockSeen = true;  // the whole shared range: the write lock
    else if (writeLockSeen && !failed && (flags & LOCKFILE_EXCLUSIVE_LOCK) == 0) {
        failed = true;
        SetLastError(ERROR_LOCK_VIOLATION);
        return FALSE;
    }
    return original(file, flags, reserved, low, high, overlapped);
}
} // namespace lost_read_lock

// Runs one statement with the read lock after its commit refused.
Outcome RunLosingTheReadLock(const std::function<Outcome()>& run)
{
    lost_read_lock::writeLockSeen = lost_read_lock::failed = false;
    const testing_support::ImportPatch lock(GetModuleHandleA("ModuleLib.dll"), "kernel32.dll", "LockFileEx",
                                            reinterpret_cast<void*>(&lost_read_lock::LockFileExAfterCommit));
    lost_read_lock::original = reinterpret_cast<lost_read_lock::LockFileExFunction>(lock.Original());
    const Outcome outcome = run();
    EXPECT_TRUE(lost_read_lock::failed) << "the read lock after the commit was not refused";
    return outcome;
}

TEST_F(RollbackJournalTest, AStatementThatTookEffectIsNeverReportedFailed)
{
    ASSERT_TRUE(Run("select count(*) from cs_ickxx").done);  // the database exists
    Outcome outcome =
        RunLosingTheReadLock([&] { return Run("insert into cs_ickxx (qysbh, kpjh) values ('330106999900017', 9)"); });
    Model().CloseDatabase();
    EXPECT_EQ(Model().QueryDatabase("select count(*) from cs_ickxx where kpjh = 9"), (Rows{{"1"}}))
        << "the commit reached the file";
    EXPECT_TRUE(outcome.done) << outcome.message;
    EXPECT_EQ(outcome.message, "");

    // The column change commits through its savepoint's release.
    outcome = RunLosingTheReadLock([&] { return Run("alter table cs_ickxx alter column icxlh Text(4)"); });
    Model().CloseDatabase();
    EXPECT_EQ(Model().QueryDatabase("select type from pragma_table_info('cs_ickxx') where name = 'icxlh'"),
              (Rows{{"Text(4)"}}));
    EXPECT_TRUE(outcome.done) << outcome.message;
}

TEST_F(WriteAheadLogTest, WhileOpenTheDatabaseKeepsALogAndAtRestIsAnOrdinaryFile)
{
    ASSERT_TRUE(Run("insert into cs_ickxx (qysbh, kpjh) values ('330106999900017', 9)").done);
    EXPECT_TRUE(folder.Exists("wscbs.db-wal")) << "the commit went to the write-ahead log";
    EXPECT_FALSE(folder.Exists("wscbs.db-shm")) << "the log's index is kept in memory, not in a mapped file";

    Model().CloseDatabase();
    EXPECT_FALSE(folder.Exists("wscbs.db-wal"));
    EXPECT_FALSE(folder.Exists("wscbs.db-shm"));
    const std::string header = testing_support::ReadBytes(folder.Path() + "wscbs.db").substr(0, 20);
    ASSERT_EQ(header.size(), 20u);
    EXPECT_EQ(header[18], 1) << "the file's write version is a rollback journal's again";
    EXPECT_EQ(header[19], 1) << "the file's read version is a rollback journal's again";
    EXPECT_EQ(Model().QueryDatabase("select count(*) from cs_ickxx where kpjh = 9"), (Rows{{"1"}}));
}

// Every write of ModuleLib refused while a statement runs: its commit never
// reaches the disk.
namespace refused_write {
BOOL WINAPI WriteFileRefused(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    if (written != nullptr)
        *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

void ExpectAFailureThatChangedNothing(const std::function<Outcome()>& run,
                                      const std::function<Rows()>& state)
{
    const Rows before = state();
    Outcome outcome{};
    {
        const testing_support::ImportPatch refused(GetModuleHandleA("ModuleLib.dll"), "kernel32.dll", "WriteFile",
                                                   reinterpret_cast<void*>(&WriteFileRefused));
        outcome = run();
    }
    EXPECT_FALSE(outcome.done);
    EXPECT_NE(outcome.message, "");
    Model().CloseDatabase();
    EXPECT_EQ(state(), before);
}
} // namespace refused_write

class RefusedWriteTest : public ExecADOQueryMsgTest, public testing::WithParamInterface<bool> {
protected:
    bool WriteAheadLog() const override { return GetParam(); }
};

TEST_P(RefusedWriteTest, AStatementWhoseCommitNeverReachedTheDiskIsReportedFailed)
{
    ASSERT_TRUE(Run("select count(*) from cs_ickxx").done);  // the database exists
    refused_write::ExpectAFailureThatChangedNothing(
        [&] { return Run("insert into cs_ickxx (qysbh, kpjh) values ('330106999900017', 9)"); },
        [] { return Model().QueryDatabase("select count(*) from cs_ickxx"); });
    refused_write::ExpectAFailureThatChangedNothing(
        [&] { return Run("alter table cs_ickxx alter column icxlh Text(4)"); },
        [] { return Model().QueryDatabase("select type from pragma_table_info('cs_ickxx') where name = 'icxlh'"); });
}

// A column change whose rebuild the database refuses (here a check that the
// text column breaks) is failed, and the table is as it was when read back
// after the connection closed: undoing the rebuild must not commit.
TEST_P(RefusedWriteTest, AColumnChangeTheRebuildRefusesIsReportedFailed)
{
    ASSERT_TRUE(Run("create table t (x integer, s integer check (typeof(s) = 'integer'))").done);
    ASSERT_TRUE(Run("insert into t values (1, 5)").done);
    const Outcome outcome = Run("alter table t alter column s Text(20)");
    Model().CloseDatabase();
    EXPECT_EQ(Model().QueryDatabase("select type from pragma_table_info('t') where name = 's'"), (Rows{{"INTEGER"}}));
    EXPECT_FALSE(outcome.done);
    EXPECT_THAT(outcome.message, HasSubstr("CHECK constraint failed"));
}

// The n-th write of a statement fails, for every n up to past its last
// write: the statement is reported done exactly when the rows are there
// when read back after the connection closed. A small page cache makes the
// statement write pages before its commit (a spill).
namespace nth_write {
using WriteFileFunction = BOOL(WINAPI*)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
WriteFileFunction original = nullptr;
int countdown = 0;

BOOL WINAPI WriteFileFailingOnce(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (--countdown == 0) {
        if (written != nullptr)
            *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    return original(file, data, size, written, overlapped);
}
} // namespace nth_write

TEST_P(RefusedWriteTest, AStatementIsDoneExactlyWhenItTookEffectWhicheverWriteFails)
{
    const char* const statements[] = {
        "insert into cs_big select n, randomblob(900) from (with recursive c(n) as (select 1 union all "
        "select n + 1 from c where n < 300) select n from c)",
        "alter table cs_big alter column n Text(8)",
    };
    for (const char* statement : statements) {
        for (int n = 1;; ++n) {
            SCOPED_TRACE(std::string(statement) + ", write " + std::to_string(n) + " fails");
            Model().CloseDatabase();
            for (const char* file : {"wscbs.db", "wscbs.db-journal", "wscbs.db-wal"})
                DeleteFileA((folder.Path() + file).c_str());
            ASSERT_TRUE(Run("create table cs_big (n integer, b blob)").done);
            if (statement == statements[1]) {
                ASSERT_TRUE(Run(statements[0]).done);
            }
            ASSERT_TRUE(Run("pragma cache_size = 8").done);
            Outcome outcome {};
            {
                const testing_support::ImportPatch failing(GetModuleHandleA("ModuleLib.dll"), "kernel32.dll",
                                                           "WriteFile",
                                                           reinterpret_cast<void*>(&nth_write::WriteFileFailingOnce));
                nth_write::original = reinterpret_cast<nth_write::WriteFileFunction>(failing.Original());
                nth_write::countdown = n;
                outcome = Run(statement);
            }
            const bool fired = nth_write::countdown <= 0;
            Model().CloseDatabase();
            const Rows effect = statement == statements[0]
                                    ? Model().QueryDatabase("select count(*) = 300 from cs_big")
                                    : Model().QueryDatabase("select type = 'Text(8)' from pragma_table_info('cs_big') "
                                                            "where name = 'n'");
            EXPECT_EQ(outcome.done, effect == (Rows{{"1"}})) << outcome.message;
            if (!fired) {
                EXPECT_TRUE(outcome.done) << "no write failed, yet " << outcome.message;
                break;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EitherJournal, RefusedWriteTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "WriteAheadLog" : "RollbackJournal";
                         });

TEST_F(ExecADOQueryMsgTest, AlterColumnRebuildsTheTableKeepingDataIndexesAndViews)
{
    EXPECT_TRUE(Run("alter table cs_ickxx alter column icxlh Text(4)").done);
    EXPECT_TRUE(Run("ALTER TABLE [cs_ickxx] Alter Column \"FJKSM\" TEXT ( 4 );").done);

    EXPECT_EQ(Model().QueryDatabase("select name, type, [notnull], dflt_value, pk from pragma_table_info('cs_ickxx')"),
              (Rows{{"qysbh", "Text(20)", "1", "", "1"},
                    {"kpjh", "INTEGER", "1", "0", "2"},
                    {"icxlh", "Text(4)", "0", "", "0"},
                    {"fjksm", "Text(4)", "0", "0", "0"},
                    {"bz", "Text(200)", "0", "", "0"}}));
    EXPECT_EQ(Model().QueryDatabase("select kpjh, icxlh, typeof(icxlh), fjksm, bz from cs_ickxx order by kpjh"),
              (Rows{{"0", "1", "text", "0", "主开票机"}, {"1", "2", "text", "1", "分开票机"}}));
    EXPECT_EQ(Model().QueryDatabase("select type, name from sqlite_schema where name not like 'sqlite_%' order by name"),
              (Rows{{"table", "cs_ickxx"}, {"index", "ix_cs_ickxx_icxlh"}, {"view", "v_ickxx"}}));
    EXPECT_EQ(Model().QueryDatabase("select count(*) from v_ickxx"), (Rows{{"2"}}));

    EXPECT_FALSE(Run("insert into cs_ickxx (qysbh, kpjh, fjksm) values ('x', 5, -1)").done)
        << "the column's own constraint is kept";
    const std::string before = Model().QueryDatabase("select sql from sqlite_schema where name = 'cs_ickxx'")[0][0];
    EXPECT_TRUE(Run("alter table cs_ickxx alter column icxlh Text(4)").done) << "run again: nothing to change";
    EXPECT_EQ(Model().QueryDatabase("select sql from sqlite_schema where name = 'cs_ickxx'")[0][0], before);
}

TEST_F(ExecADOQueryMsgTest, AlterColumnFindsTheColumnAsSqliteComparesNames)
{
    // 税 is E7 A8 8E in the UTF-8 that SQLite keeps: the letter behind it is a
    // letter of its own there.
    ASSERT_TRUE(Run("CREATE TABLE t (税a Integer, ｂ Integer)").done);
    const Outcome outcome = Run("ALTER TABLE t ALTER COLUMN 税A Text(4)");
    EXPECT_TRUE(outcome.done) << outcome.message;
    EXPECT_EQ(Model().QueryDatabase("select count(*) from pragma_table_info('t') where type = 'Text(4)'"),
              (Rows{{"1"}}));
    // Full-width letters are no ASCII letters.
    EXPECT_FALSE(Run("ALTER TABLE t ALTER COLUMN Ｂ Text(4)").done);
}

TEST_F(ExecADOQueryMsgTest, AlterColumnOfAMissingTableOrColumnFails)
{
    Outcome outcome = Run("alter table cs_nosuch alter column icxlh Text(4)");
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(outcome.message, "表cs_nosuch不存在");
    outcome = Run("alter table cs_ickxx alter column nosuch Text(4)");
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(outcome.message, "表cs_ickxx中没有列nosuch");
    EXPECT_EQ(Model().QueryDatabase("select type from pragma_table_info('cs_ickxx') where name = 'icxlh'"),
              (Rows{{"INTEGER"}}));
}

} // namespace
