#include "util/ParamText.h"

#include <gtest/gtest.h>

#include <random>

using namespace util;

TEST(ParamText, EscapesAndCaseInsensitiveSearch)
{
    EXPECT_EQ(EncodeParamText("a=b;c&d%"), "a&eq%b&lim%c&d%");
    EXPECT_EQ(DecodeParamText(EncodeParamText("x&eq%y")), "x=y"); // '&' is not escaped
    EXPECT_EQ(FindTextIgnoreCase("ab", "abXAB", 2), 4u);
    EXPECT_EQ(FindTextIgnoreCase("ab", "abXab", 5), 0u);
    EXPECT_EQ(FindTextIgnoreCase("a", "a", 0), 0u);
    EXPECT_EQ(FindTextIgnoreCase("", "abc", 1), 0u);
    EXPECT_EQ(FindTextIgnoreCase("\xE1", "\xC1\xE1", 1), 2u);
    // A trail byte is no letter: 癆 (B0 41) is not 癮 (B0 61).
    EXPECT_EQ(FindTextIgnoreCase("\xB0\x61", "x\xB0\x41", 1), 0u);
    EXPECT_EQ(ReadParamValue("\x81\x41=1;\x81\x61=2", "\x81\x61"), "2");
    EXPECT_EQ(WriteParamValue("\x81\x41=1", "\x81\x61", "2"), "\x81\x41=1;\x81\x61=2");
}

TEST(ParamText, WriteReplacesFirstPairOrNameStandingAloneElseAppends)
{
    EXPECT_EQ(WriteParamValue("", "ResultMsgStr", "ok"), "ResultMsgStr=ok");
    EXPECT_EQ(WriteParamValue("a=1;ResultMsgStr=old;b=2", "resultmsgstr", "x"), "a=1;resultmsgstr=x;b=2");
    EXPECT_EQ(WriteParamValue("A=1;b=2;a=3", "a", ""), "a=;b=2;a=3");
    EXPECT_EQ(WriteParamValue("xa=1;a=2", "a", "3"), "xa=1;a=3");
    EXPECT_EQ(WriteParamValue("a=1;flag;b=2", "FLAG", "1"), "a=1;FLAG=1;b=2");
    EXPECT_EQ(WriteParamValue("a=1;flag", "flag", "1"), "a=1;flag=1");
    EXPECT_EQ(WriteParamValue("a=1;flagX=2", "flag", "1"), "a=1;flagX=2;flag=1");
    EXPECT_EQ(WriteParamValue("  a=1;  ", "b", "2"), "a=1;;b=2");
    EXPECT_EQ(WriteParamValue("a=1;b=2;", "b", "3"), "a=1;b=3");
    EXPECT_EQ(WriteParamValue("  a=1;  ", "", "x"), "a=1;");
    EXPECT_EQ(WriteParamValue("", "n=", "v;"), "n&eq%=v&lim%");
}

TEST(ParamText, CaseInsensitiveAndExactReaders)
{
    EXPECT_EQ(ReadParamValue("A=1;a=2", "a"), "1");
    EXPECT_EQ(ReadParamValueExact("A=1;a=2", "a"), "2");
    EXPECT_EQ(ReadParamValue("ModalFormMsg=;ModalFormMsg=5", "ModalFormMsg"), "");
    EXPECT_EQ(ReadParamValueExact("ModalFormMsg=;ModalFormMsg=5", "ModalFormMsg"), "5");
    EXPECT_EQ(ReadParamValue("  x=1;ModalFormMsg=a&eq%b  ", "modalformmsg"), "a=b");
    EXPECT_EQ(ReadParamValueExact("x=1;ModalFormMsg=a&eq%b", "ModalFormMsg"), "a=b");
    EXPECT_EQ(ReadParamValueExact("ModalFormMsg=a&lim%b;x=1", "ModalFormMsg"), "a;b");
    EXPECT_EQ(ReadParamValue("a=1;flag;b=2", "flag"), "");
    EXPECT_EQ(ReadParamValue("a=1=2;b", "a"), "1=2");
    EXPECT_EQ(ReadParamValueExact(" a=1", "a"), ""); // not trimmed: the blank is part of the name
    // A segment without '=' has an empty name and is all value.
    EXPECT_EQ(ReadParamValueExact("bare;=v", ""), "bare");
    EXPECT_EQ(ReadParamValueExact("a=1;=v", ""), "v");
    EXPECT_EQ(ReadParamValueExact("a=1;b&eq%c", ""), "b=c");
    EXPECT_EQ(ReadParamValueExact("bare", "bare"), "");
}

TEST(ParamText, WrittenValuesReadBackUnchanged)
{
    // Separators, letters of the escapes and GBK bytes; no '%', since a value
    // that holds an escape sequence itself does not read back.
    const std::string alphabet = "ab=;&eqlim 测";
    std::mt19937 random(20240501);
    auto randomText = [&](std::size_t maxLength) {
        std::string text(random() % (maxLength + 1), ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        return text;
    };
    for (int round = 0; round < 300; ++round) {
        const std::string name = "N" + randomText(4) + "N";
        const std::string value = "<" + randomText(8) + ">";
        std::string text = WriteParamValue("", "first", randomText(6));
        text = WriteParamValue(text, name, "old");
        text = WriteParamValue(text, "last", randomText(6));
        text = WriteParamValue(text, name, value);
        ASSERT_EQ(ReadParamValue(text, name), value) << text;
        // The exact reader compares the name as passed, unescaped.
        if (name.find_first_of("=;") == std::string::npos) {
            ASSERT_EQ(ReadParamValueExact(text, name), value) << text;
        }
    }
}
