#include "shell/PeriodDialog.h"

#include "shell/DialogTemplate.h"

#include <cstdio>

namespace shell {
namespace {

struct PeriodChoice {
    int year = 0;
    int month = 0;
};

PeriodChoice Starting(const std::string& current)
{
    int year = 0;
    int month = 0;
    if (current.size() == 6 && std::sscanf(current.c_str(), "%4d%2d", &year, &month) == 2 &&
        year >= kFirstPeriodYear && year <= kLastPeriodYear && month >= 1 && month <= 12)
        return {year, month};
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth};
}

INT_PTR HandlePeriodMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* choice = reinterpret_cast<PeriodChoice*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        choice = reinterpret_cast<PeriodChoice*>(lParam);
        for (int year = kFirstPeriodYear; year <= kLastPeriodYear; ++year)
            SendDlgItemMessageA(dialog, kPeriodYearBox, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(std::to_string(year).c_str()));
        for (int month = 1; month <= 12; ++month) {
            char text[3];
            std::snprintf(text, sizeof text, "%02d", month);
            SendDlgItemMessageA(dialog, kPeriodMonthBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        }
        const int yearIndex = choice->year < kFirstPeriodYear ? 0 : choice->year - kFirstPeriodYear;
        SendDlgItemMessageA(dialog, kPeriodYearBox, CB_SETCURSEL, yearIndex, 0);
        SendDlgItemMessageA(dialog, kPeriodMonthBox, CB_SETCURSEL, choice->month - 1, 0);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            const LRESULT year = SendDlgItemMessageA(dialog, kPeriodYearBox, CB_GETCURSEL, 0, 0);
            const LRESULT month = SendDlgItemMessageA(dialog, kPeriodMonthBox, CB_GETCURSEL, 0, 0);
            if (year != CB_ERR && month != CB_ERR) {
                choice->year = kFirstPeriodYear + static_cast<int>(year);
                choice->month = static_cast<int>(month) + 1;
                EndDialog(dialog, IDOK);
            }
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK PeriodProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return HandlePeriodMessage(dialog, message, wParam, lParam);
    } catch (...) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}

} // namespace

std::optional<std::string> AskPeriod(HWND owner, const std::string& current)
{
    DialogTemplate dialog(kPeriodDialogTitle, 180, 76);
    const DWORD list = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
    dialog.Add(DialogTemplate::Kind::Static, 0xFFFF, SS_LEFT, 10, 10, 160, 10, "请选择新的税款所属期：");
    dialog.Add(DialogTemplate::Kind::ComboBox, kPeriodYearBox, list, 10, 26, 60, 120);
    dialog.Add(DialogTemplate::Kind::Static, 0xFFFF, SS_LEFT, 74, 28, 12, 10, "年");
    dialog.Add(DialogTemplate::Kind::ComboBox, kPeriodMonthBox, list, 90, 26, 40, 120);
    dialog.Add(DialogTemplate::Kind::Static, 0xFFFF, SS_LEFT, 134, 28, 12, 10, "月");
    dialog.Add(DialogTemplate::Kind::Button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 56, 52, 52, 16, "确定");
    dialog.Add(DialogTemplate::Kind::Button, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 116, 52, 52, 16, "取消");

    PeriodChoice choice = Starting(current);
    if (dialog.Run(owner, PeriodProc, reinterpret_cast<LPARAM>(&choice)) != IDOK)
        return std::nullopt;
    char period[8];
    std::snprintf(period, sizeof period, "%04d%02d", choice.year, choice.month);
    return std::string(period);
}

} // namespace shell
