#pragma once
// The host functions of the reference shell: one for every code the
// launcher panel starts. Each names itself and its code to the user in a
// small modal dialog and reports success; the change of period lets the
// user pick a year and month and stores it as yyyymm in "Global_curkjny" of
// the sub-application's value object before it returns.
#include "hostmodel/HostModel.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace shell {

struct ShellFunction {
    std::string_view suffix;
    std::string_view name;  // GBK
};

inline constexpr ShellFunction kShellFunctions[] = {
    {"004-00-01", "抄报税首页"}, {"004-00-03", "网上抄税"}, {"004-00-04", "清卡"},
    {"004-00-05", "获取状态"},   {"003-01", "发票查询"},    {"002-01", "抄报状态"},
    {"004-00-06", "取消抄税"},   {"005-01", "更改所属期"},
};
inline constexpr std::string_view kChangePeriodSuffix = "005-01";

enum class DialogMode {
    Interactive,  // the dialogs wait for the user
    Unattended,   // no dialogs: each function succeeds at once, the period stays
};

// Title of the dialog that names a function (GBK), so that it can be found.
inline constexpr const char* kFunctionDialogTitle = "MainFrame - 功能";

// Registers the functions for `subAppCode` followed by each suffix. The
// dialogs are owned by `mainWindow`.
void RegisterShellFunctions(hostmodel::HostModel& model, const std::string& subAppCode, DialogMode mode,
                            HWND mainWindow);

} // namespace shell
