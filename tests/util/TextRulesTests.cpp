#include "util/TextRules.h"

#include <gtest/gtest.h>

using namespace util;

TEST(TextRules, TrimAndCaseRulesTreatGbkBytesAsData)
{
    EXPECT_EQ(TrimText(std::string("\0\t\r\n \x1F" "a b\x21 \x01", 11)), "a b!");
    EXPECT_EQ(TrimText(" \t "), "");
    EXPECT_EQ(TrimText(" 税 "), "税");
    EXPECT_EQ(ToUpperAscii("azAZ09@[`{税z"), "AZAZ09@[`{税Z");
    EXPECT_TRUE(EqualsIgnoreCase("ZoneCode", "ZONECODE"));
    EXPECT_FALSE(EqualsIgnoreCase("\xE1", "\xC1")); // differ by the case bit, but not letters
    EXPECT_EQ(CompareIgnoreCase("ab", "ABC"), -1);
    EXPECT_EQ(CompareIgnoreCase("abd", "ABC"), 1);
    EXPECT_EQ(CompareIgnoreCase("\xB0", "z"), 1); // bytes compare unsigned
}

TEST(TextRules, PadTextNeverCutsAndCountsTheUntrimmedLength)
{
    EXPECT_EQ(PadLeftWithZeros("7", 2), "07");
    EXPECT_EQ(PadLeftWithZeros("11", 2), "11");
    EXPECT_EQ(PadLeftWithZeros("123", 2), "123");
    EXPECT_EQ(PadLeftWithZeros("5", -4), "5");
    EXPECT_EQ(PadText("ab", 5, PadSide::Right, '*'), "ab***");
    EXPECT_EQ(PadText(" 7", 3, PadSide::Left, '0'), "07");
    EXPECT_EQ(PadText("  7  ", 3, PadSide::Left, '0'), "7");
}
