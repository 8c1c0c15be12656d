#include "sharedrt/RtString.h"

#include "sharedrt/SharedHeap.h"

#include <cstring>

namespace rt {
namespace {

// The two words in front of the characters.
struct Header {
    std::int32_t refCount;
    std::int32_t length;
};

Header* HeaderOf(char* chars) noexcept { return reinterpret_cast<Header*>(chars) - 1; }

char* NewBlock(std::string_view text)
{
    auto* header = static_cast<Header*>(SharedHeap::Alloc(sizeof(Header) + text.size() + 1));
    header->refCount = 1;
    header->length = static_cast<std::int32_t>(text.size());
    char* chars = reinterpret_cast<char*>(header + 1);
    std::memcpy(chars, text.data(), text.size());
    chars[text.size()] = '\0';
    return chars;
}

void AddRef(char* chars) noexcept
{
    if (chars != nullptr)
        ++HeaderOf(chars)->refCount;
}

void DropRef(char* chars) noexcept
{
    if (chars != nullptr && --HeaderOf(chars)->refCount == 0)
        SharedHeap::Free(HeaderOf(chars));
}

} // namespace

char* RtString::Get() const noexcept
{
    char* p;
    std::memcpy(&p, raw_, sizeof p);
    return p;
}

void RtString::Set(char* chars) noexcept { std::memcpy(raw_, &chars, sizeof chars); }

RtString::RtString(std::string_view text)
{
    if (!text.empty())
        Set(NewBlock(text));
}

RtString::RtString(const RtString& other) noexcept
{
    char* chars = other.Get();
    AddRef(chars);
    Set(chars);
}

RtString::RtString(RtString&& other) noexcept
{
    Set(other.Get());
    other.Set(nullptr);
}

RtString& RtString::operator=(const RtString& other) noexcept
{
    char* chars = other.Get();
    AddRef(chars);  // before the drop: self-assignment keeps the block
    DropRef(Get());
    Set(chars);
    return *this;
}

RtString& RtString::operator=(RtString&& other) noexcept
{
    if (this != &other) {
        DropRef(Get());
        Set(other.Get());
        other.Set(nullptr);
    }
    return *this;
}

RtString& RtString::operator=(std::string_view text)
{
    char* chars = text.empty() ? nullptr : NewBlock(text);
    DropRef(Get());
    Set(chars);
    return *this;
}

RtString::~RtString() { DropRef(Get()); }

void RtString::Release() noexcept
{
    DropRef(Get());
    Set(nullptr);
}

std::size_t RtString::Length() const noexcept
{
    char* chars = Get();
    return chars ? static_cast<std::size_t>(HeaderOf(chars)->length) : 0;
}

const char* RtString::CStr() const noexcept
{
    char* chars = Get();
    return chars ? chars : "";
}

const char* RtString::Chars() const noexcept { return Get(); }

std::int32_t RtString::RefCount() const noexcept
{
    char* chars = Get();
    return chars ? HeaderOf(chars)->refCount : 0;
}

RtString RtString::FromChars(const char* chars) noexcept
{
    RtString s;
    char* p = const_cast<char*>(chars);
    AddRef(p);
    s.Set(p);
    return s;
}

} // namespace rt
