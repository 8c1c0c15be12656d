#include "module/InitSequence.h"

#include "startup/regional/SysDifference.h"
#include "host/HostServices.h"
#include "module/ModuleGlobals.h"
#include "host/ValueObject.h"
#include "module/InitSteps.h"
#include "module/InstallationLock.h"
#include "module/PlatformCheck.h"
#include "module/ShortcutCleanup.h"
#include "util/ModuleLog.h"

#include "sharedrt/RtError.h"

#include <exception>
#include <optional>

namespace module {
namespace {

// Strip switch 0: region directories are matched against the zone code less
// its first character. Kind 1: the "GS_Differ" directories.
constexpr int kStripFirstCharacter = 0;
constexpr int kGsKind = 1;

class HostInitSteps final : public InitSteps {
public:
    void HoldInstallation() override
    {
        // Without a folder there is no installation to hold; the steps
        // themselves say that the host named none.
        const std::string folder = host::CurSubAppPath();
        if (!folder.empty())
            lock_.emplace(folder);
    }

    void ApplyRegionalDifferences() override
    {
        try {
            rt::DataVO* company = host::CompanyInfoVO();
            if (company == nullptr)
                throw rt::Error("宿主没有提供企业信息值对象");
            std::string zoneCode = host::GetString(company, "ZONECODE", "");
            if (zoneCode.empty())
                zoneCode = "1" + host::GetString(company, "XZQHDM", "");
            startup::ApplySysDifference(zoneCode, kStripFirstCharacter, host::CurSubAppVo(), kGsKind);
        } catch (const std::exception& e) {
            // The sequence goes on without the regional configuration; the
            // log says why it was not applied this time.
            util::WriteLogLine(std::string("差异化配置未能应用：") + e.what());
            throw;
        }
    }

    void CleanUpLegacyShortcuts() override { module::CleanUpLegacyShortcuts(); }

    bool CardReaderDriverPresent() override { return module::CardReaderDriverPresent(); }

    std::string InitModuleGlobals() override { return module::InitModuleGlobals(); }

private:
    std::optional<InstallationLock> lock_;
};

} // namespace

InitOutcome RunInitSequence(rt::WindowHandle, const std::string& hostText) noexcept
{
    HostInitSteps steps;
    return RunInitSteps(steps, hostText);
}

} // namespace module
