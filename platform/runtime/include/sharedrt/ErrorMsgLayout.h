#pragma once
// The runtime's typed view of the error catalogue record that a module
// publishes to the host as the pointer item "Global_Errlist": a counted
// array of packed records. The host reads the records by code; the module
// owns the array. The record and its offsets at both widths are the
// contract header's (WscbsErrorMsg in wscbs/wscbs.h); each field here is
// checked against it.
#include "sharedrt/RtString.h"
#include "sharedrt/ValueLayout.h"

#include <cstddef>
#include <cstdint>

namespace rt {

// Packed at both widths, as the contract's record.
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

static_assert(sizeof(TErrorMsg) == sizeof(WscbsErrorMsg));
SHAREDRT_SAME_FIELD(TErrorMsg, WscbsErrorMsg, SeqNo, SeqNo);
SHAREDRT_SAME_FIELD(TErrorMsg, WscbsErrorMsg, Code, Code);
SHAREDRT_SAME_FIELD(TErrorMsg, WscbsErrorMsg, Msg, Msg);
SHAREDRT_SAME_FIELD(TErrorMsg, WscbsErrorMsg, ReservedText1, ReservedText1);
SHAREDRT_SAME_FIELD(TErrorMsg, WscbsErrorMsg, ReservedText2, ReservedText2);
SHAREDRT_SAME_FIELD(TErrorMsg, WscbsErrorMsg, ReservedByte, ReservedByte);
SHAREDRT_SAME_FIELD(TErrorMsg, WscbsErrorMsg, ModuleType, ModuleType);
SHAREDRT_SAME_FIELD(TErrorMsg, WscbsErrorMsg, InsideCode, InsideCode);

// A counted record array: the contract's header (32-bit reference count,
// 32-bit element count) in front of the first record, at both widths. The
// published pointer addresses the first record; an empty array is a null
// pointer.
using CountedArrayHeader = WscbsCountedArrayHeader;

// The element count of a counted array, read from the word in front of its
// first record; 0 for null.
inline std::int32_t CountedArrayLength(const void* first) noexcept
{
    if (first == nullptr)
        return 0;
    return (static_cast<const CountedArrayHeader*>(first) - 1)->Count;
}

} // namespace rt
