#include "ui/LauncherRules.h"

#include <gtest/gtest.h>

using namespace ui;

TEST(LauncherRules, PeriodIsShownAsYearAndMonth)
{
    EXPECT_EQ(FormatPeriod("200703"), "2007年03月");
    EXPECT_EQ(FormatPeriod(""), "年月");
    EXPECT_EQ(FormatPeriod("2007"), "2007年月");
    EXPECT_EQ(FormatPeriod("2007031"), "2007年03月");
    EXPECT_EQ(FormatPeriod("20071"), "2007年1月");
}

TEST(LauncherRules, VersionCaptionIsCutTo56Bytes)
{
    EXPECT_EQ(VersionCaption("2.0.1"), "版本：2.0.1");
    EXPECT_EQ(VersionCaption(""), "版本：");
    const std::string caption = VersionCaption(std::string(80, '9'));
    EXPECT_EQ(caption.size(), 56u);
    EXPECT_EQ(caption, "版本：" + std::string(50, '9'));
    // A double-byte character that would cross the limit is left out whole.
    const std::string chinese = VersionCaption(std::string(49, '9').append("版本"));
    EXPECT_EQ(chinese, "版本：" + std::string(49, '9'));
}

TEST(LauncherRules, SingleArrowSitsCentredBetweenTheTopButtons)
{
    // Design values: sbtnBs at 130, sbtnClearCard at 480 and 80 wide, arrow 49.
    EXPECT_EQ(SingleArrowLeft(130, 480, 80, 49), 320);
    // The quotient is truncated toward zero.
    EXPECT_EQ(SingleArrowLeft(0, 0, 0, 3), -1);
}

TEST(LauncherRules, BottomPanelFollowsTheFormHeight)
{
    EXPECT_EQ(BottomPanelHeight(400), 60);
    EXPECT_EQ(BottomPanelHeight(480), 115);
    EXPECT_EQ(BottomPanelHeight(499), 134);
    EXPECT_EQ(BottomPanelHeight(500), 135);
    EXPECT_EQ(BottomPanelHeight(900), 135);
    EXPECT_EQ(BottomPanelHeight(0), 60);
}

TEST(LauncherRules, TheBottomPanelsRuleIsInPixelsOfTheScreen)
{
    // 500, 135, 60 and 365 at 96 DPI; halves round up.
    const struct {
        int dpi, formHeight, expected;
    } cases[] = {{144, 750, 203}, {144, 749, 201}, {144, 600, 90}, {120, 625, 169}, {120, 624, 168},
                 {120, 500, 75},  {96, 480, 115}};
    for (const auto& c : cases)
        EXPECT_EQ(BottomPanelHeight(c.formHeight, c.dpi), c.expected) << c.dpi << " DPI, " << c.formHeight;
}

TEST(LauncherRules, FunctionCodesJoinWithoutSeparator)
{
    EXPECT_EQ(FunctionCode("WSCBS", kSuffixInvoiceQuery), "WSCBS003-01");
    EXPECT_EQ(FunctionCode("", kSuffixPanelShown), "004-00-01");
    EXPECT_EQ(kClearCardKeys.defaultCaption, "清  卡");
}
