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

TEST(AlterColumn, KeepsEveryTriggerTheRebuildDropsWithTheTableOrItsViews)
{
    const auto db = SqliteConnection::OpenInMemory();
    // A trigger names its table as its statement wrote it: in another case,
    // or from the temporary schema. Triggers on views go with the views.
    db->Exec("CREATE TABLE t (a Integer, b Integer);"
             "CREATE TABLE log (x);"
             "CREATE TRIGGER upper_case AFTER INSERT ON T BEGIN INSERT INTO log VALUES ('upper ' || new.a); END;"
             "CREATE VIEW v AS SELECT a FROM t;"
             "CREATE TRIGGER through_view INSTEAD OF INSERT ON v BEGIN INSERT INTO t (a) VALUES (new.a); END;"
             "CREATE TRIGGER on_log AFTER DELETE ON log BEGIN SELECT 1; END;"
             "CREATE TEMP TRIGGER temporary AFTER INSERT ON main.t BEGIN INSERT INTO log VALUES ('temp ' || new.a); END;");
    const std::string objects = "SELECT 'main', type, name, sql FROM sqlite_schema WHERE name <> 't' "
                                "UNION ALL SELECT 'temp', type, name, sql FROM sqlite_temp_schema ORDER BY 1, 3";
    const Rows before = db->Rows(objects);

    ASSERT_TRUE(AlterColumnType(*db, {"t", "a", 10}).done);
    EXPECT_EQ(db->Rows(objects), before);
    EXPECT_EQ(db->Rows("SELECT type FROM pragma_table_info('t') WHERE name = 'a'"), (Rows{{"Text(10)"}}));
    db->Exec("INSERT INTO v VALUES (7)");
    EXPECT_EQ(db->Rows("SELECT x FROM log ORDER BY x"), (Rows{{"temp 7"}, {"upper 7"}}));
}
