#pragma once
#include "sharedrt/Export.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rt {

// The reference-counted 8-bit string shared by host and modules.
//
// Layout of a non-empty string block in the shared heap:
//     int32 refCount | int32 length | chars[length] | NUL
// The string itself is one pointer to `chars`; the empty string is a null
// pointer. The pointer is stored in its bytes (four in the 32-bit product,
// eight in the 64-bit build) with an alignment of one, so
// the string can sit at any offset of a packed exchange record.
class SHAREDRT_API RtString {
public:
    RtString() noexcept = default;
    explicit RtString(std::string_view text);
    explicit RtString(const char* text) : RtString(std::string_view(text ? text : "")) {}
    RtString(const RtString& other) noexcept;
    RtString(RtString&& other) noexcept;
    RtString& operator=(const RtString& other) noexcept;
    RtString& operator=(RtString&& other) noexcept;
    RtString& operator=(std::string_view text);
    ~RtString();

    // Drops this reference; the string becomes empty.
    void Release() noexcept;

    std::size_t Length() const noexcept;
    bool Empty() const noexcept { return Chars() == nullptr; }
    // The characters, NUL-terminated; "" for the empty string.
    const char* CStr() const noexcept;
    // The raw pointer as the layout holds it (null when empty).
    const char* Chars() const noexcept;
    std::string_view View() const noexcept { return {CStr(), Length()}; }
    std::string ToStdString() const { return std::string(View()); }

    // References currently held on the block (0 for the empty string).
    std::int32_t RefCount() const noexcept;

    // Takes over a raw pointer as another reference to it (the count grows);
    // null gives the empty string. Used where a layout hands over the chars.
    static RtString FromChars(const char* chars) noexcept;

    friend bool operator==(const RtString& a, const RtString& b) noexcept { return a.View() == b.View(); }
    friend bool operator==(const RtString& a, std::string_view b) noexcept { return a.View() == b; }
    friend auto operator<=>(const RtString& a, const RtString& b) noexcept { return a.View() <=> b.View(); }

private:
    char* Get() const noexcept;
    void Set(char* chars) noexcept;

    unsigned char raw_[sizeof(char*)] = {};
};

static_assert(sizeof(RtString) == sizeof(void*));
static_assert(alignof(RtString) == 1);

} // namespace rt
