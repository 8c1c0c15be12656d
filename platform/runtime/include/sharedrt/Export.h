#pragma once
// Symbols of the shared runtime. In the product the runtime is SharedRt.dll,
// loaded once per process and used by the host and every module; the native
// test build links it statically.

#if defined(_WIN32) && defined(SHAREDRT_BUILDING)
#define SHAREDRT_API __declspec(dllexport)
#elif defined(_WIN32)
#define SHAREDRT_API __declspec(dllimport)
#else
#define SHAREDRT_API
#endif

#include <cstdint>

namespace rt {

// A window handle as the runtime stores it: pointer-wide (32 bits in the
// product), opaque in the OS-free core.
using WindowHandle = void*;

// A Boolean at the host boundary: one byte, 1 true, 0 false.
using Bool8 = std::uint8_t;

} // namespace rt
