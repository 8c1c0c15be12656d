#include "ValueObjects.h"

#include "sharedrt/SharedHeap.h"

namespace hostmodel {

std::string ItemName(const rt::ParamItem& item)
{
    return std::string(reinterpret_cast<const char*>(item.Name + 1), item.Name[0]);
}

rt::ParamItem* FindItem(const rt::DataVO& vo, std::string_view name) { return rt::FindParamItem(vo, name); }

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
    rt::SetParamItem(vo, name, type, cell);
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
