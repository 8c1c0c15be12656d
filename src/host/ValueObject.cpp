#include "host/ValueObject.h"

#include "sharedrt/GbkText.h"
#include "sharedrt/SharedHeap.h"
#include "text/TextRules.h"

#include <cstring>
#include <memory>

namespace host {
namespace {

// A stored name holds 255 bytes at most; the cut never leaves half a
// character behind.
std::string_view CutName(std::string_view name) noexcept
{
    return name.substr(0, rt::GbkPrefixLength(name, kMaxItemNameLength));
}

std::string_view ItemName(const rt::ParamItem& item) noexcept
{
    return {reinterpret_cast<const char*>(item.Name + 1), item.Name[0]};
}

const rt::TParamValue* CellOf(const rt::DataVO* vo, std::string_view name)
{
    const rt::ParamItem* item = FindItem(vo, name);
    return item ? item->Value : nullptr;
}

struct CellDeleter {
    void operator()(rt::TParamValue* cell) const noexcept { rt::FreeParamValue(cell); }
};
using CellOwner = std::unique_ptr<rt::TParamValue, CellDeleter>;

CellOwner NewCell() { return CellOwner(rt::NewParamValue()); }

} // namespace

bool SameItemName(std::string_view a, std::string_view b) noexcept
{
    return text::EqualsIgnoreCase(CutName(a), CutName(b));
}

std::string ItemNameKey(std::string_view name)
{
    return text::ToUpperAscii(CutName(name));
}

rt::ParamItem* FindItem(const rt::DataVO* vo, std::string_view name)
{
    const std::string_view wanted = CutName(name);
    const rt::RtPtrList& items = *vo->Items;
    for (std::int32_t i = 0; i < items.Count(); ++i) {
        auto* item = static_cast<rt::ParamItem*>(items.Get(i));
        if (item != nullptr && text::EqualsIgnoreCase(ItemName(*item), wanted))
            return item;
    }
    return nullptr;
}

std::string GetString(const rt::DataVO* vo, std::string_view name, std::string_view defaultValue)
{
    const rt::TParamValue* cell = CellOf(vo, name);
    if (cell == nullptr)
        return std::string(defaultValue);
    return cell->StringValue.ToStdString();
}

bool GetBoolean(const rt::DataVO* vo, std::string_view name, bool defaultValue)
{
    const rt::TParamValue* cell = CellOf(vo, name);
    if (cell == nullptr)
        return defaultValue;
    return cell->BooleanValue != 0;
}

void SetString(rt::DataVO* vo, std::string_view name, std::string_view value)
{
    CellOwner cell = NewCell();
    cell->StringValue = value;
    SetValue(vo, name, rt::ParamType::String, cell.release());
}

void SetInteger(rt::DataVO* vo, std::string_view name, std::int32_t value)
{
    CellOwner cell = NewCell();
    cell->IntegerValue = value;
    SetValue(vo, name, rt::ParamType::Integer, cell.release());
}

void SetFloat(rt::DataVO* vo, std::string_view name, double value)
{
    CellOwner cell = NewCell();
    cell->FloatValue = value;
    SetValue(vo, name, rt::ParamType::Float, cell.release());
}

void SetBoolean(rt::DataVO* vo, std::string_view name, bool value)
{
    CellOwner cell = NewCell();
    cell->BooleanValue = value ? 1 : 0;
    SetValue(vo, name, rt::ParamType::Boolean, cell.release());
}

void SetPointer(rt::DataVO* vo, std::string_view name, void* value)
{
    CellOwner cell = NewCell();
    cell->PointerValue = value;
    SetValue(vo, name, rt::ParamType::Pointer, cell.release());
}

void SetValue(rt::DataVO* vo, std::string_view name, rt::ParamType type, rt::TParamValue* cell)
{
    CellOwner newCell(cell);
    rt::ParamItem* item = FindItem(vo, name);
    if (item == nullptr) {
        const std::string_view stored = CutName(name);
        auto* added = static_cast<rt::ParamItem*>(rt::SharedHeap::AllocZeroed(sizeof(rt::ParamItem)));
        added->Name[0] = static_cast<std::uint8_t>(stored.size());
        std::memcpy(added->Name + 1, stored.data(), stored.size());
        added->ValueType = static_cast<std::uint8_t>(type);
        added->Value = newCell.get();
        try {
            vo->Items->Add(added);
        } catch (...) {
            rt::SharedHeap::Free(added);
            throw;
        }
        newCell.release();
        return;
    }

    // Reassigning the very object or pointer only swaps the cell; anything
    // else over an object item destroys the object.
    const rt::TParamValue* old = item->Value;
    const auto current = static_cast<rt::ParamType>(item->ValueType);
    const bool samePointer = old != nullptr && old->PointerValue == cell->PointerValue;
    bool releaseContents = false;
    if (current == rt::ParamType::Object)
        releaseContents = !(type == rt::ParamType::Object && samePointer);
    else if (current == rt::ParamType::Pointer)
        releaseContents = !(type == rt::ParamType::Pointer && samePointer);

    ReleaseValue(item, releaseContents);
    item->ValueType = static_cast<std::uint8_t>(type);
    item->Value = newCell.release();
}

void ReleaseValue(rt::ParamItem* item, bool releaseContents) noexcept
{
    rt::TParamValue* cell = item->Value;
    if (cell == nullptr)
        return;
    const auto type = static_cast<rt::ParamType>(item->ValueType);
    if (releaseContents && type == rt::ParamType::Object) {
        // Runtime objects free their memory through the shared heap and
        // their destructors do not throw.
        rt::RtObject* object = cell->ObjectValue;
        cell->ObjectValue = nullptr;
        delete object;
    } else if (releaseContents && type == rt::ParamType::Pointer) {
        cell->PointerValue = nullptr;
    }
    item->Value = nullptr;
    rt::FreeParamValue(cell);
}

} // namespace host
