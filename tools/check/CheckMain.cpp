// wscbs-check: the dry run of the module's start-up on an installation.
// Reads what the start reads, as the host would give it (the reference
// shell's host profile), writes nothing, and tells what the start would do
// and every problem it would meet.
//
//   wscbs-check [--zone CODE] [--json] INSTALLATION
//
// Exit status: 0 clean, 1 problems found, 2 the installation cannot be read
// (the message names the folder or file missing).
#include "ActionSection.h"
#include "CatalogueSection.h"
#include "CheckReport.h"
#include "DifferenceSection.h"
#include "UpgradeSection.h"
#include "UpgradeTrial.h"
#include "VersionSection.h"

#include "startup/actions/ActionIniMerge.h"
#include "startup/upgrade/DatabaseUpgrade.h"
#include "startup/catalogue/ErrorCatalogue.h"
#include "text/GbkConverter.h"
#include "profile/PrivateProfile.h"
#include "profile/ProfileText.h"
#include "startup/actions/ActionIniTarget.h"
#include "startup/catalogue/ErrorCatalogueFile.h"
#include "startup/upgrade/UpgradeFile.h"
#include "startup/regional/SysDifference.h"
#include "startup/upgrade/UpgradePlan.h"
#include "shell/HostProfile.h"

#include "sharedrt/GbkText.h"
#include "sharedrt/RtError.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <iostream>
#include <optional>

namespace {

struct Options {
    std::string installation;
    std::optional<std::string> zone;
    bool json = false;
};

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--zone" && i + 1 < argc) {
            options.zone = argv[++i];
        } else if (!arg.empty() && arg[0] != '-' && options.installation.empty()) {
            options.installation = arg;
        } else {
            return std::nullopt;
        }
    }
    if (options.installation.empty())
        return std::nullopt;
    return options;
}

