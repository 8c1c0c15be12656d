#pragma once
// Byte-level facts about GBK text (code page 936), shared by the host and
// the modules.
#include "sharedrt/Export.h"

#include <cstddef>
#include <string_view>

namespace rt {

// True when `byte` starts a double-byte GBK character (0x81-0xFE).
constexpr bool IsGbkLeadByte(unsigned char byte) noexcept { return byte >= 0x81 && byte <= 0xFE; }

// The length of the longest prefix of `text` that is at most `maxBytes`
// long and does not split a double-byte character.
SHAREDRT_API std::size_t GbkPrefixLength(std::string_view text, std::size_t maxBytes) noexcept;

} // namespace rt
