#pragma once
// The error catalogue record that a module publishes to the host as the
// pointer item "Global_Errlist": a counted array of packed records. The host
// reads the records by code; the module owns the array.
#include "sharedrt/RtString.h"

#include <cstddef>
#include <cstdint>

namespace rt {

// Packed at both widths: 29 bytes in the 32-bit layout; in the 64-bit
// layout the five strings widen to 8 bytes each, 49 bytes in all.
#pragma pack(push, 1)
struct TErrorMsg {
    std::int32_t SeqNo;          // 0: position in the catalogue, from 1
    std::int32_t Code;           // 4
    RtString Msg;                // 8
    RtString ReservedText1;      // 12 (64-bit: 16)
    RtString ReservedText2;      // 16 (64-bit: 24)
    std::uint8_t ReservedByte;   // 20 (64-bit: 32)
    RtString ModuleType;         // 21 (64-bit: 33)
    RtString InsideCode;         // 25 (64-bit: 41)
};
#pragma pack(pop)

static_assert(offsetof(TErrorMsg, Code) == 4);
static_assert(offsetof(TErrorMsg, Msg) == 8);
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(TErrorMsg) == 29);
static_assert(offsetof(TErrorMsg, ReservedText1) == 12);
static_assert(offsetof(TErrorMsg, ReservedText2) == 16);
static_assert(offsetof(TErrorMsg, ReservedByte) == 20);
static_assert(offsetof(TErrorMsg, ModuleType) == 21);
static_assert(offsetof(TErrorMsg, InsideCode) == 25);
#else
static_assert(sizeof(TErrorMsg) == 49);
static_assert(offsetof(TErrorMsg, ReservedText1) == 16);
static_assert(offsetof(TErrorMsg, ReservedText2) == 24);
static_assert(offsetof(TErrorMsg, ReservedByte) == 32);
static_assert(offsetof(TErrorMsg, ModuleType) == 33);
static_assert(offsetof(TErrorMsg, InsideCode) == 41);
#endif

// A counted record array: a 32-bit reference count and a 32-bit element
// count in front of the first record, at both widths. The published pointer addresses the
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
