#include "config/GbkCodeTable.h"

#include "config/Utf8Text.h"

#include "sharedrt/GbkText.h"

namespace config {
namespace {

constexpr bool IsGbkTrailByte(unsigned char byte) noexcept { return byte >= 0x40 && byte <= 0xFE && byte != 0x7F; }

// A character that XML allows in a document, beyond ASCII.
constexpr bool IsXmlCharacterBeyondAscii(char32_t c) noexcept
{
    return (c >= 0x80 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD);
}

// The code point of the well-formed UTF-8 sequence of `width` bytes at `at`.
char32_t DecodeUtf8(std::string_view text, std::size_t at, std::size_t width) noexcept
{
    const auto byte = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(text[at + i])); };
    switch (width) {
    case 1: return byte(0);
    case 2: return ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
    case 3: return ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
    default: return ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
    }
}

} // namespace

GbkCodeTable::GbkCodeTable(const std::vector<char16_t>& decoding) : fromGbk_(0x10000, 0), toGbk_(0x10000, 0)
{
    const auto assign = [&](unsigned index) {
        const char32_t c = index < decoding.size() ? decoding[index] : 0;
        if (IsXmlCharacterBeyondAscii(c) && toGbk_[c] == 0) {
            fromGbk_[index] = c;
            toGbk_[c] = static_cast<std::uint16_t>(index);
        } else {
            fromGbk_[index] = kStandInBase + index;
        }
    };
    for (unsigned byte = 0x80; byte <= 0xFF; ++byte) {
        if (!rt::IsGbkLeadByte(static_cast<unsigned char>(byte)))
            assign(byte);
    }
    for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
            if (IsGbkTrailByte(static_cast<unsigned char>(trail)))
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
        const unsigned char lead = *in;
        if (lead < 0x80) {
            *out++ = static_cast<char>(lead);
            ++in;
            continue;
        }
        unsigned index = lead;
        if (rt::IsGbkLeadByte(lead)) {
            if (in + 1 >= end || !IsGbkTrailByte(in[1]))
                return std::nullopt;
            index = (lead << 8) | in[1];
            in += 2;
        } else {
            in += 1;
        }
        // Every character of the table lies beyond ASCII: two to four bytes.
        const char32_t c = fromGbk_[index];
        if (c < 0x800) {
            *out++ = static_cast<char>(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *out++ = static_cast<char>(0xE0 | (c >> 12));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        } else {
            *out++ = static_cast<char>(0xF0 | (c >> 18));
            *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        }
        *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return static_cast<std::size_t>(out - start);
}

std::string GbkCodeTable::ToGbk(std::string_view utf8, const GbkConverter& fallback) const
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t end = pos;
        while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) < 0x80)
            ++end;
        out.append(utf8, pos, end - pos);
        if (end == utf8.size())
            break;
        pos = end;
        const std::size_t width = Utf8SequenceLength(utf8.substr(pos));
        if (width == 0) {
            out += fallback.Utf8ToGbk(utf8.substr(pos, 1));
            ++pos;
            continue;
        }
        const char32_t c = DecodeUtf8(utf8, pos, width);
        unsigned index = 0;
        if (c < 0x10000)
            index = toGbk_[c];
        else if (c >= kStandInBase && c < kStandInBase + 0x10000 && fromGbk_[c - kStandInBase] == c)
            index = static_cast<unsigned>(c - kStandInBase);
        if (index > 0xFF) {
            const char pair[2] = {static_cast<char>(index >> 8), static_cast<char>(index & 0xFF)};
            out.append(pair, 2);
        } else if (index != 0) {
            out.push_back(static_cast<char>(index));
        } else {
            out += fallback.Utf8ToGbk(utf8.substr(pos, width));
        }
        pos += width;
    }
    return out;
}

} // namespace config
