#include "util/FastStrings.h"

#include <gtest/gtest.h>

#include <random>

using util::ReplaceAllText;

TEST(FastStrings, OccurrencesNeitherOverlapNorGetRescanned)
{
    EXPECT_EQ(ReplaceAllText("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(ReplaceAllText("ab", "a", "aa"), "aab");
    EXPECT_EQ(ReplaceAllText("Abc", "abc", "x"), "Abc");
    EXPECT_EQ(ReplaceAllText("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAllText(std::string(10000, 'a'), "a", std::string(1000, 'r')), std::string(10000000, 'r'));
    EXPECT_EQ(ReplaceAllText(std::string("\xFF\0\xFF", 3), std::string("\xFF\0", 2), "!"), "!\xFF");
}

TEST(FastStrings, MatchesPlainScanOnRandomTexts)
{
    std::mt19937 random(7321);
    auto randomText = [&](const std::string& alphabet, std::size_t maxLength) {
        std::string text(random() % (maxLength + 1), ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        return text;
    };
    for (int round = 0; round < 5000; ++round) {
        // Small alphabets: occurrences are frequent, back to back and partial.
        const std::string alphabet = round % 2 ? "ab" : "abc\x80";
        const std::string source = randomText(alphabet, 40);
        const std::string find = "a" + randomText(alphabet, 5);
        const std::string replacement = randomText("xyz", round % 3 == 0 ? 0 : 20);
        std::string expected;
        for (std::size_t at = 0; at < source.size();) {
            const bool hit = source.compare(at, find.size(), find) == 0;
            expected += hit ? replacement : source.substr(at, 1);
            at += hit ? find.size() : 1;
        }
        ASSERT_EQ(ReplaceAllText(source, find, replacement), expected) << source << " / " << find;
    }
}
