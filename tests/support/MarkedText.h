#pragma once
// GBK text saved as a file with a byte-order mark would hold it: UTF-8 or
// UTF-16 in either byte order, the mark first; converted by the system's
// code page 936.
#include <windows.h>

#include <string>

namespace testing_support {

inline constexpr const char kUtf8Mark[] = "\xEF\xBB\xBF";
inline constexpr const char kUtf16LeMark[] = "\xFF\xFE";
inline constexpr const char kUtf16BeMark[] = "\xFE\xFF";

// `gbk` as the encoding `mark` names, the mark first; as it is for no mark.
inline std::string MarkedText(const std::string& gbk, const std::string& mark)
{
    if (mark.empty())
        return gbk;
    std::wstring wide(gbk.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    if (mark == kUtf8Mark) {
        std::string utf8(wide.size() * 3, '\0');
        utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                                 utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                                                 nullptr)));
        return mark + utf8;
    }
    std::string bytes = mark;
    for (const wchar_t c : wide) {
        const char low = static_cast<char>(c & 0xFF);
        const char high = static_cast<char>((c >> 8) & 0xFF);
        bytes += mark == kUtf16LeMark ? std::string {low, high} : std::string {high, low};
    }
    return bytes;
}

} // namespace testing_support
