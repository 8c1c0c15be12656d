#pragma once
#include "sharedrt/Export.h"

#include <cstdint>

namespace rt {

// An ordered list of untyped pointers, the list object behind a value
// object's `Items`. Its storage comes from the shared heap, so that host and
// module can both append. Layout (shared): items, count, capacity; 12 bytes
// in the 32-bit product, 16 in the 64-bit build, where the items pointer
// widens.
class SHAREDRT_API RtPtrList {
public:
    RtPtrList() noexcept = default;
    RtPtrList(const RtPtrList&) = delete;
    RtPtrList& operator=(const RtPtrList&) = delete;
    ~RtPtrList();

    std::int32_t Count() const noexcept { return count_; }
    // Element i (0-based); throws rt::Error when i is out of range.
    void* Get(std::int32_t i) const;
    // Appends and returns the new element's index; grows the storage by
    // half (at least 4) when full. Allocation failure throws std::bad_alloc.
    std::int32_t Add(void* p);
    // Drops every element (the pointed-to memory is the caller's).
    void Clear() noexcept;

    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;

private:
    void** items_ = nullptr;
    std::int32_t count_ = 0;
    std::int32_t capacity_ = 0;
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(RtPtrList) == 12);
#else
static_assert(sizeof(RtPtrList) == 16);
#endif

} // namespace rt
