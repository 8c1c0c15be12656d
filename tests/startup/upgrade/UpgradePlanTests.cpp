#include "startup/upgrade/UpgradePlan.h"

#include <gtest/gtest.h>

using startup::PlanUpgrade;

TEST(UpgradePlan, StatementsInFileOrderWithTheirLinesAndRecordedOnesMarkedDone)
{
    const std::string done = startup::StatementHash("CREATE TABLE a (x Integer)");
    const auto plan = PlanUpgrade("C:\\app\\dataupdate.ini",
                                  "; upgrade\r\n"
                                  "[MSACCESS]\r\n"
                                  "one=CREATE TABLE a (x Integer)\r\n"
                                  "\r\n"
                                  "empty=\r\n"
                                  "two=UPDATE a SET x=1 WHERE x=2\r\n"
                                  "[Other]\r\n"
                                  "three=DROP TABLE a\r\n"
                                  "[MSACCESS.done]\r\n"
                                  "ONE=" + done + "\r\n"
                                  "two=00000000\r\n");
    ASSERT_EQ(plan.statements.size(), 2u);
    EXPECT_EQ(plan.statements[0].statement.label, "one");
    EXPECT_EQ(plan.statements[0].statement.line, 3u);
    EXPECT_TRUE(plan.statements[0].done);  // labels compare ignoring case
    // Everything after the first '=' is the statement; a record with
    // another hash is of another statement.
    EXPECT_EQ(plan.statements[1].statement.statement, "UPDATE a SET x=1 WHERE x=2");
    EXPECT_EQ(plan.statements[1].statement.line, 6u);
    EXPECT_FALSE(plan.statements[1].done);
    ASSERT_EQ(plan.empty.size(), 1u);
    EXPECT_EQ(plan.empty[0].label, "empty");
    EXPECT_EQ(plan.empty[0].line, 5u);
    EXPECT_TRUE(plan.problems.empty());
}

TEST(UpgradePlan, ARepeatedLabelIsAProblemAtTheLaterLine)
{
    const auto plan = PlanUpgrade("C:\\app\\dataupdate.ini", "[MSACCESS]\n"
                                                             "a=CREATE TABLE t (x Integer)\n"
                                                             "b=INSERT INTO t VALUES (1)\n"
                                                             "A=INSERT INTO t VALUES (2)\n"
                                                             "b=INSERT INTO t VALUES (3)\n");
    EXPECT_EQ(plan.statements.size(), 4u);
    ASSERT_EQ(plan.problems.size(), 2u);
    EXPECT_EQ(plan.problems[0].file, "C:\\app\\dataupdate.ini");
    EXPECT_EQ(plan.problems[0].line, 4u);
    EXPECT_NE(plan.problems[0].message.find("repeats the statement of line 2"), std::string::npos);
    EXPECT_EQ(plan.problems[1].line, 5u);
    EXPECT_NE(plan.problems[1].message.find("repeats the statement of line 3"), std::string::npos);
}

TEST(UpgradePlan, AFileWithoutTheSectionHasNothingToRun)
{
    const auto plan = PlanUpgrade("f", "[Notes]\r\nx=1\r\n");
    EXPECT_TRUE(plan.statements.empty());
    EXPECT_TRUE(plan.empty.empty());
    EXPECT_TRUE(plan.problems.empty());
}
