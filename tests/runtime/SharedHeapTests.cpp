#include "sharedrt/SharedHeap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using rt::SharedHeap;

TEST(SharedHeap, KnowsItsBlocksAndTheirSizes)
{
    void* p = SharedHeap::Alloc(37);
    EXPECT_TRUE(SharedHeap::Owns(p));
    EXPECT_EQ(SharedHeap::BlockSize(p), 37u);
    p = SharedHeap::Realloc(p, 500);
    EXPECT_EQ(SharedHeap::BlockSize(p), 500u);
    SharedHeap::Free(p);

    std::vector<char> foreign(64);
    EXPECT_FALSE(SharedHeap::Owns(foreign.data()));
    EXPECT_EQ(SharedHeap::BlockSize(foreign.data()), 0u);
    EXPECT_FALSE(SharedHeap::Owns(nullptr));
    EXPECT_EQ(SharedHeap::BlockSize(nullptr), 0u);
}

TEST(SharedHeap, ZeroedBlocksReadZero)
{
    auto* p = static_cast<unsigned char*>(SharedHeap::AllocZeroed(300));
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(p[i], 0) << i;
    SharedHeap::Free(p);
}

TEST(SharedHeap, ReallocKeepsContents)
{
    auto* p = static_cast<char*>(SharedHeap::Alloc(4));
    std::memcpy(p, "abc", 4);
    p = static_cast<char*>(SharedHeap::Realloc(p, 4000));
    EXPECT_STREQ(p, "abc");
    SharedHeap::Free(p);
    SharedHeap::Free(nullptr);
}

// What a host written in C gets: a block the module can measure, zeroed,
// and null rather than an exception when the heap cannot give one.
TEST(SharedHeap, CEntriesGiveBlocksOfTheSameHeap)
{
    auto* p = static_cast<unsigned char*>(SharedHeapAllocZeroed(1100));
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(SharedHeap::Owns(p));
    EXPECT_EQ(SharedHeap::BlockSize(p), 1100u);
    for (int i = 0; i < 1100; ++i)
        ASSERT_EQ(p[i], 0) << i;
    SharedHeapFree(p);
    SharedHeapFree(nullptr);

    void* q = SharedHeap::Alloc(8);
    SharedHeapFree(q);
    void* r = SharedHeapAllocZeroed(8);
    EXPECT_TRUE(SharedHeap::Owns(r));
    SharedHeap::Free(r);
#ifdef _WIN32
    EXPECT_EQ(SharedHeapAllocZeroed(static_cast<std::size_t>(-1) / 2), nullptr);
#endif
}
