#include "host/AccountingPeriod.h"

#include "text/TextRules.h"

namespace host {
namespace {

int FloorDiv(int a, int b) noexcept
{
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

YearMonth PreviousMonthPeriod(const CalendarDate& today) noexcept
{
    const int k = today.month - 2;
    const int quotient = FloorDiv(k, 12);
    const int remainder = k - quotient * 12;
    return {static_cast<std::uint16_t>(today.year + quotient), static_cast<std::uint16_t>(remainder + 1)};
}

std::string FormatPeriod(YearMonth period)
{
    return text::PadLeftWithZeros(std::to_string(period.year), 4) + text::PadLeftWithZeros(std::to_string(period.month), 2);
}

} // namespace host
