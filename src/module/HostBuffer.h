#pragma once
// Reading and writing back the host's text buffer of the exports.
#include <cstddef>
#include <string>

namespace module {

// The host's text: follows the address of the host's pointer to the
// buffer and reads up to the NUL. Null at either step reads as empty.
std::string ReadHostText(char* const* hostBuffer);

// How many bytes (NUL included) may be written into the host's buffer:
// the block size when the buffer is a block of the shared heap, otherwise
// the length of `originalText` plus its NUL.
std::size_t HostBufferCapacity(const char* buffer, const std::string& originalText);

// Copies `text` into the host's buffer within `capacity` bytes, cut at a
// whole GBK character when it does not fit, always NUL-terminated. Does
// nothing when there is no buffer or no room at all.
void WriteHostText(char* const* hostBuffer, const std::string& text, std::size_t capacity);

} // namespace module
