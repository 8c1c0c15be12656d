#include "profile/ProfileDocument.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using profile::ProfileDocument;

TEST(ProfileDocument, ChangesOnlyTheLinesOfChangedKeys)
{
    ProfileDocument document("; host actions\r\n[FUNC]\r\n k = 1 \r\nm=3\r\n\r\n[HOST]\r\nh=1\r\n");
    EXPECT_FALSE(document.Set("func", "K", "1"));  // same value, names ignoring case
    EXPECT_TRUE(document.Set("FUNC", "k", "2"));
    EXPECT_EQ(document.Text(), "; host actions\r\n[FUNC]\r\nk=2\r\nm=3\r\n\r\n[HOST]\r\nh=1\r\n");
}

TEST(ProfileDocument, NewKeysGoAfterTheSectionsLastLineAndNewSectionsAtTheEnd)
{
    ProfileDocument document("[FUNC]\nk=1\n\n[HOST]\nh=1");
    EXPECT_TRUE(document.Set("FUNC", "url", "http://x/?a=1&b=2"));
    EXPECT_TRUE(document.Set("网上抄税", "动作", "打开"));
    EXPECT_EQ(document.Text(), "[FUNC]\nk=1\nurl=http://x/?a=1&b=2\r\n\n[HOST]\nh=1\r\n[网上抄税]\r\n动作=打开\r\n");
}

TEST(ProfileDocument, FirstSectionAndFirstKeyOfANameDecide)
{
    ProfileDocument document("[A]\r\nk=1\r\nk=9\r\n[a]\r\nk=8\r\n");
    EXPECT_TRUE(document.Set("A", "k", "2"));
    EXPECT_TRUE(document.Set("A", "n", "3"));
    EXPECT_EQ(document.Text(), "[A]\r\nk=2\r\nk=9\r\nn=3\r\n[a]\r\nk=8\r\n");
}

TEST(ProfileDocument, CommentsAndBracketLinesAreNotKeys)
{
    // A comment that looks like the key is not the key; a line with '[' but
    // no ']' is a key line, not a section.
    ProfileDocument document("[A]\r\n;k=1\r\n[B=2\r\n");
    EXPECT_TRUE(document.Set("A", "k", "1"));
    EXPECT_FALSE(document.Set("A", "[B", "2"));
    EXPECT_EQ(document.Text(), "[A]\r\n;k=1\r\n[B=2\r\nk=1\r\n");
}

TEST(ProfileDocument, EmptyTextGetsSections)
{
    ProfileDocument document("");
    EXPECT_TRUE(document.Set("A", "x", ""));
    EXPECT_EQ(document.Text(), "[A]\r\nx=\r\n");
}

TEST(ProfileDocument, ASectionKeptLastTakesTheLinesOfEverySectionOfItsName)
{
    // Lines added at the end of the text then belong to it, for the profile
    // reader as for this one.
    ProfileDocument document("[MSACCESS]\r\ns1=CREATE\r\n[msaccess.done]\r\ns1=AB\r\n[OTHER]\r\nx=1\r\n"
                             "[MSACCESS.DONE]\r\ns2=CD\r\n; kept\r\n[LAST]\r\ny=2");
    EXPECT_TRUE(document.KeepSectionLast("MSACCESS.done"));
    EXPECT_EQ(document.Text(), "[MSACCESS]\r\ns1=CREATE\r\n[OTHER]\r\nx=1\r\n[LAST]\r\ny=2\r\n"
                               "[msaccess.done]\r\ns1=AB\r\ns2=CD\r\n; kept\r\n");
    EXPECT_FALSE(document.KeepSectionLast("msaccess.done")) << "already one and last";
}

TEST(ProfileDocument, ASectionKeptLastIsMadeWhenMissingAndItsLastLineEnded)
{
    ProfileDocument missing("[MSACCESS]\ns1=CREATE");
    EXPECT_TRUE(missing.KeepSectionLast("MSACCESS.done"));
    EXPECT_EQ(missing.Text(), "[MSACCESS]\ns1=CREATE\r\n[MSACCESS.done]\r\n");

    ProfileDocument unended("[MSACCESS.done]\r\ns1=AB");
    EXPECT_TRUE(unended.KeepSectionLast("MSACCESS.done"));
    EXPECT_EQ(unended.Text(), "[MSACCESS.done]\r\ns1=AB\r\n");

    ProfileDocument empty("");
    EXPECT_TRUE(empty.KeepSectionLast("MSACCESS.done"));
    EXPECT_EQ(empty.Text(), "[MSACCESS.done]\r\n");
}

TEST(ProfileDocument, AKeyWithoutEqualsHasNoValueNotAnEmptyOne)
{
    // The profile reader answers such a key with the caller's default.
    ProfileDocument document("[FUNC]\r\nTitle\r\nTitle=x\r\n");
    EXPECT_TRUE(document.Set("FUNC", "title", ""));
    EXPECT_EQ(document.Text(), "[FUNC]\r\nTitle=\r\nTitle=x\r\n");
    EXPECT_FALSE(document.Set("FUNC", "title", ""));
}

