#include "startup/regional/DifferenceParameterValue.h"

#include "text/NumberText.h"
#include "text/TextRules.h"

namespace startup {

ParameterKind ParameterKindOf(std::string_view type) noexcept
{
    if (text::EqualsIgnoreCase(type, "integer"))
        return ParameterKind::Integer;
    if (text::EqualsIgnoreCase(type, "boolean"))
        return ParameterKind::Boolean;
    if (text::EqualsIgnoreCase(type, "float"))
        return ParameterKind::Float;
    return ParameterKind::Text;
}

namespace {

// Values of every type are read as they stand, as the configuration keeps
// them untrimmed: a blank around the value makes it "any other text".
bool HasSurroundingBlank(std::string_view value) noexcept
{
    return !value.empty() && (text::IsBlankByte(static_cast<unsigned char>(value.front())) ||
                              text::IsBlankByte(static_cast<unsigned char>(value.back())));
}

} // namespace

std::int32_t ParameterInteger(std::string_view value) noexcept
{
    std::int32_t result = 0;
    if (!HasSurroundingBlank(value))
        text::ParseWholeNumber(value, result);
    return result;
}

bool ParameterBoolean(std::string_view value, char decimalSeparator)
{
    if (HasSurroundingBlank(value))
        return false;
    double number = 0;
    if (text::ParseDecimalNumber(value, decimalSeparator, number))
        return number != 0;
    return text::EqualsIgnoreCase(value, "true");
}

double ParameterFloat(std::string_view value, char decimalSeparator) noexcept
{
    double result = 0;
    if (!HasSurroundingBlank(value))
        text::ParseDecimalNumber(value, decimalSeparator, result);
    return result;
}

} // namespace startup