std::string CompanyItem(const shell::HostProfile& profile, std::string_view name)
{
    for (const auto& [item, value] : profile.companyItems)
        if (rt::GbkCompareIgnoreAsciiCase(item, name) == 0)
            return value;
    return {};
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// What the host would give the module, from the profile; rt::Error naming
// what is missing when the installation cannot be read.
check::CheckedInstallation ReadInstallation(const Options& options, check::VersionCheck& version)
{
    if (!IsFolder(options.installation))
        throw rt::Error("no installation folder " + options.installation);
    const shell::HostProfile profile = shell::ReadHostProfile(options.installation);
    version.profileFile = profile.profileFile;
    for (const auto& module : profile.modules) {
        if (rt::GbkCompareIgnoreAsciiCase(module.code, profile.currentSubApp) != 0)
            continue;
        version.subAppCode = module.code;
        version.moduleFile = module.file;
        version.moduleVersion = module.fileVersion;
        version.profileVersion = module.profileVersion;
    }
    check::CheckedInstallation installation;
    installation.folder = profile.installationFolder;
    installation.profileFile = profile.profileFile;
    installation.hostFolder = profile.hostFolder;
    for (const auto& setup : profile.subApps) {
        if (rt::GbkCompareIgnoreAsciiCase(setup.code, profile.currentSubApp) != 0)
            continue;
        installation.subAppCode = setup.code;
        installation.subAppFolder = setup.folder;
        installation.version = setup.version;
        installation.databaseFile = setup.databaseFile;
        installation.databaseScript = setup.databaseScript;
    }
    if (!IsFolder(installation.subAppFolder))
        throw rt::Error("the sub-application folder of " + installation.subAppCode + " is missing: " +
                        installation.subAppFolder);
    if (options.zone) {
        installation.zoneCode = *options.zone;
        installation.zoneSource = "given by --zone";
    } else if (std::string zone = CompanyItem(profile, "ZONECODE"); !zone.empty()) {
        installation.zoneCode = zone;
        installation.zoneSource = "ZONECODE of the company record";
    } else {
        installation.zoneCode = "1" + CompanyItem(profile, "XZQHDM");
        installation.zoneSource = "\"1\" and XZQHDM of the company record";
    }
    return installation;
}

// The region directories of the difference folder: its directories whose
// names start with a digit.
std::vector<std::string> RegionDirectories(const std::string& differenceFolder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    const HANDLE find = FindFirstFileA((differenceFolder + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && found.cFileName[0] >= '0' &&
            found.cFileName[0] <= '9')
            names.emplace_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

// The regional differences as the start plans them: strip switch 0 and the
// "GS_Differ" kind, as InitSubApp applies them. The site only reads:
// "cookie.ini" through the private-profile functions, a value object of the
// check's own that planning never stores into, no log and no writeIni.
std::unique_ptr<check::CheckSection> DifferenceSection(const check::CheckedInstallation& installation)
{
    constexpr int kStripFirstCharacter = 0;
    constexpr int kGsDiffer = 1;
    rt::DataVO vo;
    startup::DifferenceSite site;
    site.subAppFolder = installation.subAppFolder;
    site.version = installation.version;
    site.vo = &vo;
    site.decimalSeparator = startup::SystemDecimalSeparator();
    site.readIni = [](const std::string& file, const std::string& section, const std::string& key) {
        return profile::ReadIniString(file, section, key, "");
    };
    startup::DifferencePlan plan = startup::PlanSysDifference(site, startup::SystemDifferenceFiles(),
                                                            installation.zoneCode, kStripFirstCharacter, kGsDiffer);
    std::vector<std::string> regions = RegionDirectories(plan.differenceFolder);
    return check::MakeDifferenceSection(std::move(plan), std::move(regions));
}

std::unique_ptr<check::CheckSection> ActionSection(const check::CheckedInstallation& installation)
{
    const std::string source = installation.subAppFolder + startup::kActionIniName;
    const std::string target = installation.hostFolder + startup::kActionIniName;
    try {
        const std::optional<profile::ProfileDocument> sourceDocument = profile::ReadProfileDocument(source);
        const std::string current = sourceDocument ? startup::ReadActionIniTarget(target) : std::string();
        return check::MakeActionSection(startup::PlanActionMerge(
            source, sourceDocument, target, profile::ProfileTextAsGbk(current, text::SystemGbkConverter())));
    } catch (const rt::Error& e) {
        startup::ActionMergePlan plan;
        plan.source = source;
        plan.target = target;
        return check::MakeActionSection(std::move(plan), e.what());
    }
}

std::unique_ptr<check::CheckSection> CatalogueSection(const check::CheckedInstallation& installation)
{
    const startup::CatalogueFile file =
        startup::ReadErrorCatalogueFile(installation.subAppFolder + startup::kCatalogueFileName);
    return check::MakeCatalogueSection(startup::PlanErrorCatalogue(file, text::SystemGbkConverter()), file.bytes);
}

std::unique_ptr<check::CheckSection> UpgradeSection(const check::CheckedInstallation& installation)
{
    check::UpgradeCheck upgrade;
    upgrade.file = installation.subAppFolder + startup::kUpgradeFileName;
    upgrade.databaseFile = installation.databaseFile;
    startup::UpgradeFile file = startup::ReadUpgradeFile(upgrade.file);
    upgrade.state = file.state;
    upgrade.error = file.error;
    if (file.state == startup::UpgradeFile::State::Read) {
        upgrade.plan =
            startup::PlanUpgrade(upgrade.file, profile::ProfileTextAsGbk(file.content, text::SystemGbkConverter()));
        upgrade.trial = check::TryUpgrade(upgrade.plan, installation.databaseFile, installation.databaseScript);
    }
    return check::MakeUpgradeSection(std::move(upgrade));
}

int Run(const Options& options)
{
    check::CheckedInstallation installation;
    check::VersionCheck version;
    try {
        installation = ReadInstallation(options, version);
    } catch (const rt::Error& e) {
        std::cerr << "wscbs-check: the installation cannot be read: " << e.what() << "\n";
        return check::kUnreadableInstallation;
    }
    // In the order the start runs the steps.
    check::Sections sections;
    sections.push_back(check::MakeVersionSection(version));
    sections.push_back(DifferenceSection(installation));
    sections.push_back(ActionSection(installation));
    sections.push_back(CatalogueSection(installation));
    sections.push_back(UpgradeSection(installation));
    if (options.json) {
        std::cout << check::JsonReport(installation, sections);
    } else {
        check::WriteTextReport(std::cout, installation, sections);
    }
    std::cout.flush();
    return check::ExitStatus(sections);
}

} // namespace

int main(int argc, char** argv)
{
    // The report's bytes as they are: GBK text or UTF-8 JSON, lines ended by LF.
    _setmode(_fileno(stdout), _O_BINARY);
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: wscbs-check [--zone CODE] [--json] INSTALLATION\n";
        return check::kUnreadableInstallation;
    }
    try {
        return Run(*options);
    } catch (const std::exception& e) {
        std::cerr << "wscbs-check: " << e.what() << "\n";
        return check::kUnreadableInstallation;
    }
}
