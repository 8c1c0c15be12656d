// The exact GBK/UTF-8 conversion that GBK documents are parsed through
// (config/GbkCodeTable.h). GBK bytes must convert when, and only when,
// every lead byte has a trail byte; the UTF-8 must hold only characters
// that XML allows, each the one iconv's CP936 decodes the sequence to or a
// private-use stand-in of that very sequence; and it must give back the
// bytes exactly. Bytes of any kind convert to whole GBK characters.
//   input: bytes, read as GBK and as UTF-8
#include "FuzzSupport.h"

#include "text/GbkCodeTable.h"
#include "text/Utf8Text.h"

#include <iconv.h>

namespace {

iconv_t cp936Decoder;

// The character iconv decodes a GBK sequence to; 0 for none.
char32_t DecodeRef(std::string_view sequence)
{
    char* in = const_cast<char*>(sequence.data());
    std::size_t inLeft = sequence.size();
    unsigned char unit[8];
    char* out = reinterpret_cast<char*>(unit);
    std::size_t outLeft = sizeof unit;
    iconv(cp936Decoder, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cp936Decoder, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
        outLeft != sizeof unit - 4)
        return 0;
    return char32_t {unit[0]} | char32_t {unit[1]} << 8 | char32_t {unit[2]} << 16 | char32_t {unit[3]} << 24;
}

bool IsLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
bool IsTrail(unsigned char byte) { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

bool PairsCompleteRef(std::string_view gbk)
{
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        if (IsLead(static_cast<unsigned char>(gbk[i]))) {
            if (i + 1 >= gbk.size() || !IsTrail(static_cast<unsigned char>(gbk[i + 1])))
                return false;
            ++i;
        }
    }
    return true;
}

char32_t DecodeUtf8(std::string_view text, std::size_t width)
{
    const auto byte = [&](std::size_t i) { return char32_t {static_cast<unsigned char>(text[i])}; };
    switch (width) {
    case 1: return byte(0);
    case 2: return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    case 3: return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    default: return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
    }
}

bool IsXmlCharacterBeyondAscii(char32_t c)
{
    return (c >= 0x80 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    cp936Decoder = iconv_open("UTF-32LE", "CP936");
    if (cp936Decoder == reinterpret_cast<iconv_t>(-1))
        fuzz::Fail(__FILE__, __LINE__, "iconv_open", "no CP936 decoder");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const fuzz::Context context = [&] { return std::string("bytes " + fuzz::Printable(bytes)); };
    const text::GbkCodeTable& table = text::GbkCodeTable::System();
    const text::GbkConverter& fallback = text::SystemGbkConverter();

    std::string utf8;
    const bool converted = table.AppendUtf8(utf8, bytes);
    FUZZ_CHECK(converted == PairsCompleteRef(bytes), context());
    if (converted) {
        FUZZ_CHECK(text::IsValidUtf8(utf8), context() + "\nutf8 " + fuzz::Printable(utf8));
        std::size_t at = 0;  // in the GBK bytes
        for (std::size_t pos = 0; pos < utf8.size();) {
            const std::size_t width = text::Utf8SequenceLength(std::string_view(utf8).substr(pos));
            const char32_t c = DecodeUtf8(std::string_view(utf8).substr(pos), width);
            const std::size_t length = IsLead(static_cast<unsigned char>(bytes[at])) ? 2 : 1;
            const std::string_view sequence = bytes.substr(at, length);
            const fuzz::Context where = [&] {
                return context() + "\nat " + std::to_string(at) + " " + fuzz::Printable(sequence) + " U+" +
                       std::to_string(static_cast<unsigned>(c));
            };
            if (c < 0x80) {
                FUZZ_CHECK(length == 1 && static_cast<unsigned char>(sequence[0]) == c, where);
            } else {
                FUZZ_CHECK(IsXmlCharacterBeyondAscii(c), where);
                const unsigned index =
                    length == 2 ? static_cast<unsigned char>(sequence[0]) << 8 | static_cast<unsigned char>(sequence[1])
                                : static_cast<unsigned char>(sequence[0]);
                const char32_t decoded = DecodeRef(sequence);
                if (c >= 0xF0000 && c <= 0xFFFFF) {
                    FUZZ_CHECK(c - 0xF0000 == index, where);
                    // A stand-in only where iconv gives no XML character,
                    // or another sequence already has the character.
                    if (decoded >= 0x80 && IsXmlCharacterBeyondAscii(decoded) && decoded < 0x10000) {
                        std::string own;
                        text::AppendUtf8(own, decoded);
                        const std::string owner = table.ToGbk(own, fallback);
                        FUZZ_CHECK(owner != sequence && DecodeRef(owner) == decoded,
                                   where() + " owner " + fuzz::Printable(owner));
                    }
                } else {
                    FUZZ_CHECK(decoded == c, where() + " iconv U+" + std::to_string(static_cast<unsigned>(decoded)));
                }
            }
            pos += width;
            at += length;
        }
        FUZZ_CHECK(at == bytes.size(), context());
        FUZZ_CHECK_TEXT(table.ToGbk(utf8, fallback), bytes, context() + "\nutf8 " + fuzz::Printable(utf8));
    }

    // Any bytes as UTF-8: characters that came from GBK come back as their
    // bytes, the rest through the fallback; never a failure, and never a
    // lead byte without its trail.
    const std::string gbk = table.ToGbk(bytes, fallback);
    FUZZ_CHECK(PairsCompleteRef(gbk), context() + "\ngbk " + fuzz::Printable(gbk));
    return 0;
}
