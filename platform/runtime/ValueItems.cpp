// Finding and setting the items of a value object, as the host does it:
// the reference host's services library and a C host (through the C
// interface) both come here.
#include "sharedrt/GbkText.h"
#include "sharedrt/RtError.h"
#include "sharedrt/SharedHeap.h"
#include "sharedrt/ValueLayout.h"

#include <cstring>

namespace rt {
namespace {

// Frees a cell that never reached an item.
struct CellGuard {
    TParamValue* cell;
    ~CellGuard() { FreeParamValue(cell); }
};

void ReleaseOldValue(ParamItem& item, ParamType newType, const TParamValue& newCell) noexcept
{
    TParamValue* old = item.Value;
    if (old == nullptr)
        return;
    const auto oldType = static_cast<ParamType>(item.ValueType);
    const bool sameObject = newType == ParamType::Object && old->ObjectValue == newCell.ObjectValue;
    if (oldType == ParamType::Object && !sameObject) {
        delete old->ObjectValue;
        old->ObjectValue = nullptr;
    }
    FreeParamValue(old);
    item.Value = nullptr;
}

std::string_view NameOf(const ParamItem& item) noexcept
{
    return std::string_view(reinterpret_cast<const char*>(item.Name + 1), item.Name[0]);
}

} // namespace

ParamItem* FindParamItem(const DataVO& vo, std::string_view name) noexcept
{
    for (std::int32_t i = 0; i < vo.Items->Count(); ++i) {
        ParamItem* item = nullptr;
        try {
            item = static_cast<ParamItem*>(vo.Items->Get(i));
        } catch (...) {
            return nullptr;
        }
        if (item != nullptr && GbkCompareIgnoreAsciiCase(NameOf(*item), name) == 0)
            return item;
    }
    return nullptr;
}

void SetParamItem(DataVO& vo, std::string_view name, ParamType type, TParamValue* cell)
{
    CellGuard guard{cell};
    if (name.size() > 255)
        throw Error("值对象项目名称超过255个字节：" + std::string(name.substr(0, GbkPrefixLength(name, 32))) + "...");
    if (ParamItem* item = FindParamItem(vo, name)) {
        ReleaseOldValue(*item, type, *cell);
        item->ValueType = static_cast<std::uint8_t>(type);
        item->Value = guard.cell;
        guard.cell = nullptr;
        return;
    }
    auto* item = static_cast<ParamItem*>(SharedHeap::AllocZeroed(sizeof(ParamItem)));
    item->Name[0] = static_cast<std::uint8_t>(name.size());
    std::memcpy(item->Name + 1, name.data(), name.size());
    item->ValueType = static_cast<std::uint8_t>(type);
    item->Value = cell;
    try {
        vo.Items->Add(item);
    } catch (...) {
        SharedHeap::Free(item);
        throw;
    }
    guard.cell = nullptr;
}

} // namespace rt
