// The product's converter: UTF-8 to UTF-16 to code page 936 through Windows.
#include "text/GbkConverter.h"

#include <windows.h>

#include "sharedrt/RtError.h"

#include <vector>

namespace text {
namespace {

constexpr UINT kGbkCodePage = 936;

// Code page 936 has no character outside the basic plane, and Windows would
// mark each half of a surrogate pair: one '?' per character instead. Returns
// the new length.
int MarkSupplementaryCharacters(std::vector<wchar_t>& wide)
{
    std::size_t out = 0;
    for (std::size_t in = 0; in < wide.size(); ++in) {
        const wchar_t unit = wide[in];
        if (unit >= 0xD800 && unit <= 0xDBFF && in + 1 < wide.size() && wide[in + 1] >= 0xDC00 &&
            wide[in + 1] <= 0xDFFF) {
            wide[out++] = L'?';
            ++in;
        } else {
            wide[out++] = unit;
        }
    }
    wide.resize(out);
    return static_cast<int>(out);
}

class WinGbkConverter final : public GbkConverter {
public:
    std::string Utf8ToGbk(std::string_view utf8) const override
    {
        if (utf8.empty())
            return {};
        const int inLength = static_cast<int>(utf8.size());
        int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, nullptr, 0);
        if (wideLength <= 0)
            throw rt::Error("UTF-8 text cannot be converted");
        std::vector<wchar_t> wide(static_cast<std::size_t>(wideLength));
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, wide.data(), wideLength);
        wideLength = MarkSupplementaryCharacters(wide);
        const int outLength =
            WideCharToMultiByte(kGbkCodePage, 0, wide.data(), wideLength, nullptr, 0, "?", nullptr);
        if (outLength <= 0)
            throw rt::Error("text cannot be converted to code page 936");
        std::string out(static_cast<std::size_t>(outLength), '\0');
        WideCharToMultiByte(kGbkCodePage, 0, wide.data(), wideLength, out.data(), outLength, "?", nullptr);
        return out;
    }
};

char16_t DecodeGbkSequence(const char* bytes, std::size_t length)
{
    wchar_t unit[2] = {};
    if (MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), unit, 2) == 1)
        return static_cast<char16_t>(unit[0]);
    return 0;
}

} // namespace

std::vector<char16_t> DecodeCodePage936()
{
    // A row of pairs in one call: the table is built at start, and a call
    // for each of its 24,000 sequences takes milliseconds. Windows refuses
    // a row with an undefined pair as a whole.
    return DecodeEveryGbkSequence(DecodeGbkSequence, [](const char* pairs, char16_t* units) {
        wchar_t wide[kGbkPairsPerLeadByte + 1];
        const int written = MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, pairs,
                                                static_cast<int>(2 * kGbkPairsPerLeadByte), wide,
                                                static_cast<int>(kGbkPairsPerLeadByte + 1));
        if (written != static_cast<int>(kGbkPairsPerLeadByte))
            return false;
        for (std::size_t i = 0; i < kGbkPairsPerLeadByte; ++i)
            units[i] = static_cast<char16_t>(wide[i]);
        return true;
    });
}

const GbkConverter& SystemGbkConverter()
{
    static const WinGbkConverter converter;
    return converter;
}

} // namespace text
