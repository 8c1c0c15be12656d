#include "HostText.h"

#include <gtest/gtest.h>

#include <cstdint>

using hostmodel::PointerForLog;

namespace {

const void* Address(std::uintptr_t value) { return reinterpret_cast<const void*>(value); }

} // namespace

TEST(HostText, PointerForLogShowsTheWholeAddressAtEitherWidth)
{
    EXPECT_EQ(PointerForLog(nullptr), "null");
    EXPECT_EQ(PointerForLog(Address(0x1234)), "0x00001234");
    EXPECT_EQ(PointerForLog(Address(0x89ABCDEFu)), "0x89abcdef");
    if constexpr (sizeof(void*) == 8) {
        // An address above 4 GB keeps its upper half.
        EXPECT_EQ(PointerForLog(Address(static_cast<std::uintptr_t>(0x7FF6123456789ABCull))), "0x7ff6123456789abc");
    }
}
