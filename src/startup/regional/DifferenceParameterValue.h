#pragma once
// How a regional parameter's TYPE and VALUE texts become a typed value.
#include <cstdint>
#include <string_view>

namespace startup {

enum class ParameterKind { Text, Integer, Boolean, Float };

// "integer", "boolean" and "float" ignoring letter case; anything else,
// the empty type included, is text.
ParameterKind ParameterKindOf(std::string_view type) noexcept;

// A whole number; 0 when the text is not one ("12a" and "12 " give 0).
std::int32_t ParameterInteger(std::string_view value) noexcept;

// A number (non-zero is true, written with `decimalSeparator`), or "true" or
// "false" in any letter case; any other text is false, also one with
// blanks around it (" True ").
bool ParameterBoolean(std::string_view value, char decimalSeparator);

// A decimal number written with `decimalSeparator`; 0 when the text is not
// one, also one with blanks around it (" 1.5 ").
double ParameterFloat(std::string_view value, char decimalSeparator) noexcept;

} // namespace startup
