#include "shell/ShellFunctions.h"

#include "shell/PeriodDialog.h"

namespace shell {
namespace {

constexpr const char* kPeriodItem = "Global_curkjny";

bool ChangePeriod(hostmodel::HostModel& model, const std::string& subAppCode, HWND mainWindow)
{
    rt::DataVO* vo = model.SubAppVo(subAppCode);
    if (vo == nullptr)
        return false;
    const std::optional<std::string> chosen = AskPeriod(mainWindow, model.GetString(*vo, kPeriodItem).value_or(""));
    if (!chosen)
        return false;
    model.SetString(*vo, kPeriodItem, *chosen);
    return true;
}

} // namespace

void RegisterShellFunctions(hostmodel::HostModel& model, const std::string& subAppCode, DialogMode mode,
                            HWND mainWindow)
{
    for (const ShellFunction& function : kShellFunctions) {
        const std::string code = subAppCode + std::string(function.suffix);
        const std::string name(function.name);
        const bool changesPeriod = function.suffix == kChangePeriodSuffix;
        model.SetHostFunction(code, [&model, subAppCode, name, changesPeriod, mode, mainWindow](
                                        void*, const std::string& functionCode, std::string&) {
            if (mode == DialogMode::Unattended)
                return true;
            if (changesPeriod)
                return ChangePeriod(model, subAppCode, mainWindow);
            const std::string text = "功能：" + name + "\n代码：" + functionCode;
            MessageBoxA(mainWindow, text.c_str(), kFunctionDialogTitle, MB_OK | MB_ICONINFORMATION);
            return true;
        });
    }
}

} // namespace shell
