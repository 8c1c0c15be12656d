#include "text/GbkCodeTable.h"

#include "text/Utf8Text.h"

#include "sharedrt/GbkText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace text {
namespace {

// A character that XML allows in a document, beyond ASCII.
constexpr bool IsXmlCharacterBeyondAscii(char32_t c) noexcept
{
    return (c >= 0x80 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD);
}

// Copies the ASCII bytes at `in` to `out`, moving both past them; false
// when they reach `end`.
bool CopyAsciiRun(char*& out, const unsigned char*& in, const unsigned char* end) noexcept
{
    const std::size_t ascii = AsciiPrefixLength(in, end);
    std::memcpy(out, in, ascii);
    out += ascii;
    in += ascii;
    return in != end;
}

// The sequence index of the character beyond ASCII at `in`, before `end`,
// moving past it; nullopt for a lead byte (0x81-0xFE) without a trail byte
// (0x40-0x7E or 0x80-0xFE) behind it.
std::optional<unsigned> TakeCharacter(const unsigned char*& in, const unsigned char* end) noexcept
{
    const unsigned char lead = *in;
    if (!rt::IsGbkLeadByte(lead)) {
        ++in;
        return lead;
    }
    if (in + 1 >= end || !rt::IsGbkTrailByte(in[1]))
        return std::nullopt;
    const unsigned index = (static_cast<unsigned>(lead) << 8) | in[1];
    in += 2;
    return index;
}

// The UTF-8 bytes of a character beyond ASCII, the first byte lowest.
std::uint32_t PackedUtf8(char32_t c)
{
    std::string bytes;
    AppendUtf8(bytes, c);
    std::uint32_t packed = 0;
    for (std::size_t i = bytes.size(); i-- > 0;)
        packed = (packed << 8) | static_cast<unsigned char>(bytes[i]);
    return packed;
}

// The width of a packed form, from its first byte.
constexpr std::size_t PackedWidth(std::uint32_t packed) noexcept
{
    const auto lead = static_cast<unsigned char>(packed);
    return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
}

} // namespace

GbkCodeTable::GbkCodeTable(const std::vector<char16_t>& decoding)
    : fromGbk_(0x10000, 0), utf8Of_(0x10000, 0), toGbk_(0x10000, 0)
{
    const auto assign = [&](unsigned index) {
        const char32_t c = index < decoding.size() ? decoding[index] : 0;
        if (IsXmlCharacterBeyondAscii(c) && toGbk_[c] == 0) {
            fromGbk_[index] = c;
            toGbk_[c] = static_cast<std::uint16_t>(index);
        } else {
            fromGbk_[index] = kStandInBase + index;
        }
        utf8Of_[index] = PackedUtf8(fromGbk_[index]);
    };
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        if (!rt::IsGbkLeadByte(static_cast<unsigned char>(byte)))
            assign(byte);
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (rt::IsGbkTrailByte(static_cast<unsigned char>(trail)))
                assign((lead << 8) | trail);
        }
    }
}

const GbkCodeTable& GbkCodeTable::System()
{
    static const GbkCodeTable table(DecodeCodePage936());
    return table;
}

bool GbkCodeTable::AppendUtf8(std::string& out, std::string_view gbk) const
{
    const std::size_t before = out.size();
    out.resize(before + gbk.size() * kMaximumUtf8PerByte);
    const std::optional<std::size_t> written = WriteUtf8(out.data() + before, gbk);
    out.resize(before + written.value_or(0));
    return written.has_value();
}

std::optional<std::size_t> GbkCodeTable::WriteUtf8(char* out, std::string_view gbk) const
{
    char* const start = out;
    const auto* in = reinterpret_cast<const unsigned char*>(gbk.data());
    const auto* const end = in + gbk.size();
    while (in < end) {
        if (*in < 0x80 && !CopyAsciiRun(out, in, end))
            break;
        const std::optional<unsigned> index = TakeCharacter(in, end);
        if (!index)
            return std::nullopt;
        // Every character of the table lies beyond ASCII: two to four
        // bytes, and the room for four is there.
        const std::uint32_t packed = utf8Of_[*index];
        const unsigned char bytes[4] = {static_cast<unsigned char>(packed), static_cast<unsigned char>(packed >> 8),
                                        static_cast<unsigned char>(packed >> 16),
                                        static_cast<unsigned char>(packed >> 24)};
        std::memcpy(out, bytes, 4);
        out += PackedWidth(packed);
    }
    return static_cast<std::size_t>(out - start);
}

unsigned GbkCodeTable::SequenceOf(char32_t c, Source source) const noexcept
{
    if (c < 0x10000)
        return toGbk_[c];
    if (source == Source::GbkText && c >= kStandInBase && c < kStandInBase + 0x10000 &&
        fromGbk_[c - kStandInBase] == c)
        return static_cast<unsigned>(c - kStandInBase);
    return 0;
}

std::string GbkCodeTable::ToGbk(std::string_view utf8, const GbkConverter& fallback, Source source) const
{
    std::string out;
    AppendGbk(out, utf8, fallback, source);
    return out;
}

void GbkCodeTable::AppendGbk(std::string& out, std::string_view utf8, const GbkConverter& fallback,
                             Source source) const
{
    // GBK is never longer than UTF-8: each character beyond ASCII takes
    // at least as many bytes there, and '?' stands for a lone byte.
    const std::size_t before = out.size();
    out.resize(before + utf8.size());
    char* o = out.data() + before;
    const auto* const begin = reinterpret_cast<const unsigned char*>(utf8.data());
    const auto* const end = begin + utf8.size();
    const auto* in = begin;
    while (in < end) {
        if (*in < 0x80 && !CopyAsciiRun(o, in, end))
            break;
        const Utf8Sequence decoded = DecodeUtf8Sequence(in, end);
        std::size_t width = decoded.width;
        if (width == 0) {
            // Bytes of no sequence go to the platform as one run, up to
            // the next character: it has its own rule of how many marks
            // they make.
            width = 1;
            while (in + width < end && in[width] >= 0x80 && DecodeUtf8Sequence(in + width, end).width == 0)
                ++width;
        }
        const unsigned index = decoded.width == 0 ? 0 : SequenceOf(decoded.c, source);
        if (index > 0xFF) {
            *o++ = static_cast<char>(index >> 8);
            *o++ = static_cast<char>(index & 0xFF);
        } else if (index != 0) {
            *o++ = static_cast<char>(index);
        } else {
            // What the platform makes of it may be longer: from here on the
            // text grows as it must.
            const std::size_t done = static_cast<std::size_t>(o - out.data());
            const std::string converted = fallback.Utf8ToGbk(utf8.substr(static_cast<std::size_t>(in - begin), width));
            const std::size_t rest = static_cast<std::size_t>(end - in) - width;
            out.resize(std::max(out.size(), done + converted.size() + rest));
            std::memcpy(out.data() + done, converted.data(), converted.size());
            o = out.data() + done + converted.size();
        }
        in += width;
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

} // namespace text
