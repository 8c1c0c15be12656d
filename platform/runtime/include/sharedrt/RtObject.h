#pragma once
#include "sharedrt/Export.h"

#include <cstddef>

namespace rt {

// Base of every runtime object that may be handed between host and module
// and destroyed by the other side: a virtual destructor, and memory from the
// shared heap. An object stored under type 7 in a value object is one of
// these; destroying it is `delete`.
class SHAREDRT_API RtObject {
public:
    RtObject() = default;
    RtObject(const RtObject&) = delete;
    RtObject& operator=(const RtObject&) = delete;
    virtual ~RtObject();

    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;
};

} // namespace rt
