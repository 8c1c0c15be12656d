#include "module/ModuleGlobals.h"

#include "startup/actions/ActionIniMerge.h"
#include "startup/upgrade/DatabaseUpgrade.h"
#include "startup/catalogue/ErrorCatalogue.h"
#include "profile/PrivateProfile.h"
#include "host/HostServices.h"
#include "host/ValueObject.h"

#include "sharedrt/RtError.h"

#include <windows.h>

#include <optional>

namespace module {
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
    startup::MergeActionIni();
    startup::LoadErrorCatalogue(message);
    std::string upgradeFailures;
    startup::RunDatabaseUpgrade(upgradeFailures);
}

std::string CompanyTaxId()
{
    return host::GetString(Required(host::CompanyInfoVO(), "企业信息值对象"), "QYSBH", "");
}

std::string ReadCardReaderSetting()
{
    // A file that cannot be read raises: it is not a missing one.
    const std::optional<profile::ProfileDocument> userConfig =
        profile::ReadProfileDocument(host::RequiredCurSubAppPath() + kUserConfigFile);
    return userConfig ? userConfig->Value("CbsReader", "cbsreader").value_or("") : std::string();
}

host::YearMonth PreviousMonthPeriod()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return host::PreviousMonthPeriod(host::CalendarDate{now.wYear, now.wMonth, now.wDay});
}

std::string InitModuleGlobals()
{
    std::string message;
    RunStartupMaintenance(message);
    const host::YearMonth period = PreviousMonthPeriod();
    rt::DataVO* vo = Required(host::CurSubAppVo(), "子系统值对象");
    const std::string periodText = host::FormatPeriod(period);
    host::SetString(vo, kCardReaderItem, ReadCardReaderSetting());
    host::SetString(vo, kCompanyItem, CompanyTaxId());
    host::SetString(vo, kPeriodItem, periodText);
    return message;
}

} // namespace module
