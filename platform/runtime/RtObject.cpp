#include "sharedrt/RtObject.h"

#include "sharedrt/SharedHeap.h"

namespace rt {

RtObject::~RtObject() = default;

void* RtObject::operator new(std::size_t size) { return SharedHeap::Alloc(size); }

void RtObject::operator delete(void* p) noexcept { SharedHeap::Free(p); }

} // namespace rt
