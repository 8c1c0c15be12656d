// f_SysDifference: applying the regional difference configuration.
#include "config/SysDifference.h"

#include "config/DifferenceParameterValue.h"
#include "util/FileUtil.h"
#include "config/GbkConverter.h"
#include "util/ModuleLog.h"
#include "config/SysDifferenceDocument.h"
#include "config/ZoneDirectories.h"
#include "host/HostServices.h"
#include "host/ValueObject.h"
#include "util/FileUtil.h"
#include "util/PathText.h"
#include "util/TextRules.h"

#include "sharedrt/RtError.h"
#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <vector>

namespace config {
namespace {

constexpr const char kGsKindDirectory[] = "GS_Differ";
constexpr const char kDsKindDirectory[] = "DS_Differ";
constexpr const char kVersionKey[] = "lastVersion";
constexpr const char kZoneKey[] = "lastRevenueCode";

std::string ConfigurationFault(const std::string& configPath, const char* position)
{
    return "差异化配置文件[" + configPath + "]配置有误：目标位置[" + position + "]！";
}

// The names in the difference directory, in the order the system lists
// them; hidden and system entries, "." and ".." left out. A missing
// directory has none; a listing that fails otherwise, at its start or on
// the way, sets `failed`.
std::vector<std::string> ScanDifferenceDirectory(const std::string& folder, bool& failed)
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

void StoreParameter(const DifferenceSite& site, const DifferenceParameter& parameter)
{
    switch (ParameterKindOf(parameter.type)) {
    case ParameterKind::Integer:
        host::SetInteger(site.vo, parameter.name, ParameterInteger(parameter.value));
        break;
    case ParameterKind::Boolean:
        host::SetBoolean(site.vo, parameter.name, ParameterBoolean(parameter.value, site.decimalSeparator));
        break;
    case ParameterKind::Float:
        host::SetFloat(site.vo, parameter.name, ParameterFloat(parameter.value, site.decimalSeparator));
        break;
    case ParameterKind::Text:
        host::SetString(site.vo, parameter.name, parameter.value);
        break;
    }
}

// The system's decimal separator (its number format); '.' when it cannot
// be read.
char SystemDecimalSeparator()
{
    char separator[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) > 1)
        return separator[0];
    return '.';
}

} // namespace

bool DifferenceChanged(const DifferenceSite& site, const std::string& zoneCode)
{
    const std::string lastVersion = site.readIni(site.RecordFile(), kDifferenceRecordSection, kVersionKey);
    const std::string lastZone = site.readIni(site.RecordFile(), kDifferenceRecordSection, kZoneKey);
    return !(zoneCode == lastZone && site.version == lastVersion);
}

bool CopyDifferenceItem(const DifferenceSite& site, const std::optional<std::string>& sourceFolder,
                        const std::string& name, const std::string& type, const std::string& targetDir)
{
    std::string target;
    if (targetDir.empty())
        target = site.subAppFolder;
    else if (targetDir.find(':') != std::string::npos)
        target = targetDir;
    else
        target = site.subAppFolder + targetDir;

    const std::string source = sourceFolder
                                   ? util::EnsureTrailingSeparator(site.DifferenceFolder() + *sourceFolder) + name
                                   : site.DifferenceFolder() + name;
    if (type == "0") {
        switch (util::QueryPathKind(source)) {
        case util::PathKind::File:
            break;
        case util::PathKind::Unknown:
            site.log("拷贝差异化文件" + source + "失败");
            return false;
        default:
            site.log("找不到差异化文件" + source);
            return false;
        }
        const std::string destination = util::EnsureTrailingSeparator(target) + name;
        if (!CopyFileA(source.c_str(), destination.c_str(), FALSE)) {
            site.log("拷贝差异化文件" + source + "失败");
            return false;
        }
        return true;
    }
    std::vector<std::string> notCopied;
    if (!util::CopyDirectoryTree(source, target, false, &notCopied)) {
        site.log("拷贝差异化目录" + source + "失败");
        return false;
    }
    // The tree copy goes on past a file it cannot copy; the item has still
    // failed, so that the next start copies it again.
    for (const std::string& path : notCopied)
        site.log("拷贝差异化文件" + path + "失败");
    return notCopied.empty();
}

