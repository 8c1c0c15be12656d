#pragma once
// The value object's exchange layouts. Host and modules are built
// separately and touch the same items in memory, so every size and offset
// here is fixed and asserted.
#include "sharedrt/Export.h"
#include "sharedrt/RtObject.h"
#include "sharedrt/RtPtrList.h"
#include "sharedrt/RtString.h"

#include <cstddef>
#include <cstdint>

namespace rt {

// Type code of a value-object item (one byte).
enum class ParamType : std::uint8_t {
    String = 0,
    Integer = 1,
    Float = 2,
    Boolean = 3,
    Object = 7,   // the value object owns the object
    Pointer = 8,  // borrowed memory, never released through the item
};

// Value cell: 32 bytes, a new one for every assignment.
struct TParamValue {
    RtString StringValue;                 // 0
    std::uint32_t Unused = 0;             // 4
    std::uint8_t VariantValue[16] = {};   // 8: OLE VARIANT, left empty by modules
    union {                               // 24
        std::int32_t IntegerValue;
        std::uint8_t BooleanValue;
        double FloatValue;
        void* PointerValue;
        RtObject* ObjectValue;
        std::uint8_t ScalarBytes[8];
    };

    TParamValue() : ScalarBytes{} {}
};

// Item record: 264 bytes.
struct ParamItem {
    std::uint8_t Name[256];   // 0: length byte, then up to 255 characters
    std::uint8_t ValueType;   // 256: a ParamType code
    std::uint8_t Unused[3];   // 257
    TParamValue* Value;       // 260
};

static_assert(sizeof(TParamValue) == 32);
static_assert(offsetof(TParamValue, StringValue) == 0);
static_assert(offsetof(TParamValue, VariantValue) == 8);
static_assert(offsetof(TParamValue, IntegerValue) == 24);
static_assert(offsetof(TParamValue, BooleanValue) == 24);
static_assert(offsetof(TParamValue, FloatValue) == 24);
static_assert(offsetof(TParamValue, PointerValue) == 24);
static_assert(sizeof(ParamItem) == 264);
static_assert(offsetof(ParamItem, ValueType) == 256);
static_assert(offsetof(ParamItem, Value) == 260);

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
// Empties an OLE variant of 16 bytes (VariantClear in the product).
SHAREDRT_API void ClearVariant(std::uint8_t (&variant)[16]) noexcept;

} // namespace rt
