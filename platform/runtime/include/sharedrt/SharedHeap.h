#pragma once
#include "sharedrt/Export.h"
#include "wscbs/wscbs.h"

#include <cstddef>

namespace rt {

// The one heap that the host and all modules share. A block allocated here
// by one binary may be released by another. Allocation failure throws
// std::bad_alloc.
class SHAREDRT_API SharedHeap {
public:
    // A block of `size` bytes (size 0 gives a valid, empty block).
    static void* Alloc(std::size_t size);
    // The same, zero-filled.
    static void* AllocZeroed(std::size_t size);
    // Grows or shrinks a block, keeping its contents; Realloc(nullptr, n) is
    // Alloc(n).
    static void* Realloc(void* block, std::size_t size);
    // Releases a block of this heap; null is ignored.
    static void Free(void* block);
    // True when `p` is the address of a live block of this heap.
    static bool Owns(const void* p);
    // The size requested for a live block of this heap; 0 for any other
    // address (including null).
    static std::size_t BlockSize(const void* p);
};

} // namespace rt

// The same heap for a host written in C: SharedHeapAllocZeroed and
// SharedHeapFree, declared with the runtime's other C functions in the
// contract header (included above). A host gives the module's exports a
// buffer of this heap, so that the module knows the buffer's size.
