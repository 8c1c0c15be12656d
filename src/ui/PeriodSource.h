#pragma once
// The current tax period that the host keeps in the sub-application's value
// object as "Global_curkjny".
#include <string>

namespace ui {

inline constexpr const char* kPeriodItemName = "Global_curkjny";

// The period text, read afresh from the value object the host returns now;
// empty when it has none.
std::string CurrentPeriod();

} // namespace ui