bool ApplyDifferenceFile(const DifferenceSite& site, bool copyFiles, const std::optional<std::string>& zoneDirectory,
                         int kind)
{
    const std::string differenceFolder = site.DifferenceFolder();
    std::string prefix;
    std::optional<std::string> folder;
    std::string configPath;
    if (!zoneDirectory) {
        configPath = differenceFolder + kDifferenceFileName;
    } else {
        prefix = std::string(ZonePrefix(*zoneDirectory));
        folder = *zoneDirectory;
        const char* kindDirectory = kind == 1 ? kGsKindDirectory : kind == 2 ? kDsKindDirectory : nullptr;
        if (kindDirectory != nullptr) {
            // A kind directory whose presence cannot be told would apply
            // the wrong configuration: that is a failure, not an absence.
            const std::string kindPath = util::JoinPath(differenceFolder + *zoneDirectory, kindDirectory);
            const util::PathKind kindKind = util::QueryPathKind(kindPath);
            if (kindKind == util::PathKind::Unknown) {
                site.log("差异化配置文件[" + kindPath + "]有错误！");
                return false;
            }
            if (kindKind == util::PathKind::Directory)
                folder = util::JoinPath(*zoneDirectory, kindDirectory);
        }
        configPath = util::EnsureTrailingSeparator(differenceFolder + *folder) + kDifferenceFileName;
    }
    switch (util::QueryPathKind(configPath)) {
    case util::PathKind::File:
        break;
    case util::PathKind::Missing:
        return true;
    case util::PathKind::Directory:  // a configuration there that cannot be read
    case util::PathKind::Unknown:
        site.log("差异化配置文件[" + configPath + "]有错误！");
        return false;
    }

    bool result = true;
    try {
        const std::optional<SysDifferenceDocument> document =
            ParseSysDifference(util::ReadWholeFile(configPath), *site.converter);
        if (!document) {
            site.log("差异化配置文件[" + configPath + "]有错误！");
            return false;
        }
        if (!prefix.empty() && !util::EqualsIgnoreCase(document->zcode, prefix)) {
            site.log(ConfigurationFault(configPath, "ZCODE"));
            return false;
        }
        if (site.vo != nullptr) {
            for (const DifferenceParameter& parameter : document->parameters) {
                bool stored = false;
                if (parameter.readable) {
                    try {
                        StoreParameter(site, parameter);
                        stored = true;
                    } catch (...) {
                    }
                }
                if (!stored) {
                    result = false;
                    site.log(ConfigurationFault(configPath, "DIFF-PARAMETER"));
                }
            }
        }
        if (copyFiles) {
            for (const DifferenceFileItem& item : document->files) {
                if (!item.readable) {
                    result = false;
                    site.log(ConfigurationFault(configPath, "DIFF-FILE"));
                    continue;
                }
                try {
                    if (!CopyDifferenceItem(site, folder, item.name, item.type, item.targetDir)) {
                        result = false;
                        site.log("处理差异化配置文件[" + configPath + "]发生错误：拷贝文件失败！");
                    }
                } catch (...) {
                    result = false;
                    site.log(ConfigurationFault(configPath, "DIFF-FILE"));
                }
            }
        }
    } catch (...) {
        site.log("解析差异化配置文件[" + configPath + "]发生未知错误！");
        return false;
    }
    return result;
}

int ApplyDifferences(const DifferenceSite& site, const std::string& zoneCode, int stripSwitch, int kind)
{
    const bool changed = DifferenceChanged(site, zoneCode);
    int error = 0;
    if (!ApplyDifferenceFile(site, changed, std::nullopt, kind))
        error = 1;
    const std::string_view matchCode = ZoneMatchCode(zoneCode, stripSwitch);
    bool scanFailed = false;
    const std::vector<std::string> entries = ScanDifferenceDirectory(site.DifferenceFolder(), scanFailed);
    if (scanFailed) {
        site.log("差异化配置文件[" + site.DifferenceFolder() + "]有错误！");
        error = 1;
    }
    for (const ZoneDirectory& zone : SelectZoneDirectories(entries, matchCode)) {
        if (!ApplyDifferenceFile(site, changed, zone.name, kind))
            error = 1;
    }
    if (error == 0) {
        site.writeIni(site.RecordFile(), kDifferenceRecordSection, kVersionKey, site.version);
        site.writeIni(site.RecordFile(), kDifferenceRecordSection, kZoneKey, zoneCode);
        // The host's write gives no result: read back, so that a record that
        // did not reach the file is known (the next start applies again).
        if (DifferenceChanged(site, zoneCode)) {
            site.log("差异化配置已应用，但完成记录未能写入[" + site.RecordFile() + "]");
            error = 1;
        }
    }
    return error;
}

int ApplySysDifference(const std::string& zoneCode, int stripSwitch, rt::DataVO* vo, int kind)
{
    const std::string code = host::CurSubAppCode();
    DifferenceSite site;
    site.vo = vo != nullptr ? vo : host::CurSubAppVo();
    try {
        site.subAppFolder = host::RequiredSubAppPath(code);
        site.version = host::RequiredSubAppVersion(code);
    } catch (const rt::Error&) {
        // Logged; without its folder nothing can be applied or recorded, and
        // without its version nothing recorded.
        return 1;
    }
    site.decimalSeparator = SystemDecimalSeparator();
    site.log = [](const std::string& message) { util::WriteLogLine(message); };
    site.readIni = [](const std::string& file, const std::string& section, const std::string& key) {
        return host::ReadIniValue(file, section, key, "");
    };
    site.writeIni = [](const std::string& file, const std::string& section, const std::string& key,
                       const std::string& value) { host::WriteIniValue(file, section, key, value); };
    return ApplyDifferences(site, zoneCode, stripSwitch, kind);
}

} // namespace config
