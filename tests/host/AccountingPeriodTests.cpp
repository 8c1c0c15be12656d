#include "host/AccountingPeriod.h"

#include <gtest/gtest.h>

namespace {

std::string PeriodOn(int year, int month, int day)
{
    return host::FormatPeriod(host::PreviousMonthPeriod({year, month, day}));
}

} // namespace

TEST(AccountingPeriod, IsTheMonthBeforeTheDay)
{
    EXPECT_EQ(PeriodOn(2027, 1, 15), "202612");
    EXPECT_EQ(PeriodOn(2027, 2, 1), "202701");
    EXPECT_EQ(PeriodOn(2026, 12, 31), "202611");
    EXPECT_EQ(PeriodOn(2026, 3, 31), "202602");
    const host::YearMonth period = host::PreviousMonthPeriod({2000, 2, 29});
    EXPECT_EQ(period.year, 2000);
    EXPECT_EQ(period.month, 1);
}
