// Number texts (config/NumberText.h) and the typed values of regional
// parameters (config/DifferenceParameterValue.h) against a plain reading of
// the grammar, with strtod for the value.
//   input: one byte choosing the decimal separator ('.' when even, ','
//   when odd), then the text
#include "FuzzSupport.h"

#include "startup/regional/DifferenceParameterValue.h"
#include "text/NumberText.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool WholeRef(std::string_view text, std::int32_t& value)
{
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    for (char c : text) {
        if (!IsDigit(c))
            return false;
    }
    while (text.size() > 1 && text[0] == '0')
        text.remove_prefix(1);
    if (text.size() > 10)
        return false;
    long long magnitude = 0;
    for (char c : text)
        magnitude = magnitude * 10 + (c - '0');
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue < -2147483648LL || signedValue > 2147483647LL)
        return false;
    value = static_cast<std::int32_t>(signedValue);
    return true;
}

// sign? (digits (sep digits?)? | sep digits) (e sign? digits)?, rewritten
// with '.' for strtod; a value that overflows, or that rounds to zero
// although a digit is not zero, is out of range.
bool DecimalRef(std::string_view text, char separator, double& value)
{
    text = Trim(text);
    std::string c_text;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        c_text += text[i++];
    std::size_t digits = 0;
    bool nonZeroDigit = false;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
        c_text += text[i];
        nonZeroDigit = nonZeroDigit || text[i] != '0';
    }
    if (i < text.size() && text[i] == separator) {
        c_text += '.';
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
            c_text += text[i];
            nonZeroDigit = nonZeroDigit || text[i] != '0';
        }
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        c_text += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            c_text += text[i++];
        std::size_t exponentDigits = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++exponentDigits)
            c_text += text[i];
        if (exponentDigits == 0)
            return false;
    }
    if (i != text.size())
        return false;
    const double parsed = std::strtod(c_text.c_str(), nullptr);
    if (!std::isfinite(parsed) || (parsed == 0 && nonZeroDigit))
        return false;
    value = parsed;
    return true;
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool HasSurroundingBlank(std::string_view text)
{
    return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    std::setlocale(LC_NUMERIC, "C");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const char separator = data[0] % 2 == 0 ? '.' : ',';
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const fuzz::Context context = [&] {
        return std::string("text " + fuzz::Printable(text) + " separator '" + separator + "'");
    };

    std::int32_t whole = 0x5A5A5A5A, wholeRef = 0x5A5A5A5A;
    const bool isWhole = text::ParseWholeNumber(text, whole);
    const bool isWholeRef = WholeRef(text, wholeRef);
    FUZZ_CHECK(isWhole == isWholeRef && whole == wholeRef,
               context() + "\nParseWholeNumber " + std::to_string(isWhole) + " " + std::to_string(whole) +
                   ", expected " + std::to_string(isWholeRef) + " " + std::to_string(wholeRef));

    double decimal = 1234.5, decimalRef = 1234.5;
    const bool isDecimal = text::ParseDecimalNumber(text, separator, decimal);
    const bool isDecimalRef = DecimalRef(text, separator, decimalRef);
    FUZZ_CHECK(isDecimal == isDecimalRef && SameDouble(decimal, decimalRef),
               context() + "\nParseDecimalNumber " + std::to_string(isDecimal) + " " + std::to_string(decimal) +
                   ", expected " + std::to_string(isDecimalRef) + " " + std::to_string(decimalRef));

    // The typed values read the text as it stands: a blank around it makes
    // it no number.
    const bool blank = HasSurroundingBlank(text);
    FUZZ_CHECK(startup::ParameterInteger(text) == (blank || !isWholeRef ? 0 : wholeRef), context());
    const double floatValue = startup::ParameterFloat(text, separator);
    FUZZ_CHECK(SameDouble(floatValue, blank || !isDecimalRef ? 0.0 : decimalRef), context());
    const bool booleanRef = !blank && (isDecimalRef ? decimalRef != 0 : EqualsIgnoringCase(text, "true"));
    FUZZ_CHECK(startup::ParameterBoolean(text, separator) == booleanRef, context());

    const auto kind = startup::ParameterKindOf(text);
    const auto kindRef = EqualsIgnoringCase(text, "integer")   ? startup::ParameterKind::Integer
                         : EqualsIgnoringCase(text, "boolean") ? startup::ParameterKind::Boolean
                         : EqualsIgnoringCase(text, "float")   ? startup::ParameterKind::Float
                                                               : startup::ParameterKind::Text;
    FUZZ_CHECK(kind == kindRef, context());
    return 0;
}