TEST(ProfileDocument, ReadsWhatTheProfileFunctionsRead)
{
    const ProfileDocument document("k=0\r\n; note\r\n[A]\r\n k = 1 \r\nflag\r\n;c=1\r\n\r\nk=2\r\n"
                                   "[b]\r\nq=\"x y\"\r\nhalf=\"x\r\n[a]\r\nk=9\r\n");
    // Each name once, first spelling; the lines of its first section.
    EXPECT_EQ(document.SectionNames(), (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(document.SectionLines("a"), (std::vector<std::string>{"k=1", "flag", "k=2"}));
    EXPECT_TRUE(document.SectionLines("none").empty());
    // The first key decides; quotes around a value are taken off.
    EXPECT_EQ(document.Value("A", "K"), "1");
    EXPECT_EQ(document.Value("B", "q"), "x y");
    EXPECT_EQ(document.Value("B", "half"), "\"x");
    // A key without '=' has no value: the profile reader gives the default.
    EXPECT_EQ(document.Value("A", "flag"), std::nullopt);
    EXPECT_EQ(document.Value("A", "none"), std::nullopt);
    EXPECT_EQ(document.Value("none", "k"), std::nullopt);
}

// The profile reader's lines, as the profile functions under Wine read them:
// every run of CR and LF ends a line, a section's name is trimmed, a key may
// have an empty name, a comment is found by name but listed nowhere, and a
// GBK character whose second byte is ']' does not close a section.
TEST(ProfileDocument, ReadsEveryLineEndAndBracketFormAsTheProfileReader)
{
    struct Case {
        const char* text;
        std::vector<std::string> names;
        std::vector<std::string> lines;  // of section "s"
        std::optional<std::string> k;    // the value of key "k" of section "s"
    };
    const Case cases[] = {
        {"[s]\rA=1\rB=2\r", {"s"}, {"A=1", "B=2"}, std::nullopt},
        {"[s]\r\nk=1\rm=3\r\n", {"s"}, {"k=1", "m=3"}, "1"},
        {"[s]\r\r\nk=1\n\rm=2\r\n\r\nn=3", {"s"}, {"k=1", "m=2", "n=3"}, "1"},
        {"[ s ] x\r\nk=1\r\n[a]b]\r\nm=1\r\n[c\r\n [d] \r\n", {"s", "a]b", "d"}, {"k=1"}, "1"},
        {"[s]\r\n=v\r\n;k=1\r\nk\r\n", {"s"}, {"=v", "k"}, std::nullopt},
        {"k=0\r\n[]\r\nk=1\r\n[s]\r\nk=2\r\n", {"s"}, {"k=2"}, "2"},
        {"[s\x81]]\r\nk=1\r\n", {"s\x81]"}, {}, std::nullopt},
    };
    for (const Case& c : cases) {
        const ProfileDocument document(c.text);
        EXPECT_EQ(document.SectionNames(), c.names) << c.text;
        EXPECT_EQ(document.SectionLines("s"), c.lines) << c.text;
        EXPECT_EQ(document.SectionLines(" s "), std::vector<std::string>{}) << c.text;
        EXPECT_EQ(document.Value("s", "k"), c.k) << c.text;
        EXPECT_EQ(document.Text(), c.text);
    }
    const ProfileDocument comment("[s]\r\n;c=1\r\n=v\r\n");
    EXPECT_EQ(comment.Value("s", ";c"), "1");
    EXPECT_EQ(comment.Value("s", ""), "v");
    // Line numbers as an editor counts them: CR LF, LF and a lone CR each end one.
    EXPECT_EQ(ProfileDocument("[s]\rk=1\n\r\r\nm=2\r\n").SectionLineNumbers("s"), (std::vector<unsigned long>{2, 5}));
}

// A write changes the key the profile reader finds, whatever the line ends,
// and no other line: a stray CR ends a line, so the key after it stays.
TEST(ProfileDocument, WritesKeysWhereTheProfileReaderFindsThem)
{
    struct Case {
        const char* text;
        const char* section;
        const char* key;
        const char* after;
    };
    const Case cases[] = {
        {"[s]\r\nk=1\rm=3\r\n", "s", "k", "[s]\r\nk=2\rm=3\r\n"},
        {"[s]\rA=1\rB=2\r", "s", "k", "[s]\rA=1\rB=2\rk=2\r\n"},
        {"[s]\rA=1\r\r\r[t]\r", "S", "k", "[s]\rA=1\rk=2\r\n\r\r[t]\r"},
        {"[ s ]\r\nk=1\r\n", "s", "k", "[ s ]\r\nk=2\r\n"},
        {"[s]\r\n=1\r\n", "s", "", "[s]\r\n=2\r\n"},
        {"[s]\r\n;k=1\r\n", "s", ";k", "[s]\r\n;k=2\r\n"},
    };
    for (const Case& c : cases) {
        ProfileDocument document(c.text);
        EXPECT_TRUE(document.Set(c.section, c.key, "2")) << c.text;
        EXPECT_EQ(document.Text(), c.after) << c.text;
    }
}
