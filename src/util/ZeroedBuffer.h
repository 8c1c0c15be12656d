#pragma once
// Zero-filled memory blocks from the operating system's local heap, for
// parameter buffers handed to host functions. The block's handle is kept in
// the pointer-sized word in front of the address handed out (4 bytes in the
// 32-bit product).
#include "sharedrt/UniqueHandle.h"

#include <cstddef>

namespace util {

// On success, `block` is the address of `size` zero bytes (null for size 0,
// which also succeeds). On failure, `block` is null and nothing is held.
// Release a block with FreeZeroedBuffer or hold it in a unique_zeroed_buffer.
bool AllocZeroedBuffer(std::size_t size, void*& block) noexcept;

// Releases a block from AllocZeroedBuffer; nothing for null.
void FreeZeroedBuffer(void* block) noexcept;

// Owner of one block: released whatever way the scope is left.
using unique_zeroed_buffer = rt::UniqueHandle<void*, FreeZeroedBuffer, rt::handle_detail::Null<void*>>;

} // namespace util
