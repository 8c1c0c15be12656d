// f_SysDifference: applying the regional difference configuration.
#include "startup/regional/SysDifference.h"

#include "startup/regional/DifferenceMessages.h"
#include "host/HostServices.h"
#include "host/ValueObject.h"
#include "util/FileUtil.h"
#include "util/ModuleLog.h"

#include "sharedrt/RtError.h"
#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <vector>

namespace startup {
namespace {

namespace messages = difference_messages;

class SystemFiles final : public DifferenceFiles {
public:
    util::PathKind Kind(const std::string& path) const override { return util::QueryPathKind(path); }

    std::optional<std::string> Read(const std::string& path) const override
    {
        std::string content;
        if (util::ReadWholeFileChecked(path, content) != 0)
            return std::nullopt;
        return content;
    }

    std::vector<std::string> List(const std::string& folder, bool& failed) const override
    {
        failed = false;
        std::vector<std::string> names;
        WIN32_FIND_DATAA entry;
        rt::unique_hfind find(FindFirstFileA((folder + "*.*").c_str(), &entry));
        if (!find) {
            const DWORD error = GetLastError();
            failed = error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_NO_MORE_FILES;
            return names;
        }
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0)
                continue;
            names.push_back(name);
        } while (FindNextFileA(find.get(), &entry));
        failed = GetLastError() != ERROR_NO_MORE_FILES;
        return names;
    }
};

void StoreParameter(rt::DataVO* vo, const PlannedParameter& parameter)
{
    switch (parameter.kind) {
    case ParameterKind::Integer:
        host::SetInteger(vo, parameter.name, parameter.integerValue);
        break;
    case ParameterKind::Boolean:
        host::SetBoolean(vo, parameter.name, parameter.booleanValue);
        break;
    case ParameterKind::Float:
        host::SetFloat(vo, parameter.name, parameter.floatValue);
        break;
    case ParameterKind::Text:
        host::SetString(vo, parameter.name, parameter.value);
        break;
    }
}

// Copies one item. False, after logging why, when the copy failed; a
// missing source directory raises rt::IoError.
bool CopyPlannedItem(const DifferenceSite& site, const PlannedCopy& copy)
{
    if (copy.kind == CopyKind::File) {
        switch (util::QueryPathKind(copy.source)) {
        case util::PathKind::File:
            break;
        case util::PathKind::Unknown:
            site.log(messages::FileNotCopied(copy.source));
            return false;
        default:
            site.log(messages::SourceFileMissing(copy.source));
            return false;
        }
        if (!CopyFileA(copy.source.c_str(), copy.destination.c_str(), FALSE)) {
            site.log(messages::FileNotCopied(copy.source));
            return false;
        }
        return true;
    }
    std::vector<std::string> notCopied;
    if (!util::CopyDirectoryTree(copy.source, copy.target, false, &notCopied)) {
        site.log(messages::DirectoryNotCopied(copy.source));
        return false;
    }
    // The tree copy goes on past a file it cannot copy; the item has still
    // failed, so that the next start copies it again.
    for (const std::string& path : notCopied)
        site.log(messages::FileNotCopied(path));
    return notCopied.empty();
}

// Applies one part of the plan. True when everything in it was applied (a
// missing configuration is nothing to apply).
bool ApplyPlannedFolder(const DifferencePlan& plan, std::size_t index, const DifferenceSite& site)
{
    const PlannedFolder& folder = plan.folders[index];
    if (folder.stop) {
        site.log(folder.stop->message);
        return false;
    }
    if (!folder.configExists)
        return true;
    const std::string& configPath = folder.configPath;
    bool result = true;
    try {
        if (site.vo != nullptr) {
            for (const PlannedParameter& parameter : plan.parameters) {
                if (parameter.folder != index)
                    continue;
                bool stored = false;
                if (!parameter.problem) {
                    try {
                        StoreParameter(site.vo, parameter);
                        stored = true;
                    } catch (...) {
                    }
                }
                if (!stored) {
                    result = false;
                    site.log(messages::Misconfigured(configPath, "DIFF-PARAMETER"));
                }
            }
        }
        if (plan.copiesFiles) {
            for (const PlannedCopy& copy : plan.copies) {
                if (copy.folder != index)
                    continue;
                if (copy.problem) {
                    result = false;
                    site.log(copy.problem->message);
                    continue;
                }
                try {
                    if (!CopyPlannedItem(site, copy)) {
                        result = false;
                        site.log(messages::CopyFailed(configPath));
                    }
                } catch (...) {
                    result = false;
                    site.log(messages::Misconfigured(configPath, "DIFF-FILE"));
                }
            }
        }
    } catch (...) {
        site.log(messages::UnknownFailure(configPath));
        return false;
    }
    return result;
}

} // namespace

const DifferenceFiles& SystemDifferenceFiles()
{
    static const SystemFiles files;
    return files;
}

char SystemDecimalSeparator()
{
    char separator[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) > 1)
        return separator[0];
    return '.';
}

DifferenceSite HostDifferenceSite(const std::string& subAppFolder, const std::string& version, rt::DataVO* vo)
{
    DifferenceSite site;
    site.subAppFolder = subAppFolder;
    site.version = version;
    site.vo = vo;
    site.decimalSeparator = SystemDecimalSeparator();
    site.log = [](const std::string& message) { util::WriteLogLine(message); };
    site.readIni = [](const std::string& file, const std::string& section, const std::string& key) {
        return host::ReadIniValue(file, section, key, "");
    };
    site.writeIni = [](const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) { host::WriteIniValue(file, section, key, value); };
    return site;
}

int ApplySysDifferencePlan(const DifferencePlan& plan, const DifferenceSite& site)
{
    int error = 0;
    for (std::size_t index = 0; index < plan.folders.size(); ++index) {
        if (!ApplyPlannedFolder(plan, index, site))
            error = 1;
        // The difference directory is listed after the general part.
        if (index == 0 && plan.scanProblem) {
            site.log(plan.scanProblem->message);
            error = 1;
        }
    }
    if (error == 0) {
        site.writeIni(plan.recordFile, kDifferenceRecordSection, kDifferenceVersionKey, plan.version);
        site.writeIni(plan.recordFile, kDifferenceRecordSection, kDifferenceZoneKey, plan.zoneCode);
        // The host's write gives no result: read back, so that a record that
        // did not reach the file is known (the next start applies again).
        if (DifferenceChanged(site, plan.zoneCode)) {
            site.log(messages::RecordNotWritten(plan.recordFile));
            error = 1;
        }
    }
    return error;
}

int ApplyDifferences(const DifferenceSite& site, const std::string& zoneCode, int stripSwitch, int kind)
{
    return ApplySysDifferencePlan(
        PlanSysDifference(site, SystemDifferenceFiles(), zoneCode, stripSwitch, kind, CopiesNotMade::LeftOut), site);
}

int ApplySysDifference(const std::string& zoneCode, int stripSwitch, rt::DataVO* vo, int kind)
{
    const std::string code = host::CurSubAppCode();
    rt::DataVO* target = vo != nullptr ? vo : host::CurSubAppVo();
    std::string folder;
    std::string version;
    try {
        folder = host::RequiredSubAppPath(code);
        version = host::RequiredSubAppVersion(code);
    } catch (const rt::Error&) {
        // Logged; without its folder nothing can be applied or recorded, and
        // without its version nothing recorded.
        return 1;
    }
    return ApplyDifferences(HostDifferenceSite(folder, version, target), zoneCode, stripSwitch, kind);
}

} // namespace startup
