#include "ValueObjects.h"

#include "HostText.h"
#include "sharedrt/RtError.h"
#include "sharedrt/SharedHeap.h"

#include <cstring>

namespace hostmodel {
namespace {

// Frees a cell that never reached an item.
struct CellGuard {
    rt::TParamValue* cell;
    ~CellGuard() { rt::FreeParamValue(cell); }
};

void ReleaseOldValue(rt::ParamItem& item, rt::ParamType newType, const rt::TParamValue& newCell) noexcept
{
    rt::TParamValue* old = item.Value;
    if (old == nullptr)
        return;
    const auto oldType = static_cast<rt::ParamType>(item.ValueType);
    const bool sameObject = newType == rt::ParamType::Object && old->ObjectValue == newCell.ObjectValue;
    if (oldType == rt::ParamType::Object && !sameObject) {
        delete old->ObjectValue;
        old->ObjectValue = nullptr;
    }
    rt::FreeParamValue(old);
    item.Value = nullptr;
}

} // namespace

std::string ItemName(const rt::ParamItem& item)
{
    return std::string(reinterpret_cast<const char*>(item.Name + 1), item.Name[0]);
}

rt::ParamItem* FindItem(const rt::DataVO& vo, std::string_view name)
{
    for (std::int32_t i = 0; i < vo.Items->Count(); ++i) {
        auto* item = static_cast<rt::ParamItem*>(vo.Items->Get(i));
        if (item != nullptr && EqualsIgnoringAsciiCase(ItemName(*item), name))
            return item;
    }
    return nullptr;
}

std::optional<std::string> ReadString(const rt::DataVO& vo, std::string_view name)
{
    const rt::ParamItem* item = FindItem(vo, name);
    if (item == nullptr)
        return std::nullopt;
    if (item->Value == nullptr)
        return std::string();
    return item->Value->StringValue.ToStdString();
}

void SetValue(rt::DataVO& vo, std::string_view name, rt::ParamType type, rt::TParamValue* cell)
{
    CellGuard guard{cell};
    if (name.size() > 255)
        throw rt::Error("值对象项目名称超过255个字节：" + std::string(name.substr(0, rt::GbkPrefixLength(name, 32))) + "...");
    if (rt::ParamItem* item = FindItem(vo, name)) {
        ReleaseOldValue(*item, type, *cell);
        item->ValueType = static_cast<std::uint8_t>(type);
        item->Value = guard.cell;
        guard.cell = nullptr;
        return;
    }
    auto* item = static_cast<rt::ParamItem*>(rt::SharedHeap::AllocZeroed(sizeof(rt::ParamItem)));
    item->Name[0] = static_cast<std::uint8_t>(name.size());
    std::memcpy(item->Name + 1, name.data(), name.size());
    item->ValueType = static_cast<std::uint8_t>(type);
    item->Value = cell;
    try {
        vo.Items->Add(item);
    } catch (...) {
        rt::SharedHeap::Free(item);
        throw;
    }
    guard.cell = nullptr;
}

void SetString(rt::DataVO& vo, std::string_view name, std::string_view value)
{
    rt::TParamValue* cell = rt::NewParamValue();
    try {
        cell->StringValue = value;
    } catch (...) {
        rt::FreeParamValue(cell);
        throw;
    }
    SetValue(vo, name, rt::ParamType::String, cell);
}

} // namespace hostmodel
