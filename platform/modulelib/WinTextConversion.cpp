// Code page 936 and UTF-8 through Windows' own conversion.
#include "HostText.h"

#include <windows.h>

namespace hostmodel {
namespace {

std::string Convert(std::string_view text, UINT from, UINT to)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(from, 0, text.data(), length, wide.data(), wideLength);
    const int outLength = WideCharToMultiByte(to, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    if (outLength <= 0)
        return {};
    std::string out(static_cast<std::size_t>(outLength), '\0');
    WideCharToMultiByte(to, 0, wide.data(), wideLength, out.data(), outLength, nullptr, nullptr);
    return out;
}

constexpr UINT kGbk = 936;

} // namespace

std::string GbkToUtf8(std::string_view gbk) { return Convert(gbk, kGbk, CP_UTF8); }

std::string Utf8ToGbk(std::string_view utf8) { return Convert(utf8, CP_UTF8, kGbk); }

} // namespace hostmodel
