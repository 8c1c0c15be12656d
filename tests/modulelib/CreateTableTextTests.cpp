// Changing one column's declared type in the text of a CREATE TABLE.
#include "CreateTableText.h"

#include <gtest/gtest.h>

using hostmodel::ReplaceColumnType;

TEST(CreateTableText, ReplacesOnlyTheTypeAndKeepsConstraints)
{
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t (a Integer NOT NULL DEFAULT 0, b Text(20) COLLATE NOCASE)", "A",
                                "Text(4)"),
              "(a Text(4) NOT NULL DEFAULT 0, b Text(20) COLLATE NOCASE)");
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t (a INT, b VARYING CHARACTER ( 10 ) UNIQUE) WITHOUT ROWID", "b",
                                "Text(4)"),
              "(a INT, b Text(4) UNIQUE) WITHOUT ROWID");
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t (a, b PRIMARY KEY)", "b", "Text(4)"),
              "(a, b Text(4) PRIMARY KEY)");
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t (a, b)", "b", "Text(4)"), "(a, b Text(4))");
}

TEST(CreateTableText, ReadsQuotedNamesCommentsAndNestedCommas)
{
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE \"my (table)\" (\"a,b\" Real CHECK (\"a,b\" IN (1, 2)), "
                                "[c] Integer DEFAULT '(,)', -- c's comment, with a comma\n d)",
                                "c", "Text(4)"),
              "(\"a,b\" Real CHECK (\"a,b\" IN (1, 2)), [c] Text(4) DEFAULT '(,)', -- c's comment, with a comma\n d)");
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t (\"x\"\"y\" Integer)", "x\"y", "Text(4)"), "(\"x\"\"y\" Text(4))");
}

TEST(CreateTableText, TableConstraintsAreNoColumnsAndUnknownColumnsGiveNothing)
{
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t (a Integer, PRIMARY KEY (a), CONSTRAINT c CHECK (a > 0))", "primary",
                                "Text(4)"),
              std::nullopt);
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t (a Integer)", "b", "Text(4)"), std::nullopt);
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t (a Integer", "a", "Text(4)"), std::nullopt);
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t AS SELECT 1", "a", "Text(4)"), std::nullopt);
}

TEST(CreateTableText, NamesFoldAsciiLettersAsSqliteDoes)
{
    // UTF-8, as SQLite keeps it: 税 is E7 A8 8E, whose last byte a GBK rule
    // would pair with the letter behind it.
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t (\xE7\xA8\x8E" "a Integer)", "\xE7\xA8\x8E" "A", "Text(4)"),
              "(\xE7\xA8\x8E" "a Text(4))");
    // Only ASCII letters fold: Ａ and ａ (EF BC A1, EF BD 81) are two names.
    EXPECT_EQ(ReplaceColumnType("CREATE TABLE t (\xEF\xBD\x81 Integer)", "\xEF\xBC\xA1", "Text(4)"), std::nullopt);
}
