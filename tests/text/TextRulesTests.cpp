#include "text/TextRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace text;

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

TEST(TextRules, CaseFoldingNeverChangesADoubleByteCharacter)
{
    // 癆 B0 41 and 癮 B0 61, 玥 AB 68, 丄 81 41 and 乤 81 61: trail bytes in
    // the range of the ASCII letters are part of a character, not letters.
    EXPECT_EQ(ToUpperAscii("a\xB0\x61z\xAB\x68h"), "A\xB0\x61Z\xAB\x68H");
    EXPECT_FALSE(EqualsIgnoreCase("\xB0\x41", "\xB0\x61"));
    EXPECT_FALSE(EqualsIgnoreCase("k\x81\x41", "K\x81\x61"));
    EXPECT_TRUE(EqualsIgnoreCase("k\x81\x41x", "K\x81\x41X"));
    EXPECT_NE(CompareIgnoreCase("\xB0\x61", "\xB0\x41"), 0);
    EXPECT_EQ(CompareIgnoreCase("\xB0\x41", "\xB0\x61"), -1);
    // A letter right after a whole character, and a lead byte left alone at
    // the end, are folded and kept as they stand.
    EXPECT_TRUE(EqualsIgnoreCase("\xB0\x41" "a", "\xB0\x41" "A"));
    EXPECT_EQ(ToUpperAscii("x\xB0"), "X\xB0");
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

// Equality is the ordering's zero, over every text of up to three bytes
// from letters of both cases, lead bytes, trail bytes that are letters,
// and bytes that differ from letters by the case bit only.
TEST(TextRules, EqualityIsTheOrderingsZero)
{
    const char alphabet[] = {'a', 'A', 'z', '\x81', '\x41', '\x61', '\xE1', '\xFE'};
    std::vector<std::string> texts{""};
    for (std::size_t from = 0, length = 1; length <= 3; ++length) {
        const std::size_t to = texts.size();
        for (std::size_t t = from; t < to; ++t) {
            for (char c : alphabet)
                texts.push_back(texts[t] + c);
        }
        from = to;
    }
    std::size_t equalPairs = 0;
    for (const std::string& a : texts) {
        for (const std::string& b : texts) {
            const bool equal = EqualsIgnoreCase(a, b);
            ASSERT_EQ(equal, CompareIgnoreCase(a, b) == 0) << testing::PrintToString(a) << " / " << testing::PrintToString(b);
            equalPairs += equal ? 1 : 0;
        }
    }
    EXPECT_GT(equalPairs, texts.size());  // pairs that differ in case only are among them
}
