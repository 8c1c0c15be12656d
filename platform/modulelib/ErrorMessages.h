#pragma once
// The host's reading of the error catalogue a sub-application publishes: a
// counted array of TErrorMsg records under the pointer item
// "Global_Errlist" of its value object.
#include "sharedrt/ValueLayout.h"

#include <cstdint>
#include <optional>
#include <string>

namespace hostmodel {

// The message of the first record with `code`; none when the value object
// is null, has no pointer item "Global_Errlist", the list is empty or
// implausible, or no record has the code.
std::optional<std::string> FindErrorMessage(const rt::DataVO* subAppVo, std::int32_t code);

// What InforMsg shows: the registered message, or "code N" without one;
// then `text` on a line of its own when it is not empty.
std::string InforMsgText(const std::optional<std::string>& registered, std::int32_t code, const std::string& text);

} // namespace hostmodel
