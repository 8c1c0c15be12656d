#pragma once
// Starting host functions by function code.
#include <cstddef>
#include <string>

namespace ui {

// Room of the parameter buffer handed to a host function: 499 bytes of text
// and the NUL.
inline constexpr std::size_t kParamBufferSize = 500;

// Asks the host whether the user may use the function and, when so, runs it
// with `owner` (a windowed control of the host, or null) as the parent of
// its window. `paramText` goes to the function in a zero-filled 500-byte
// buffer and is replaced by what the function left there.
//
// Throws rt::Error, calling nothing, when `paramText` has 500 bytes or
// more. Returns false at once, calling nothing else, when the function is
// not allowed; otherwise the host's result. Throws rt::Error, calling
// ExecuteFunc not, when the buffer cannot be had. The buffer is released whatever happens; an error raised by the host
// function continues to the caller.
bool RunHostFunction(void* owner, const std::string& functionCode, std::string& paramText);

} // namespace ui
