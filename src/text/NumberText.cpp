#include "text/NumberText.h"

#include "text/TextRules.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace text {
namespace {

std::string_view TrimBlanks(std::string_view text) noexcept
{
    while (!text.empty() && text::IsBlankByte(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && text::IsBlankByte(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

constexpr bool IsDigit(char c) noexcept { return c >= '0' && c <= '9'; }

} // namespace

bool ParseWholeNumber(std::string_view text, std::int32_t& value) noexcept
{
    text = TrimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    std::int64_t magnitude = 0;
    for (char c : text) {
        if (!IsDigit(c))
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1)
            return false;
    }
    const std::int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<std::int32_t>::max())
        return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

bool ParseDecimalNumber(std::string_view text, char decimalSeparator, double& value) noexcept
{
    text = TrimBlanks(text);
    if (text.empty())
        return false;
    // Check the form and rewrite it with '.' for the C++ reader.
    std::string normalised;
    try {
        normalised.reserve(text.size());
    } catch (...) {
        return false;
    }
    std::size_t pos = 0;
    const auto take = [&](char c) { normalised.push_back(c); ++pos; };
    const bool negative = text[0] == '-';
    if (text[0] == '-' || text[0] == '+')
        ++pos;
    std::size_t mantissaDigits = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        take(text[pos]);
        ++mantissaDigits;
    }
    if (pos < text.size() && text[pos] == decimalSeparator) {
        take('.');
        while (pos < text.size() && IsDigit(text[pos])) {
            take(text[pos]);
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        take('e');
        if (pos < text.size() && (text[pos] == '-' || text[pos] == '+'))
            take(text[pos]);
        std::size_t exponentDigits = 0;
        while (pos < text.size() && IsDigit(text[pos])) {
            take(text[pos]);
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    if (pos != text.size())
        return false;
    double parsed = 0;
    const char* const last = normalised.data() + normalised.size();
    const auto [end, error] = std::from_chars(normalised.data(), last, parsed);
    if (error != std::errc() || end != last || !std::isfinite(parsed))
        return false;
    value = negative ? -parsed : parsed;
    return true;
}

} // namespace text
