#include "sharedrt/RtPtrList.h"

#include "sharedrt/RtError.h"
#include "sharedrt/SharedHeap.h"

#include <string>

namespace rt {

RtPtrList::~RtPtrList() { SharedHeap::Free(items_); }

void* RtPtrList::Get(std::int32_t i) const
{
    if (i < 0 || i >= count_)
        throw Error("List index out of bounds (" + std::to_string(i) + ")");
    return items_[i];
}

std::int32_t RtPtrList::Add(void* p)
{
    if (count_ == capacity_) {
        const std::int32_t grown = capacity_ + (capacity_ / 2 > 4 ? capacity_ / 2 : 4);
        items_ = static_cast<void**>(SharedHeap::Realloc(items_, sizeof(void*) * static_cast<std::size_t>(grown)));
        capacity_ = grown;
    }
    items_[count_] = p;
    return count_++;
}

void RtPtrList::Clear() noexcept
{
    SharedHeap::Free(items_);
    items_ = nullptr;
    count_ = 0;
    capacity_ = 0;
}

void* RtPtrList::operator new(std::size_t size) { return SharedHeap::Alloc(size); }

void RtPtrList::operator delete(void* p) noexcept { SharedHeap::Free(p); }

} // namespace rt
