#include "text/GbkConverter.h"
#include "profile/ProfileText.h"
#include "startup/upgrade/UpgradeStatements.h"

#include <gtest/gtest.h>

using namespace std::string_literals;

TEST(ProfileText, ListsAndLines)
{
    EXPECT_EQ(profile::SplitProfileList("a=1\0b=2\0\0junk"s), (std::vector<std::string>{"a=1", "b=2"}));
    EXPECT_EQ(profile::SplitProfileList("last"s), (std::vector<std::string>{"last"}));
    EXPECT_TRUE(profile::SplitProfileList("\0\0"s).empty());

    const auto line = profile::SplitProfileLine("u1=UPDATE t SET a=1 WHERE b=2");
    EXPECT_EQ(line.key, "u1");
    EXPECT_EQ(line.value, "UPDATE t SET a=1 WHERE b=2");
    const auto bare = profile::SplitProfileLine("flag");
    EXPECT_EQ(bare.key, "flag");
    EXPECT_EQ(bare.value, "");
}

TEST(ProfileText, ByteOrderMarkDecidesTheEncodingAndTheTextComesAsGbk)
{
    const text::GbkConverter& converter = text::SystemGbkConverter();
    // "动作" is E5 8A A8 E4 BD 9C in UTF-8, U+52A8 U+4F5C, B6 AF D7 F7 in GBK.
    const std::string gbk = "[A]\r\nk=\xB6\xAF\xD7\xF7";
    EXPECT_EQ(profile::ProfileTextAsGbk(gbk, converter), gbk);
    EXPECT_EQ(profile::ProfileTextAsGbk("\xEF\xBB\xBF[A]\r\nk=\xE5\x8A\xA8\xE4\xBD\x9C", converter), gbk);
    EXPECT_EQ(profile::ProfileTextAsGbk("\xFF\xFE[\0A\0]\0\r\0\n\0k\0=\0\xA8\x52\x5C\x4F"s, converter), gbk);
    EXPECT_EQ(profile::ProfileTextAsGbk("\xFE\xFF\0[\0A\0]\0\r\0\n\0k\0=\x52\xA8\x4F\x5C"s, converter), gbk);
    // A lone surrogate and an odd last byte.
    EXPECT_EQ(profile::ProfileTextAsGbk("\xFF\xFEk\0=\0\x00\xD8x"s, converter), "k=?");
    EXPECT_EQ(profile::ProfileTextAsGbk("", converter), "");
}

TEST(UpgradeStatements, StatementsInFileOrderWithoutEmptyOnes)
{
    const auto statements = startup::ParseUpgradeStatements(
        {"s1=CREATE TABLE t (a INT)", "empty=", "bare", "s2=UPDATE t SET a=1"});
    ASSERT_EQ(statements.size(), 2u);
    EXPECT_EQ(statements[0].label, "s1");
    EXPECT_EQ(statements[1].statement, "UPDATE t SET a=1");
}

TEST(UpgradeStatements, DoneRecordNeedsTheSameLabelAndStatement)
{
    EXPECT_EQ(startup::StatementHash(""), "811C9DC5");  // FNV-1a offset basis
    EXPECT_EQ(startup::StatementHash("a"), "E40C292C");
    const startup::UpgradeStatement s2{"s2", "UPDATE t SET a=1"};
    const std::string hash = startup::StatementHash(s2.statement);
    EXPECT_TRUE(startup::IsStatementDone(s2, {"s1=00000000", "S2=" + hash}));
    EXPECT_FALSE(startup::IsStatementDone(s2, {"s1=" + hash}));
    EXPECT_FALSE(startup::IsStatementDone({"s2", "UPDATE t SET a=2"}, {"s2=" + hash}));
    EXPECT_FALSE(startup::IsStatementDone(s2, {}));
}

TEST(UpgradeStatements, FailureLinesAreSeparatedByCrLf)
{
    std::string failures;
    startup::AppendUpgradeFailure(failures, "UPDATE a");
    EXPECT_EQ(failures, "升级数据库失败:UPDATE a");
    startup::AppendUpgradeFailure(failures, "UPDATE b");
    EXPECT_EQ(failures, "升级数据库失败:UPDATE a\r\n升级数据库失败:UPDATE b");
}
