#include "module/HostBuffer.h"

#include "sharedrt/SharedHeap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace module;

namespace {

// A host buffer from the shared heap, as the reference shell allocates it.
struct HeapBuffer {
    explicit HeapBuffer(std::size_t size, const char* text)
        : chars(static_cast<char*>(rt::SharedHeap::AllocZeroed(size)))
    {
        std::strncpy(chars, text, size - 1);
    }
    ~HeapBuffer() { rt::SharedHeap::Free(chars); }
    char* chars;
};

} // namespace

TEST(HostBuffer, ReadsThroughTheAddressOfTheHostPointer)
{
    char text[] = "a=1;b=2";
    char* hostPointer = text;
    EXPECT_EQ(ReadHostText(&hostPointer), "a=1;b=2");
    char* none = nullptr;
    EXPECT_EQ(ReadHostText(&none), "");
    EXPECT_EQ(ReadHostText(nullptr), "");
}

TEST(HostBuffer, SharedHeapBlocksAreBoundedByTheirSize)
{
    HeapBuffer buffer(64, "a=1");
    EXPECT_EQ(HostBufferCapacity(buffer.chars, "a=1"), 64u);
    char local[16] = "a=1";
    EXPECT_EQ(HostBufferCapacity(local, "a=1"), 4u);
    EXPECT_EQ(HostBufferCapacity(nullptr, "a=1"), 0u);
}

TEST(HostBuffer, WriteBackNeverPassesTheCapacity)
{
    HeapBuffer buffer(12, "x");
    char* hostPointer = buffer.chars;
    std::memset(buffer.chars, '#', 12);
    WriteHostText(&hostPointer, "ResultMsgStr=too long for this", 8);
    EXPECT_STREQ(buffer.chars, "ResultM");
    EXPECT_EQ(buffer.chars[8], '#');  // nothing written past the bound
}

TEST(HostBuffer, WriteBackCutsAtAWholeGbkCharacter)
{
    char buffer[16];
    char* hostPointer = buffer;
    // "ab" then two double-byte characters; 5 bytes of room for text would
    // split the second character.
    WriteHostText(&hostPointer, "ab\xB4\xED\xCE\xF3", 6);
    EXPECT_STREQ(buffer, "ab\xB4\xED");
    WriteHostText(&hostPointer, "ab\xB4\xED\xCE\xF3", 7);
    EXPECT_STREQ(buffer, "ab\xB4\xED\xCE\xF3");
}

TEST(HostBuffer, TextThatFitsIsCopiedWhole)
{
    HeapBuffer buffer(256, "a=1");
    char* hostPointer = buffer.chars;
    const std::string text = "a=1;ResultMsgStr=\xB4\xED\xCE\xF3";
    WriteHostText(&hostPointer, text, HostBufferCapacity(buffer.chars, "a=1"));
    EXPECT_EQ(std::string(buffer.chars), text);
}

TEST(HostBuffer, NoRoomOrNoBufferWritesNothing)
{
    char* none = nullptr;
    WriteHostText(&none, "text", 10);
    WriteHostText(nullptr, "text", 10);
    char one[1] = {'#'};
    char* hostPointer = one;
    WriteHostText(&hostPointer, "text", 0);
    EXPECT_EQ(one[0], '#');
    WriteHostText(&hostPointer, "text", 1);
    EXPECT_EQ(one[0], '\0');
}
