#pragma once
// The host's side of the value object: creating one, finding, reading and
// setting items. Destruction (with every item, cell, string, variant and
// owned object) is the runtime's DataVO destructor.
#include "sharedrt/ValueLayout.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace hostmodel {

// An item's name as text.
std::string ItemName(const rt::ParamItem& item);

// The first item whose name equals `name` ignoring ASCII case; null when none.
rt::ParamItem* FindItem(const rt::DataVO& vo, std::string_view name);

// The string cell of the item `name`, whatever its type; none when absent.
std::optional<std::string> ReadString(const rt::DataVO& vo, std::string_view name);

// Adds the item `name` with `cell`, or gives the existing item the new type
// and cell, releasing the old cell: a type 7 object is destroyed unless the
// same object is set again as type 7; type 8 memory is left alone. The item
// takes the cell also when this throws. Names over 255 bytes are refused
// with rt::Error (they could never be found again).
void SetValue(rt::DataVO& vo, std::string_view name, rt::ParamType type, rt::TParamValue* cell);

void SetString(rt::DataVO& vo, std::string_view name, std::string_view value);

} // namespace hostmodel
