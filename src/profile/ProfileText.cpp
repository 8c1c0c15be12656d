#include "profile/ProfileText.h"

#include "text/GbkConverter.h"
#include "text/Utf8Text.h"

namespace profile {

std::vector<std::string> SplitProfileList(std::string_view buffer)
{
    std::vector<std::string> items;
    std::size_t pos = 0;
    while (pos < buffer.size() && buffer[pos] != '\0') {
        std::size_t end = buffer.find('\0', pos);
        if (end == std::string_view::npos)
            end = buffer.size();
        items.emplace_back(buffer.substr(pos, end - pos));
        pos = end + 1;
    }
    return items;
}

namespace {

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    std::string utf8;
    const auto unit = [&](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (!text::AppendUtf8(utf8, c))
            utf8 += '?';
    }
    return utf8;
}

} // namespace

std::string ProfileTextAsGbk(std::string_view bytes, const text::GbkConverter& converter)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        return converter.Utf8ToGbk(bytes.substr(3));
    if (bytes.substr(0, 2) == "\xFF\xFE")
        return converter.Utf8ToGbk(Utf16ToUtf8(bytes.substr(2), false));
    if (bytes.substr(0, 2) == "\xFE\xFF")
        return converter.Utf8ToGbk(Utf16ToUtf8(bytes.substr(2), true));
    return std::string(bytes);
}

ProfileEntry SplitProfileLine(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {std::string(line), {}};
    return {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))};
}

} // namespace profile
