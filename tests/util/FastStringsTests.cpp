#include "util/FastStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using util::ReplaceAllText;

namespace {

using ReplaceFunction = std::string (*)(std::string_view, std::string_view, std::string_view);

// Byte by byte from the left: an occurrence is replaced and skipped whole.
std::string PlainReplace(const std::string& source, const std::string& find, const std::string& replacement)
{
    if (find.empty())
        return source;
    std::string expected;
    expected.reserve(source.size());
    for (std::size_t at = 0; at < source.size();) {
        if (source[at] == find[0] && source.compare(at, find.size(), find) == 0) {
            expected += replacement;
            at += find.size();
        } else {
            expected += source[at++];
        }
    }
    return expected;
}

// `count` times `fill` between `head` and `tail`.
std::string Framed(std::string_view head, char fill, std::size_t count, std::string_view tail)
{
    std::string text(head.size() + count + tail.size(), fill);
    std::copy(head.begin(), head.end(), text.begin());
    std::copy(tail.begin(), tail.end(), text.end() - static_cast<std::ptrdiff_t>(tail.size()));
    return text;
}

// The scans behind ReplaceAllText, each run by name whatever this build or
// processor would choose; the SSE2 one only where the processor has it.
struct Scan {
    const char* name;
    ReplaceFunction replace;
};

void PrintTo(const Scan& scan, std::ostream* out)
{
    *out << scan.name;
}

class ReplaceScans : public ::testing::TestWithParam<Scan> {
protected:
    void SetUp() override
    {
        if (GetParam().replace == &util::detail::ReplaceAllTextByVectors && !util::detail::VectorScanAvailable())
            GTEST_SKIP() << "the processor has no SSE2";
    }
};

INSTANTIATE_TEST_SUITE_P(FastStrings, ReplaceScans,
                         ::testing::Values(Scan {"Default", &util::ReplaceAllText},
                                           Scan {"BySkips", &util::detail::ReplaceAllTextBySkips},
                                           Scan {"ByVectors", &util::detail::ReplaceAllTextByVectors}),
                         [](const ::testing::TestParamInfo<Scan>& info) { return std::string(info.param.name); });

// The source as the only bytes of a heap block of its exact size, so that a
// scan that reads past its end is caught by the address sanitizer.
std::string ReplaceInExactBlock(ReplaceFunction replace, const std::string& source, const std::string& find,
                                const std::string& replacement)
{
    const std::vector<char> block(source.begin(), source.end());
    return replace(std::string_view(block.data(), block.size()), find, replacement);
}

} // namespace

TEST_P(ReplaceScans, OccurrencesNeitherOverlapNorGetRescanned)
{
    const ReplaceFunction replace = GetParam().replace;
    EXPECT_EQ(replace("aaaa", "aa", "b"), "bb");
    EXPECT_EQ(replace("ab", "a", "aa"), "aab");
    EXPECT_EQ(replace("Abc", "abc", "x"), "Abc");
    EXPECT_EQ(replace("abc", "", "x"), "abc");
    EXPECT_EQ(replace("", "a", "x"), "");
    EXPECT_EQ(replace("ab", "abc", "x"), "ab");
    EXPECT_EQ(replace(std::string(10000, 'a'), "a", std::string(1000, 'r')), std::string(10000000, 'r'));
    EXPECT_EQ(replace(std::string("\xFF\0\xFF", 3), std::string("\xFF\0", 2), "!"), "!\xFF");
    // Long runs of one byte: every block is full of candidates.
    EXPECT_EQ(replace(std::string(101, 'a'), "aa", "b"), Framed("", 'b', 50, "a"));
    EXPECT_EQ(replace(std::string(100, 'a'), "aaa", ""), "a");
    EXPECT_EQ(replace(std::string(64, 'a'), std::string(64, 'a'), "x"), "x");
}

