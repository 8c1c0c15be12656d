#include "sharedrt/ValueLayout.h"

#include "sharedrt/SharedHeap.h"

#include <new>

#ifdef _WIN32
#include <windows.h>
#include <oleauto.h>
#endif

namespace rt {

DataVO::DataVO() : Items(new RtPtrList) {}

DataVO::~DataVO()
{
    for (std::int32_t i = 0; i < Items->Count(); ++i) {
        auto* item = static_cast<ParamItem*>(Items->Get(i));
        if (item == nullptr)
            continue;
        if (item->Value != nullptr && static_cast<ParamType>(item->ValueType) == ParamType::Object)
            delete item->Value->ObjectValue;
        FreeParamValue(item->Value);
        SharedHeap::Free(item);
    }
    delete Items;
}

TParamValue* NewParamValue()
{
    void* block = SharedHeap::AllocZeroed(sizeof(TParamValue));
    return new (block) TParamValue();
}

#ifdef _WIN32
static_assert(sizeof(VARIANT) == kVariantBytes && alignof(VARIANT) <= 8,
              "the value cell holds a whole VARIANT");
#endif

void ClearVariant(VariantBytes& variant) noexcept
{
#ifdef _WIN32
    VariantClear(reinterpret_cast<VARIANT*>(variant));
#endif
    for (auto& b : variant)
        b = 0;
}

void FreeParamValue(TParamValue* cell) noexcept
{
    if (cell == nullptr)
        return;
    cell->StringValue.Release();
    ClearVariant(cell->VariantValue);
    cell->~TParamValue();
    SharedHeap::Free(cell);
}

} // namespace rt
