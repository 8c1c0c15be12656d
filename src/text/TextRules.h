#pragma once
// The text rules that every layer of the module shares: what trimming
// removes, how letter case is ignored, and how a short text is padded.
// Text is GBK bytes; these rules never split or change a double-byte
// character: case folding touches only the ASCII letters that begin a
// character (the shared runtime's rule), and GBK trail bytes are never
// <= 0x20, so trimming cannot cut one.
#include <string>
#include <string_view>

namespace text {

// True for the bytes that trimming removes: 0x20 (space) and every byte below.
constexpr bool IsBlankByte(unsigned char byte) noexcept { return byte <= 0x20; }

// The text without its leading and trailing bytes <= 0x20.
std::string TrimText(std::string_view text);

// The text with its ASCII letters folded to upper case; a GBK trail byte
// is never a letter.
std::string ToUpperAscii(std::string_view text);

// Byte-wise equality after ToUpperAscii.
bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept;

// Byte-wise ordering (bytes compared unsigned) after ToUpperAscii:
// negative, zero or positive like strcmp.
int CompareIgnoreCase(std::string_view a, std::string_view b) noexcept;

enum class PadSide { Left, Right };

// The text trimmed, with `fill` added on `side` once for every step from the
// length of the untrimmed text up to width - 1. A text at least `width` long
// is returned trimmed and never cut.
std::string PadText(std::string_view text, int width, PadSide side, char fill);

// PadText on the left with '0': "7" at width 2 gives "07".
std::string PadLeftWithZeros(std::string_view text, int width);

} // namespace text