// One occurrence, then two, at every offset of texts up to a few blocks
// long, so that occurrences sit at the very start and end, straddle every
// block boundary, and end exactly where a block or the text ends.
TEST_P(ReplaceScans, OccurrencesAtEveryOffset)
{
    const ReplaceFunction replace = GetParam().replace;
    const std::string finds[] = {"&eq%",
                                 "%",
                                 "&e",
                                 "e&q",
                                 Framed("&", 'q', 14, "%"),
                                 Framed("", '&', 16, "q"),
                                 Framed("", '&', 17, "q"),
                                 Framed("&", 'q', 33, "%"),
                                 Framed("&", 'q', 62, "%"),
                                 Framed("&", 'q', 63, "%"),
                                 Framed("&", 'q', 70, "%")};
    const std::string replacements[] = {"", "=", "&eq%", "0123456789abcdef", "0123456789abcdefg", std::string(40, 'r')};
    for (const std::string& find : finds) {
        for (std::size_t length = find.size(); length <= find.size() + 80; ++length) {
            for (std::size_t first = 0; first + find.size() <= length; ++first) {
                std::string source(length, '.');
                for (std::size_t i = 0; i < length; ++i)
                    source[i] = static_cast<char>(i % 2 ? 0xB5 : 'q');
                source.replace(first, find.size(), find);
                for (const std::string& replacement : replacements) {
                    ASSERT_EQ(ReplaceInExactBlock(replace, source, find, replacement),
                              PlainReplace(source, find, replacement))
                        << "find " << find << " length " << length << " at " << first;
                }
                const std::size_t second = first + find.size() + first % 3;
                if (second + find.size() <= length) {
                    source.replace(second, find.size(), find);
                    ASSERT_EQ(ReplaceInExactBlock(replace, source, find, "="), PlainReplace(source, find, "="))
                        << "find " << find << " length " << length << " at " << first << " and " << second;
                }
            }
        }
    }
}

TEST_P(ReplaceScans, MatchesPlainScanOnRandomTexts)
{
    const ReplaceFunction replace = GetParam().replace;
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
        ASSERT_EQ(ReplaceInExactBlock(replace, source, find, replacement), PlainReplace(source, find, replacement))
            << source << " / " << find;
    }
}

// Longer texts over larger alphabets with NUL and high bytes; the find text
// is often cut from the source itself, so that it occurs, and is up to a
// few blocks long.
TEST_P(ReplaceScans, MatchesPlainScanOnLongerTexts)
{
    const ReplaceFunction replace = GetParam().replace;
    std::mt19937 random(90210);
    const std::string alphabets[] = {"ab", std::string("a\0b", 3), "abcd\xA1\xFF", "abcdefghijklmnop\x80\x81\x82\x83"};
    for (int round = 0; round < 20000; ++round) {
        const std::string& alphabet = alphabets[random() % 4];
        std::string source(random() % 201, ' ');
        for (char& c : source)
            c = alphabet[random() % alphabet.size()];
        std::string find;
        const std::size_t findLength = 1 + random() % (round % 4 == 0 ? 40 : 6);
        if (random() % 4 != 0 && source.size() >= findLength) {
            find = source.substr(random() % (source.size() - findLength + 1), findLength);
        } else {
            find.resize(findLength);
            for (char& c : find)
                c = alphabet[random() % alphabet.size()];
        }
        std::string replacement(random() % (round % 5 == 0 ? 41 : 6), ' ');
        for (char& c : replacement)
            c = "xyz&"[random() % 4];
        ASSERT_EQ(ReplaceInExactBlock(replace, source, find, replacement), PlainReplace(source, find, replacement))
            << "round " << round << " find length " << find.size() << " source length " << source.size();
    }
}

// The 64-bit build has SSE2 in every processor it runs on: it always takes
// the vector scan, and the processor check has to say so.
TEST(FastStrings, VectorScanAvailableWhereTheBuildAssumesSse2)
{
#if defined(__x86_64__)
    EXPECT_TRUE(util::detail::VectorScanAvailable());
#else
    GTEST_SKIP() << "the processor is asked at run time";
#endif
}
