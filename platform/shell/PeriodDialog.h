#pragma once
// The shell's dialog for the change of tax period: the user picks a year
// and a month.
#include <windows.h>

#include <optional>
#include <string>

namespace shell {

// Window caption of the dialog (GBK), so that it can be found.
inline constexpr const char* kPeriodDialogTitle = "更改税款所属期";
// Control ids of the dialog.
inline constexpr int kPeriodYearBox = 101;
inline constexpr int kPeriodMonthBox = 102;
// The years offered.
inline constexpr int kFirstPeriodYear = 2000;
inline constexpr int kLastPeriodYear = 2035;

// Shows the dialog modally over `owner`, starting at `current` (yyyymm;
// anything else starts at this month). The chosen period as yyyymm, or
// nothing when the user cancelled.
std::optional<std::string> AskPeriod(HWND owner, const std::string& current);

} // namespace shell
