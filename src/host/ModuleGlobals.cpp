#include "host/ModuleGlobals.h"

#include "config/ActionIniMerge.h"
#include "config/DatabaseUpgrade.h"
#include "config/ErrorCatalogue.h"
#include "config/PrivateProfile.h"
#include "host/HostServices.h"
#include "host/ValueObject.h"

#include "sharedrt/RtError.h"

#include <windows.h>

namespace host {
namespace {

constexpr const char kUserConfigFile[] = "UserConfig.ini";

// The host hands out its value objects without a promise; a missing one is
// an error of the call rather than a crash.
rt::DataVO* Required(rt::DataVO* vo, const char* what)
{
    if (vo == nullptr)
        throw rt::Error(std::string("宿主没有提供") + what);
    return vo;
}

} // namespace

void RunStartupMaintenance(std::string& message)
{
    config::MergeActionIni();
    config::LoadErrorCatalogue(message);
    std::string upgradeFailures;
    config::RunDatabaseUpgrade(upgradeFailures);
}

std::string CompanyTaxId()
{
    return GetString(Required(CompanyInfoVO(), "企业信息值对象"), "QYSBH", "");
}

std::string ReadCardReaderSetting()
{
    return config::ReadIniString(RequiredCurSubAppPath() + kUserConfigFile, "CbsReader", "cbsreader", "");
}

YearMonth PreviousMonthPeriod()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return PreviousMonthPeriod(CalendarDate{now.wYear, now.wMonth, now.wDay});
}

std::string InitModuleGlobals()
{
    std::string message;
    RunStartupMaintenance(message);
    const YearMonth period = PreviousMonthPeriod();
    rt::DataVO* vo = Required(CurSubAppVo(), "子系统值对象");
    const std::string periodText = FormatPeriod(period);
    SetString(vo, kCardReaderItem, ReadCardReaderSetting());
    SetString(vo, kCompanyItem, CompanyTaxId());
    SetString(vo, kPeriodItem, periodText);
    return message;
}

} // namespace host
