// Code page 936 and UTF-8 over glibc's iconv, for the native build.
#include "HostText.h"

#include "sharedrt/RtError.h"

#include <iconv.h>

#include <cerrno>

namespace hostmodel {
namespace {

// `text` converted; a sequence that does not convert gives one '?' and the
// conversion goes on behind its first byte.
std::string Convert(std::string_view text, const char* from, const char* to)
{
    if (text.empty())
        return {};
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw rt::Error(std::string("iconv: no converter from ") + from + " to " + to);
    std::string out;
    out.reserve(text.size() * 3 / 2);
    char buffer[256];
    std::size_t pos = 0;
    while (pos < text.size()) {
        char* in = const_cast<char*>(text.data() + pos);
        std::size_t inLeft = text.size() - pos;
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const int error = errno;
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        pos = static_cast<std::size_t>(in - text.data());
        if (rc != static_cast<std::size_t>(-1))
            break;
        if (error == E2BIG)
            continue;
        out.push_back('?');
        ++pos;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string GbkToUtf8(std::string_view gbk) { return Convert(gbk, "CP936", "UTF-8"); }

std::string Utf8ToGbk(std::string_view utf8) { return Convert(utf8, "UTF-8", "CP936"); }

} // namespace hostmodel
