#pragma once
// The module's operations on the host's value objects: find, read, add and
// replace named, typed items in the layout shared with the host. The value
// object itself is the host's: the module never creates, copies or destroys
// one. Items and cells the module adds come from the shared heap and are
// released by the host with the value object.
//
// Names compare ignoring the case of the ASCII letters only; every other
// byte (GBK double-byte characters included) must match exactly. Names are
// cut to 255 bytes at a whole character, for the lookup as well as for
// storing, so setting the same long name twice replaces one item.
#include "sharedrt/ValueLayout.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace host {

inline constexpr std::size_t kMaxItemNameLength = 255;

// True when both names find the same item: equal ignoring the case of the
// ASCII letters after each is cut to 255 bytes.
bool SameItemName(std::string_view a, std::string_view b) noexcept;

// A key of an item name: SameItemName(a, b) exactly when the keys of a and
// b are equal.
std::string ItemNameKey(std::string_view name);

// The first item of that name, or null.
rt::ParamItem* FindItem(const rt::DataVO* vo, std::string_view name);

// The item's cell text whatever its type (an integer item reads as its
// cell's empty string); `defaultValue` when there is no such item or its
// cell cannot be read.
std::string GetString(const rt::DataVO* vo, std::string_view name, std::string_view defaultValue);

// The byte at offset 24 of the item's cell, whatever its type;
// `defaultValue` when there is no such item or its cell cannot be read.
bool GetBoolean(const rt::DataVO* vo, std::string_view name, bool defaultValue);

// Setters: a new cell holding the value, stored under the name (replacing
// the cell of an existing item in place, or appending a new item).
void SetString(rt::DataVO* vo, std::string_view name, std::string_view value);
void SetInteger(rt::DataVO* vo, std::string_view name, std::int32_t value);
void SetFloat(rt::DataVO* vo, std::string_view name, double value);
void SetBoolean(rt::DataVO* vo, std::string_view name, bool value);
// Type 8: the memory stays the caller's; replacing the item never frees it.
void SetPointer(rt::DataVO* vo, std::string_view name, void* value);

// The common path of all setters; takes ownership of `cell`. An existing
// item keeps its position and the name under which it was first added.
void SetValue(rt::DataVO* vo, std::string_view name, rt::ParamType type, rt::TParamValue* cell);

// Disposes of an item's current cell. With `releaseContents`, an owned
// object (type 7) is destroyed and a pointer (type 8) is cleared, never
// freed. Faults here are ignored.
void ReleaseValue(rt::ParamItem* item, bool releaseContents) noexcept;

} // namespace host
