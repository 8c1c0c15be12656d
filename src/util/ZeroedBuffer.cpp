#include "util/ZeroedBuffer.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace util {

namespace {

// The block's handle in front of the address handed out: 4 bytes in the
// 32-bit product, 8 in the 64-bit build.
constexpr std::size_t kHandleBytes = sizeof(HLOCAL);

} // namespace

bool AllocZeroedBuffer(std::size_t size, void*& block) noexcept
{
    block = nullptr;
    if (size == 0)
        return true;
    if (size > SIZE_MAX - kHandleBytes)
        return false;
    rt::unique_hlocal handle(LocalAlloc(LHND, size + kHandleBytes));
    if (!handle)
        return false;
    auto* start = static_cast<unsigned char*>(LocalLock(handle.get()));
    if (start == nullptr)
        return false;
    const HLOCAL owned = handle.release();
    std::memcpy(start, &owned, kHandleBytes);
    block = start + kHandleBytes;
    return true;
}

void FreeZeroedBuffer(void* block) noexcept
{
    if (block == nullptr)
        return;
    HLOCAL handle;
    std::memcpy(&handle, static_cast<unsigned char*>(block) - kHandleBytes, kHandleBytes);
    LocalUnlock(handle);
    LocalFree(handle);
}

} // namespace util
