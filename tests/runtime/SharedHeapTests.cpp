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
