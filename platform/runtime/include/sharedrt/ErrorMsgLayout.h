#pragma once
// The error catalogue record that a module publishes to the host as the
// pointer item "Global_Errlist": a counted array of packed records. The host
// reads the records by code; the module owns the array.
#include "sharedrt/RtString.h"

#include <cstddef>
#include <cstdint>

namespace rt {

#pragma pack(push, 1)
struct TErrorMsg {
    std::int32_t SeqNo;          // 0: position in the catalogue, from 1
    std::int32_t Code;           // 4
    RtString Msg;                // 8
    RtString ReservedText1;      // 12
    RtString ReservedText2;      // 16
    std::uint8_t ReservedByte;   // 20
    RtString ModuleType;         // 21
    RtString InsideCode;         // 25
};
#pragma pack(pop)

static_assert(sizeof(TErrorMsg) == 29);
static_assert(offsetof(TErrorMsg, Code) == 4);
static_assert(offsetof(TErrorMsg, Msg) == 8);
static_assert(offsetof(TErrorMsg, ReservedText1) == 12);
static_assert(offsetof(TErrorMsg, ReservedText2) == 16);
static_assert(offsetof(TErrorMsg, ReservedByte) == 20);
static_assert(offsetof(TErrorMsg, ModuleType) == 21);
static_assert(offsetof(TErrorMsg, InsideCode) == 25);

// A counted record array: a 32-bit reference count and a 32-bit element
// count in front of the first record. The published pointer addresses the
// first record; an empty array is a null pointer.
struct CountedArrayHeader {
    std::int32_t refCount;
    std::int32_t count;
};
static_assert(sizeof(CountedArrayHeader) == 8);

// The element count of a counted array, read from the word in front of its
// first record; 0 for null.
inline std::int32_t CountedArrayLength(const void* first) noexcept
{
    if (first == nullptr)
        return 0;
    return (static_cast<const CountedArrayHeader*>(first) - 1)->count;
}

} // namespace rt
