#include "util/PathText.h"

#include <gtest/gtest.h>

using namespace util;

// 俓 is 0x82 0x5C in GBK: its trail byte has the separator's value.
TEST(PathText, TrailByteOfDoubleByteCharacterIsNotASeparator)
{
    ASSERT_EQ(std::string("俓"), "\x82\x5C");
    EXPECT_EQ(EnsureTrailingSeparator("  C:\\data  "), "C:\\data\\");
    EXPECT_EQ(EnsureTrailingSeparator("C:\\data\\"), "C:\\data\\");
    EXPECT_EQ(EnsureTrailingSeparator(" \t "), "");
    EXPECT_EQ(EnsureTrailingSeparator("C:\\俓"), "C:\\俓\\");
    EXPECT_EQ(RemoveTrailingSeparator("C:\\a\\\\"), "C:\\a\\");
    EXPECT_EQ(RemoveTrailingSeparator("C:\\俓"), "C:\\俓");
    EXPECT_EQ(JoinPath("C:\\俓", "f"), "C:\\俓\\f");
    EXPECT_EQ(JoinPath("C:\\a\\", "f"), "C:\\a\\f");
}

TEST(PathText, ParentPathEndsAtLastWholeSeparator)
{
    EXPECT_EQ(ExtractParentPath("C:\\a\\b"), "C:\\a\\");
    EXPECT_EQ(ExtractParentPath("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(ExtractParentPath("C:\\俓x"), "C:\\");
    EXPECT_EQ(ExtractParentPath("C:\\俓"), "C:\\");
    EXPECT_EQ(ExtractParentPath("俓"), "");
}
