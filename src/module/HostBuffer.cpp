#include "module/HostBuffer.h"

#include "sharedrt/SharedHeap.h"
#include "sharedrt/GbkText.h"

#include <cstring>

namespace module {

std::string ReadHostText(char* const* hostBuffer)
{
    if (hostBuffer == nullptr || *hostBuffer == nullptr)
        return {};
    return std::string(*hostBuffer);
}

std::size_t HostBufferCapacity(const char* buffer, const std::string& originalText)
{
    if (buffer == nullptr)
        return 0;
    if (rt::SharedHeap::Owns(buffer))
        return rt::SharedHeap::BlockSize(buffer);
    return originalText.size() + 1;
}

void WriteHostText(char* const* hostBuffer, const std::string& text, std::size_t capacity)
{
    if (hostBuffer == nullptr || *hostBuffer == nullptr || capacity == 0)
        return;
    const std::size_t length = rt::GbkPrefixLength(text, capacity - 1);
    std::memcpy(*hostBuffer, text.data(), length);
    (*hostBuffer)[length] = '\0';
}

} // namespace module
