#include "util/ZeroedBuffer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

using namespace util;

TEST(ZeroedBuffer, BlockIsZeroFilledWithItsLockedHandleInFront)
{
    void* block = nullptr;
    ASSERT_TRUE(AllocZeroedBuffer(500, block));
    auto* bytes = static_cast<unsigned char*>(block);
    for (int i = 0; i < 500; ++i)
        ASSERT_EQ(bytes[i], 0) << i;
    // The handle fills the pointer-sized word in front: 4 bytes in the
    // 32-bit product, 8 in the 64-bit build.
    HLOCAL handle;
    std::memcpy(&handle, bytes - sizeof handle, sizeof handle);
    EXPECT_EQ(LocalHandle(bytes - sizeof handle), handle);
    EXPECT_GE(LocalSize(handle), 500u + sizeof handle);
    EXPECT_EQ(LocalFlags(handle) & LMEM_LOCKCOUNT, 1u);
    std::memset(bytes, 0xAB, 500);
    {
        const unique_zeroed_buffer owner(block);
    }
    EXPECT_EQ(LocalFlags(handle), LMEM_INVALID_HANDLE);
}

TEST(ZeroedBuffer, SizeZeroSucceedsWithoutBlockAndImpossibleSizeFails)
{
    void* block = &block;
    EXPECT_TRUE(AllocZeroedBuffer(0, block));
    EXPECT_EQ(block, nullptr);
    FreeZeroedBuffer(nullptr);
    block = &block;
    EXPECT_FALSE(AllocZeroedBuffer(SIZE_MAX - 1, block));
    EXPECT_EQ(block, nullptr);
}
