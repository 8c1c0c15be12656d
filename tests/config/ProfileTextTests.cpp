#include "config/ProfileText.h"
#include "config/UpgradeStatements.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(ProfileText, ListsAndLines)
{
    EXPECT_EQ(config::SplitProfileList("a=1\0b=2\0\0junk"s), (std::vector<std::string>{"a=1", "b=2"}));
    EXPECT_EQ(config::SplitProfileList("last"s), (std::vector<std::string>{"last"}));
    EXPECT_TRUE(config::SplitProfileList("\0\0"s).empty());

    const auto line = config::SplitProfileLine("u1=UPDATE t SET a=1 WHERE b=2");
    EXPECT_EQ(line.key, "u1");
    EXPECT_EQ(line.value, "UPDATE t SET a=1 WHERE b=2");
    const auto bare = config::SplitProfileLine("flag");
    EXPECT_EQ(bare.key, "flag");
    EXPECT_EQ(bare.value, "");
}

TEST(UpgradeStatements, StatementsInFileOrderWithoutEmptyOnes)
{
    const auto statements = config::ParseUpgradeStatements(
        {"s1=CREATE TABLE t (a INT)", "empty=", "bare", "s2=UPDATE t SET a=1"});
    ASSERT_EQ(statements.size(), 2u);
    EXPECT_EQ(statements[0].label, "s1");
    EXPECT_EQ(statements[1].statement, "UPDATE t SET a=1");
}

TEST(UpgradeStatements, DoneRecordNeedsTheSameLabelAndStatement)
{
    EXPECT_EQ(config::StatementHash(""), "811C9DC5");  // FNV-1a offset basis
    EXPECT_EQ(config::StatementHash("a"), "E40C292C");
    const config::UpgradeStatement s2{"s2", "UPDATE t SET a=1"};
    const std::string hash = config::StatementHash(s2.statement);
    EXPECT_TRUE(config::IsStatementDone(s2, {"s1=00000000", "S2=" + hash}));
    EXPECT_FALSE(config::IsStatementDone(s2, {"s1=" + hash}));
    EXPECT_FALSE(config::IsStatementDone({"s2", "UPDATE t SET a=2"}, {"s2=" + hash}));
    EXPECT_FALSE(config::IsStatementDone(s2, {}));
}

TEST(UpgradeStatements, FailureLinesAreSeparatedByCrLf)
{
    std::string failures;
    config::AppendUpgradeFailure(failures, "UPDATE a");
    EXPECT_EQ(failures, "升级数据库失败:UPDATE a");
    config::AppendUpgradeFailure(failures, "UPDATE b");
    EXPECT_EQ(failures, "升级数据库失败:UPDATE a\r\n升级数据库失败:UPDATE b");
}
