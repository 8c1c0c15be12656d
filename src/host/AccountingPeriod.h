#pragma once
// The accounting period that the module publishes as "Global_curkjny": the
// calendar month before a given date, written yyyymm.
#include <cstdint>
#include <string>

namespace host {

struct YearMonth {
    std::uint16_t year = 0;
    std::uint16_t month = 0;  // 1-12
};

struct CalendarDate {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;
};

// The period of a day: the calendar month before it. With k = month - 2,
// the month is (k mod 12) + 1 and the year is year + floor(k / 12), mod and
// division being floor operations; in January it is December of the year
// before. The day does not matter.
YearMonth PreviousMonthPeriod(const CalendarDate& today) noexcept;

// The period text: the year as four digits, then the month padded on the
// left with '0' to two digits ("202611").
std::string FormatPeriod(YearMonth period);

} // namespace host
