// The native build's converter, over glibc's iconv.
#include "text/GbkConverter.h"

#include "text/Utf8Text.h"

#include "sharedrt/RtError.h"

#include <iconv.h>

#include <cerrno>

namespace text {
namespace {

class IconvGbkConverter final : public GbkConverter {
public:
    std::string Utf8ToGbk(std::string_view utf8) const override
    {
        // One descriptor per thread, opened once (opening costs more than
        // converting a short text); its shift state is reset for each call.
        thread_local const Descriptor descriptor;
        iconv_t cd = descriptor.cd;
        if (cd == reinterpret_cast<iconv_t>(-1))
            throw rt::Error("iconv: no UTF-8 to CP936 converter");
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.reserve(utf8.size());
        char buffer[256];
        std::size_t pos = 0;
        while (pos < utf8.size()) {
            char* in = const_cast<char*>(utf8.data() + pos);
            std::size_t inLeft = utf8.size() - pos;
            char* outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            pos = static_cast<std::size_t>(in - utf8.data());
            if (rc != static_cast<std::size_t>(-1))
                break;
            if (error == E2BIG)
                continue;
            // Unmappable character or invalid sequence: one '?' for it.
            out.push_back('?');
            const std::size_t width = Utf8SequenceLength(utf8.substr(pos));
            pos += width == 0 ? 1 : width;
        }
        return out;
    }

private:
    struct Descriptor {
        iconv_t cd = iconv_open("CP936", "UTF-8");
        Descriptor() = default;
        Descriptor(const Descriptor&) = delete;
        Descriptor& operator=(const Descriptor&) = delete;
        ~Descriptor()
        {
            if (cd != reinterpret_cast<iconv_t>(-1))
                iconv_close(cd);
        }
    };
};

} // namespace

std::vector<char16_t> DecodeCodePage936()
{
    iconv_t cd = iconv_open("UTF-16LE", "CP936");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw rt::Error("iconv: no CP936 to UTF-16 converter");
    auto table = DecodeEveryGbkSequence([&](const char* bytes, std::size_t length) -> char16_t {
        char* in = const_cast<char*>(bytes);
        unsigned char unit[4];
        char* out = reinterpret_cast<char*>(unit);
        std::size_t outLeft = sizeof unit;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &in, &length, &out, &outLeft) != static_cast<std::size_t>(-1) && length == 0 &&
            outLeft == 2)
            return static_cast<char16_t>(unit[0] | (unit[1] << 8));
        return 0;
    });
    iconv_close(cd);
    return table;
}

const GbkConverter& SystemGbkConverter()
{
    static const IconvGbkConverter converter;
    return converter;
}

} // namespace text
