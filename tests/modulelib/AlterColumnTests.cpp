// Access's column change as SQLite's table rebuild, on a database in
// memory: what the rebuild must keep besides the rows, the indexes and the
// views (ExecADOQueryMsgTests.cpp covers those through the host).
#include "AlterColumn.h"

#include <gtest/gtest.h>

using hostmodel::AlterColumnType;
using hostmodel::SqliteConnection;
using Rows = std::vector<std::vector<std::string>>;

TEST(AlterColumn, KeepsTheAutoincrementCounter)
{
    const auto db = SqliteConnection::OpenInMemory();
    db->Exec("CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, a Integer);"
             "INSERT INTO t (a) VALUES (1), (2), (3);"
             "DELETE FROM t WHERE id = 3;");
    ASSERT_TRUE(AlterColumnType(*db, {"t", "a", 10}).done);
    // An id once given is never given again, also after the rebuild.
    db->Exec("INSERT INTO t (a) VALUES (4)");
    EXPECT_EQ(db->Rows("SELECT id, a FROM t ORDER BY id"), (Rows{{"1", "1"}, {"2", "2"}, {"4", "4"}}));
    EXPECT_EQ(db->Rows("SELECT name, seq FROM sqlite_sequence"), (Rows{{"t", "4"}}));

    // A table that never had a row has no counter, and gets none.
    db->Exec("CREATE TABLE e (id INTEGER PRIMARY KEY AUTOINCREMENT, a Integer)");
    ASSERT_TRUE(AlterColumnType(*db, {"e", "a", 10}).done);
    EXPECT_EQ(db->Rows("SELECT name, seq FROM sqlite_sequence ORDER BY name"), (Rows{{"t", "4"}}));
}
