#pragma once
// The runtime's typed views of the value object's exchange records. The
// records themselves, with their sizes and offsets at both widths, are the
// contract header's (WscbsParamItem, WscbsParamValue in wscbs/wscbs.h);
// every field here is checked to sit where the contract puts it.
#include "sharedrt/Export.h"
#include "sharedrt/RtObject.h"
#include "sharedrt/RtPtrList.h"
#include "sharedrt/RtString.h"
#include "wscbs/wscbs.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rt {

// Type code of a value-object item (one byte).
enum class ParamType : std::uint8_t {
    String = WSCBS_PARAM_STRING,
    Integer = WSCBS_PARAM_INTEGER,
    Float = WSCBS_PARAM_FLOAT,
    Boolean = WSCBS_PARAM_BOOLEAN,
    Object = WSCBS_PARAM_OBJECT,    // the value object owns the object
    Pointer = WSCBS_PARAM_POINTER,  // borrowed memory, never released through the item
};

// Byte size of an OLE VARIANT: 16 on 32-bit Windows, 24 (8-aligned) on
// 64-bit Windows, where its record member is two pointers wide.
inline constexpr std::size_t kVariantBytes = WSCBS_VARIANT_BYTES;
using VariantBytes = std::uint8_t[kVariantBytes];

// Value cell, a new one for every assignment. 32 bytes in the 32-bit
// layout; in the 64-bit layout the string pointer widens to 8 bytes, the
// variant to 24 and the cell to 40, with no padding word.
struct TParamValue {
    RtString StringValue;                        // 0
#if UINTPTR_MAX == 0xFFFFFFFFu
    std::uint32_t Unused = 0;                    // 4
#endif
    alignas(8) VariantBytes VariantValue = {};   // 8: OLE VARIANT, left empty by modules
    union {                                      // 24 (64-bit: 32)
        std::int32_t IntegerValue;
        std::uint8_t BooleanValue;
        double FloatValue;
        void* PointerValue;
        RtObject* ObjectValue;
        std::uint8_t ScalarBytes[8];
    };

    TParamValue() : ScalarBytes{} {}
};

// Item record: 264 bytes in the 32-bit layout; in the 64-bit layout the
// cell pointer widens to 8 bytes at its natural offset 264, 272 in all.
struct ParamItem {
    std::uint8_t Name[256];                       // 0: length byte, then up to 255 characters
    std::uint8_t ValueType;                       // 256: a ParamType code
    std::uint8_t Unused[sizeof(void*) - 1];       // 257
    TParamValue* Value;                           // 260 (64-bit: 264)
};

// Each field where the contract's record has it.
#define SHAREDRT_SAME_FIELD(view, record, field, recordField)                              \
    static_assert(offsetof(view, field) == offsetof(record, recordField) &&               \
                  sizeof(static_cast<view*>(nullptr)->field) ==                         \
                      sizeof(static_cast<record*>(nullptr)->recordField))
static_assert(sizeof(TParamValue) == sizeof(WscbsParamValue));
SHAREDRT_SAME_FIELD(TParamValue, WscbsParamValue, StringValue, StringValue);
SHAREDRT_SAME_FIELD(TParamValue, WscbsParamValue, VariantValue, VariantValue);
SHAREDRT_SAME_FIELD(TParamValue, WscbsParamValue, IntegerValue, Scalar.IntegerValue);
SHAREDRT_SAME_FIELD(TParamValue, WscbsParamValue, BooleanValue, Scalar.BooleanValue);
SHAREDRT_SAME_FIELD(TParamValue, WscbsParamValue, FloatValue, Scalar.FloatValue);
SHAREDRT_SAME_FIELD(TParamValue, WscbsParamValue, PointerValue, Scalar.PointerValue);
SHAREDRT_SAME_FIELD(TParamValue, WscbsParamValue, ObjectValue, Scalar.ObjectValue);
static_assert(sizeof(ParamItem) == sizeof(WscbsParamItem));
SHAREDRT_SAME_FIELD(ParamItem, WscbsParamItem, Name, Name);
SHAREDRT_SAME_FIELD(ParamItem, WscbsParamItem, ValueType, ValueType);
SHAREDRT_SAME_FIELD(ParamItem, WscbsParamItem, Value, Value);

// The host's value object: a class reference (the object's dispatch table)
// and the list of item pointers. Host-owned: the host creates and destroys
// it; destroying it releases every item, cell, string, variant and owned
// object (type 7). Modules only look items up, read, add and replace.
class SHAREDRT_API DataVO : public RtObject {
public:
    DataVO();
    ~DataVO() override;

    RtPtrList* Items;
};

static_assert(sizeof(DataVO) == 2 * sizeof(void*));

// A fresh cell from the shared heap: empty string and variant, zero scalar.
SHAREDRT_API TParamValue* NewParamValue();
// Releases a cell's string and variant and frees its 32 bytes. The object
// or memory its scalar may point to is not touched. Null is ignored.
SHAREDRT_API void FreeParamValue(TParamValue* cell) noexcept;
// Empties an OLE variant (VariantClear in the product).
SHAREDRT_API void ClearVariant(VariantBytes& variant) noexcept;

// The host's side of the items, which host programs in C++ and the C
// interface (WscbsValueObject...) share.
// The first item whose name equals `name`, ASCII letters that begin a
// character compared without case; null when none.
SHAREDRT_API ParamItem* FindParamItem(const DataVO& vo, std::string_view name) noexcept;
// Adds the item `name` with `cell` at the end, or gives the existing item
// the new type and cell where it stands (keeping the name as first
// written), releasing the old cell: a type 7 object is destroyed unless the
// same object is set again as type 7; type 8 memory is left alone. The item
// takes the cell also when this throws. Names over 255 bytes are refused
// with rt::Error (they could never be found again).
SHAREDRT_API void SetParamItem(DataVO& vo, std::string_view name, ParamType type, TParamValue* cell);

} // namespace rt
