#pragma once
// Byte-level facts about UTF-8 text.
#include <cstddef>
#include <string>
#include <string_view>

namespace config {

// The length (1-4) of the well-formed UTF-8 sequence at the start of
// `text`; 0 when the text is empty or does not start with one (a stray
// continuation byte, an overlong form, a surrogate, a value above U+10FFFF,
// or a truncated sequence).
std::size_t Utf8SequenceLength(std::string_view text) noexcept;

// True when all of `text` is well-formed UTF-8 (the empty text is).
bool IsValidUtf8(std::string_view text) noexcept;

// Appends the UTF-8 form of a Unicode scalar value. False, with nothing
// appended, for a surrogate or a value above U+10FFFF.
bool AppendUtf8(std::string& out, char32_t codePoint);

} // namespace config
