#include "sharedrt/RtString.h"
#include "sharedrt/SharedHeap.h"

#include <gtest/gtest.h>

#include <cstring>

using rt::RtString;

TEST(RtString, EmptyIsANullPointer)
{
    RtString empty;
    EXPECT_EQ(empty.Chars(), nullptr);
    EXPECT_STREQ(empty.CStr(), "");
    EXPECT_EQ(RtString("").Chars(), nullptr);
    EXPECT_EQ(RtString(std::string_view()).Length(), 0u);
}

TEST(RtString, BlockHoldsCountAndLengthInFrontAndANulBehind)
{
    const std::string text("ab\0c", 4);  // embedded NUL kept by length
    RtString s(text);
    const char* chars = s.Chars();
    ASSERT_NE(chars, nullptr);
    std::int32_t words[2];
    std::memcpy(words, chars - 8, sizeof words);
    EXPECT_EQ(words[0], 1);
    EXPECT_EQ(words[1], 4);
    EXPECT_EQ(chars[4], '\0');
    EXPECT_EQ(s.ToStdString(), text);
    EXPECT_TRUE(rt::SharedHeap::Owns(chars - 8));
}

TEST(RtString, CopiesShareOneBlockAndTheLastReleaseFreesIt)
{
    RtString a("税款所属期");
    const char* block = a.Chars() - 8;
    {
        RtString b = a;
        RtString c;
        c = b;
        EXPECT_EQ(b.Chars(), a.Chars());
        EXPECT_EQ(a.RefCount(), 3);
        c = c;  // self-assignment keeps the block alive
        EXPECT_EQ(a.RefCount(), 3);
        EXPECT_EQ(c, a);
    }
    EXPECT_EQ(a.RefCount(), 1);
    a.Release();
    EXPECT_TRUE(a.Empty());
    EXPECT_FALSE(rt::SharedHeap::Owns(block));
}

TEST(RtString, AssigningTextReplacesOnlyThisReference)
{
    RtString a("old");
    RtString b = a;
    b = std::string_view("new");
    EXPECT_EQ(a, "old");
    EXPECT_EQ(b, "new");
    EXPECT_EQ(a.RefCount(), 1);
    b = std::string_view();
    EXPECT_TRUE(b.Empty());
}

TEST(RtString, MoveLeavesTheSourceEmpty)
{
    RtString a("x");
    RtString b(std::move(a));
    EXPECT_TRUE(a.Empty());
    EXPECT_EQ(b, "x");
    EXPECT_EQ(b.RefCount(), 1);
}

TEST(RtString, ComparesByBytes)
{
    EXPECT_EQ(RtString("abc"), RtString("abc"));
    EXPECT_NE(RtString("abc"), RtString("ABC"));
    EXPECT_LT(RtString("abc"), RtString("abd"));
    EXPECT_LT(RtString(), RtString("a"));
}

TEST(RtString, FromCharsTakesAnotherReference)
{
    RtString a("shared");
    RtString b = RtString::FromChars(a.Chars());
    EXPECT_EQ(a.RefCount(), 2);
    EXPECT_TRUE(RtString::FromChars(nullptr).Empty());
}

TEST(RtString, SitsUnalignedInAPackedRecord)
{
#pragma pack(push, 1)
    struct Packed {
        char pad;
        RtString text;
    };
#pragma pack(pop)
    static_assert(sizeof(Packed) == 1 + sizeof(void*));
    auto* rec = new Packed{};
    rec->text = std::string_view("unaligned");
    RtString copy = rec->text;
    EXPECT_EQ(copy, "unaligned");
    delete rec;
    EXPECT_EQ(copy.RefCount(), 1);
}
