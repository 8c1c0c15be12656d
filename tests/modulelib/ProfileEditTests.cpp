#include "ProfileEdit.h"

#include <gtest/gtest.h>

using hostmodel::SetProfileValue;

TEST(ProfileEdit, ChangesTheFirstKeyOfTheFirstSectionAndKeepsEveryOtherLine)
{
    const std::u16string text = u"; record\r\n[Difference]\r\n LastVersion = 2.0.1 \r\nlastVersion=9\r\n\r\n[difference]\r\n"
                                u"lastVersion=8\n[Other]\nkeep=1";
    EXPECT_EQ(SetProfileValue(text, u"DIFFERENCE", u"lastversion", u"  2.0.2"),
              u"; record\r\n[Difference]\r\nLastVersion=2.0.2\r\nlastVersion=9\r\n\r\n[difference]\r\n"
              u"lastVersion=8\n[Other]\nkeep=1");
}

TEST(ProfileEdit, AddsAMissingKeyAfterTheSectionsLastLineAndAMissingSectionAtTheEnd)
{
    const std::u16string text = u"[A]\r\nk=1\r\n;k2=0\r\n\r\n[B]\r\nm=2";
    EXPECT_EQ(SetProfileValue(text, u"a", u"k2", u"v"), u"[A]\r\nk=1\r\n;k2=0\r\nk2=v\r\n\r\n[B]\r\nm=2");
    EXPECT_EQ(SetProfileValue(text, u"B", u"n", u"3"), u"[A]\r\nk=1\r\n;k2=0\r\n\r\n[B]\r\nm=2\r\nn=3\r\n");
    EXPECT_EQ(SetProfileValue(text, u"地区", u"名称", u"杭州"),
              u"[A]\r\nk=1\r\n;k2=0\r\n\r\n[B]\r\nm=2\r\n[地区]\r\n名称=杭州\r\n");
    EXPECT_EQ(SetProfileValue(u"", u"S", u"k", u""), u"[S]\r\nk=\r\n");
}

TEST(ProfileEdit, BracketsAndEqualsSignsWhereTheProfileReaderPutsThem)
{
    // A header is named by the text up to its last ']'; a line with '['
    // but no ']' is a key; a key is named by the text before its first '='.
    const std::u16string text = u"[a]b]\r\n[x=1\r\nurl=http://h/?a=1\r\n";
    EXPECT_EQ(SetProfileValue(text, u"a]b", u"url", u"http://h/?b=2"), u"[a]b]\r\n[x=1\r\nurl=http://h/?b=2\r\n");
    EXPECT_EQ(SetProfileValue(text, u"a]b", u"[x", u"2"), u"[a]b]\r\n[x=2\r\nurl=http://h/?a=1\r\n");
}
