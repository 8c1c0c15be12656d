#include "ErrorMessages.h"

#include "ValueObjects.h"
#include "sharedrt/ErrorMsgLayout.h"

namespace hostmodel {
namespace {

// No catalogue has this many entries; a larger count is not a catalogue.
constexpr std::int32_t kMaxCatalogueEntries = 1'000'000;

} // namespace

std::optional<std::string> FindErrorMessage(const rt::DataVO* subAppVo, std::int32_t code)
{
    if (subAppVo == nullptr)
        return std::nullopt;
    const rt::ParamItem* item = FindItem(*subAppVo, "Global_Errlist");
    if (item == nullptr || item->Value == nullptr ||
        static_cast<rt::ParamType>(item->ValueType) != rt::ParamType::Pointer)
        return std::nullopt;
    const auto* first = static_cast<const rt::TErrorMsg*>(item->Value->PointerValue);
    const std::int32_t count = rt::CountedArrayLength(first);
    if (count <= 0 || count > kMaxCatalogueEntries)
        return std::nullopt;
    for (std::int32_t i = 0; i < count; ++i) {
        if (first[i].Code == code)
            return first[i].Msg.ToStdString();
    }
    return std::nullopt;
}

std::string InforMsgText(const std::optional<std::string>& registered, std::int32_t code, const std::string& text)
{
    std::string shown = registered ? *registered : "code " + std::to_string(code);
    if (!text.empty())
        shown += "\r\n" + text;
    return shown;
}

} // namespace hostmodel
