#include "startup/actions/ActionMergePlan.h"

#include <gtest/gtest.h>

using startup::ActionKeyOutcome;
using startup::PlanActionMerge;
using profile::ProfileDocument;

TEST(ActionMergePlan, EveryKeyOfTheSourceWithWhatTheWriteDoesToTheHostsFile)
{
    const ProfileDocument source("; the sub-application's actions\r\n"
                                 "[F-01]\r\n"
                                 "k=2\r\n"
                                 "same=1\r\n"
                                 "[F-02]\r\n"
                                 "Caption=新\r\n"
                                 "[Empty]\r\n");
    const auto plan = PlanActionMerge("S", source, "T", "[F-01]\r\nk=1\r\nsame=1\r\nm=3\r\n");
    EXPECT_TRUE(plan.sourcePresent);
    EXPECT_TRUE(plan.changesTarget);
    ASSERT_EQ(plan.writes.size(), 3u);
    EXPECT_EQ(plan.writes[0].section, "F-01");
    EXPECT_EQ(plan.writes[0].key, "k");
    EXPECT_EQ(plan.writes[0].value, "2");
    EXPECT_EQ(plan.writes[0].before, "1");
    EXPECT_EQ(plan.writes[0].outcome, ActionKeyOutcome::Changed);
    EXPECT_EQ(plan.writes[0].sourceLine, 3u);
    EXPECT_EQ(plan.writes[1].outcome, ActionKeyOutcome::Unchanged);
    EXPECT_EQ(plan.writes[2].section, "F-02");
    EXPECT_EQ(plan.writes[2].outcome, ActionKeyOutcome::Added);
    EXPECT_FALSE(plan.writes[2].before.has_value());
    EXPECT_EQ(plan.writes[2].sourceLine, 6u);
    EXPECT_TRUE(plan.problems.empty());
}

TEST(ActionMergePlan, NothingChangesWhenTheHostAlreadyHoldsEveryKey)
{
    const ProfileDocument source("[F-01]\r\nk=1\r\n");
    const auto plan = PlanActionMerge("S", source, "T", "[f-01]\r\nK = 1\r\n");
    EXPECT_FALSE(plan.changesTarget);
    ASSERT_EQ(plan.writes.size(), 1u);
    EXPECT_EQ(plan.writes[0].outcome, ActionKeyOutcome::Unchanged);
}

TEST(ActionMergePlan, NoSourceWritesNothing)
{
    const auto plan = PlanActionMerge("S", std::nullopt, "T", "");
    EXPECT_FALSE(plan.sourcePresent);
    EXPECT_FALSE(plan.changesTarget);
    EXPECT_TRUE(plan.writes.empty());
}

TEST(ActionMergePlan, AKeyTwiceInItsSectionIsAProblemAndTheLaterValueWins)
{
    const ProfileDocument source("[F-01]\r\nk=1\r\nK=2\r\n");
    const auto plan = PlanActionMerge("S", source, "T", "");
    ASSERT_EQ(plan.writes.size(), 2u);
    EXPECT_EQ(plan.writes[0].outcome, ActionKeyOutcome::Added);
    // The second write changes what the first added.
    EXPECT_EQ(plan.writes[1].outcome, ActionKeyOutcome::Changed);
    EXPECT_EQ(plan.writes[1].before, "1");
    ASSERT_EQ(plan.problems.size(), 1u);
    EXPECT_EQ(plan.problems[0].file, "S");
    EXPECT_EQ(plan.problems[0].line, 3u);
}
