#include "sharedrt/SharedHeap.h"

#include <cstring>
#include <new>

#ifdef _WIN32
#include <windows.h>

namespace rt {
namespace {

// One private heap for the whole process; SharedRt.dll is loaded once, so
// every binary that allocates here gets the same heap.
HANDLE Heap()
{
    static const HANDLE heap = [] {
        HANDLE h = HeapCreate(0, 0, 0);
        if (h == nullptr)
            throw std::bad_alloc();
        return h;
    }();
    return heap;
}

} // namespace

void* SharedHeap::Alloc(std::size_t size)
{
    void* p = HeapAlloc(Heap(), 0, size);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void* SharedHeap::AllocZeroed(std::size_t size)
{
    void* p = HeapAlloc(Heap(), HEAP_ZERO_MEMORY, size);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void* SharedHeap::Realloc(void* block, std::size_t size)
{
    if (block == nullptr)
        return Alloc(size);
    void* p = HeapReAlloc(Heap(), 0, block, size);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}

void SharedHeap::Free(void* block)
{
    if (block != nullptr)
        HeapFree(Heap(), 0, block);
}

bool SharedHeap::Owns(const void* p)
{
    return p != nullptr && HeapValidate(Heap(), 0, p) != FALSE;
}

std::size_t SharedHeap::BlockSize(const void* p)
{
    if (!Owns(p))
        return 0;
    const SIZE_T size = HeapSize(Heap(), 0, p);
    return size == static_cast<SIZE_T>(-1) ? 0 : size;
}

} // namespace rt

#else // the native test build: the C library's heap, with a record of blocks

#include <cstdlib>
#include <mutex>
#include <unordered_map>

namespace rt {
namespace {

struct BlockRecord {
    std::mutex lock;
    std::unordered_map<const void*, std::size_t> sizes;
};

BlockRecord& Blocks()
{
    static BlockRecord record;
    return record;
}

void* Remember(void* p, std::size_t size)
{
    if (p == nullptr)
        throw std::bad_alloc();
    BlockRecord& blocks = Blocks();
    std::lock_guard guard(blocks.lock);
    blocks.sizes[p] = size;
    return p;
}

} // namespace

void* SharedHeap::Alloc(std::size_t size) { return Remember(std::malloc(size ? size : 1), size); }

void* SharedHeap::AllocZeroed(std::size_t size) { return Remember(std::calloc(1, size ? size : 1), size); }

void* SharedHeap::Realloc(void* block, std::size_t size)
{
    if (block == nullptr)
        return Alloc(size);
    {
        BlockRecord& blocks = Blocks();
        std::lock_guard guard(blocks.lock);
        blocks.sizes.erase(block);
    }
    return Remember(std::realloc(block, size ? size : 1), size);
}

void SharedHeap::Free(void* block)
{
    if (block == nullptr)
        return;
    {
        BlockRecord& blocks = Blocks();
        std::lock_guard guard(blocks.lock);
        blocks.sizes.erase(block);
    }
    std::free(block);
}

bool SharedHeap::Owns(const void* p)
{
    BlockRecord& blocks = Blocks();
    std::lock_guard guard(blocks.lock);
    return p != nullptr && blocks.sizes.count(p) != 0;
}

std::size_t SharedHeap::BlockSize(const void* p)
{
    BlockRecord& blocks = Blocks();
    std::lock_guard guard(blocks.lock);
    const auto it = blocks.sizes.find(p);
    return it == blocks.sizes.end() ? 0 : it->second;
}

} // namespace rt
#endif

extern "C" void* SharedHeapAllocZeroed(std::size_t size)
{
    try {
        return rt::SharedHeap::AllocZeroed(size);
    } catch (...) {
        return nullptr;
    }
}

extern "C" void SharedHeapFree(void* block)
{
    rt::SharedHeap::Free(block);
}
