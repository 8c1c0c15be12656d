#pragma once
// Reading numbers out of configuration texts. Blanks (bytes <= 0x20) around
// the number are allowed; anything else makes the text no number.
#include <cstdint>
#include <string_view>

namespace text {

// A decimal whole number within 32 bits with an optional sign. True with
// `value` set; false, with `value` untouched, for any other text.
bool ParseWholeNumber(std::string_view text, std::int32_t& value) noexcept;

// A decimal number written with `decimalSeparator` (the system's number
// format): optional sign, digits, optionally the separator and more digits,
// optionally an exponent (e or E, optional sign, digits). At least one digit
// before the exponent. True with `value` set; false, with `value`
// untouched, for any other text and for a value beyond double's range.
bool ParseDecimalNumber(std::string_view text, char decimalSeparator, double& value) noexcept;

} // namespace text
