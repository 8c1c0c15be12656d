#include "startup/regional/SysDifferencePlan.h"

#include "startup/regional/DifferenceMessages.h"
#include "startup/regional/SysDifferenceDocument.h"
#include "startup/regional/ZoneDirectories.h"
#include "host/ValueObject.h"
#include "util/PathText.h"
#include "text/TextRules.h"

#include <unordered_map>

namespace startup {
namespace {

namespace messages = difference_messages;

constexpr const char kGsKindDirectory[] = "GS_Differ";
constexpr const char kDsKindDirectory[] = "DS_Differ";

DifferenceProblem Problem(const std::string& file, std::uint32_t line, std::string message, std::string detail = {})
{
    return DifferenceProblem{file, line, std::move(message), std::move(detail)};
}

// An item whose texts do not convert to GBK: the configuration is wrong at
// its element.
DifferenceProblem NotReadable(const std::string& configPath, std::uint32_t line, const char* element)
{
    return Problem(configPath, line, messages::Misconfigured(configPath, element), "its texts do not convert to GBK");
}

void PlanParameter(const DifferenceSite& site, DifferencePlan& plan, std::size_t folderIndex,
                   const std::string& configPath, const DifferenceParameter& read)
{
    PlannedParameter parameter;
    parameter.folder = folderIndex;
    parameter.line = read.line;
    if (!read.readable) {
        parameter.problem = NotReadable(configPath, read.line, "DIFF-PARAMETER");
        plan.parameters.push_back(std::move(parameter));
        return;
    }
    parameter.name = read.name;
    parameter.type = read.type;
    parameter.value = read.value;
    parameter.kind = ParameterKindOf(read.type);
    switch (parameter.kind) {
    case ParameterKind::Integer:
        parameter.integerValue = ParameterInteger(read.value);
        break;
    case ParameterKind::Boolean:
        parameter.booleanValue = ParameterBoolean(read.value, site.decimalSeparator);
        break;
    case ParameterKind::Float:
        parameter.floatValue = ParameterFloat(read.value, site.decimalSeparator);
        break;
    case ParameterKind::Text:
        break;
    }
    plan.parameters.push_back(std::move(parameter));
}

// A later store of the same item name replaces the earlier value: links
// each stored parameter with the one it replaces.
void LinkOverrides(std::vector<PlannedParameter>& parameters)
{
    std::unordered_map<std::string, std::size_t> lastStored;
    for (std::size_t index = 0; index < parameters.size(); ++index) {
        PlannedParameter& parameter = parameters[index];
        if (parameter.problem)
            continue;
        const auto [last, first] = lastStored.try_emplace(host::ItemNameKey(parameter.name), index);
        if (!first) {
            parameter.overrides = last->second;
            parameters[last->second].overriddenBy = index;
            last->second = index;
        }
    }
}

std::string PathKey(std::string_view path)
{
    std::string key(util::RemoveTrailingSeparator(path));
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return key;
}

// Whether `directory` is there when the copies planned so far have run: it
// exists, or a directory copy before it makes it (the copy creates its
// target with the target's parents, and the source's sub-directories in it).
bool DirectoryThereAtCopy(const DifferencePlan& plan, const DifferenceFiles& files, const std::string& directory)
{
    if (files.Kind(std::string(util::RemoveTrailingSeparator(directory))) == util::PathKind::Directory)
        return true;
    const std::string wanted = PathKey(directory);
    for (const PlannedCopy& earlier : plan.copies) {
        if (earlier.kind != CopyKind::Directory || earlier.problem || !earlier.SourceExists())
            continue;
        const std::string made = PathKey(earlier.target);
        if (made == wanted || (made.size() > wanted.size() && made.rfind(wanted + "\\", 0) == 0))
            return true;
        if (wanted.size() > made.size() && wanted.rfind(made + "\\", 0) == 0 &&
            files.Kind(util::JoinPath(earlier.source, std::string_view(directory).substr(made.size() + 1))) ==
                util::PathKind::Directory)
            return true;
    }
    return false;
}

void PlanCopy(const DifferenceSite& site, const DifferenceFiles& files, DifferencePlan& plan, std::size_t folderIndex,
              const PlannedFolder& folder, const DifferenceFileItem& read)
{
    PlannedCopy copy;
    copy.folder = folderIndex;
    copy.line = read.line;
    const std::string& configPath = folder.configPath;
    if (!read.readable) {
        copy.problem = NotReadable(configPath, read.line, "DIFF-FILE");
        plan.copies.push_back(std::move(copy));
        return;
    }
    copy.name = read.name;
    copy.type = read.type;
    copy.targetDir = read.targetDir;
    copy.kind = read.type == "0" ? CopyKind::File : CopyKind::Directory;
    CopyPaths paths = DifferenceCopyPaths(site, folder.sourceFolder, read.name, read.targetDir);
    copy.source = std::move(paths.source);
    copy.target = std::move(paths.target);
    copy.destination = copy.kind == CopyKind::File ? util::EnsureTrailingSeparator(copy.target) + copy.name : copy.target;
    copy.sourceKind = files.Kind(copy.source);
    copy.targetExists = DirectoryThereAtCopy(plan, files, copy.target);
    const auto expect = [&](std::string message, const char* detail) {
        copy.expected.push_back(Problem(configPath, read.line, std::move(message), detail));
    };
    if (copy.kind == CopyKind::File) {
        switch (copy.sourceKind) {
        case util::PathKind::File:
            if (!copy.targetExists) {
                expect(messages::FileNotCopied(copy.source), "the target directory does not exist");
                expect(messages::CopyFailed(configPath), "");
            }
            break;
        case util::PathKind::Unknown:
            expect(messages::FileNotCopied(copy.source), "the source file cannot be told apart from a missing one");
            expect(messages::CopyFailed(configPath), "");
            break;
        case util::PathKind::Missing:
        case util::PathKind::Directory:
            expect(messages::SourceFileMissing(copy.source), "the source file does not exist");
            expect(messages::CopyFailed(configPath), "");
            break;
        }
    } else if (copy.sourceKind != util::PathKind::Directory) {
        // The tree copy refuses a source that is no directory with an error.
        expect(messages::Misconfigured(configPath, "DIFF-FILE"), "the source directory does not exist");
    }
    plan.copies.push_back(std::move(copy));
}

// Reads one configuration file into the plan: the folder, and when it
// applies its parameters and copies.
void PlanFolder(const DifferenceSite& site, const DifferenceFiles& files, DifferencePlan& plan,
                const std::optional<std::string>& zoneDirectory, int kind)
{
    PlannedFolder folder;
    folder.zoneDirectory = zoneDirectory;
    const std::size_t folderIndex = plan.folders.size();
    const auto finish = [&] { plan.folders.push_back(std::move(folder)); };
    if (!zoneDirectory) {
        folder.configPath = plan.differenceFolder + kDifferenceFileName;
    } else {
        folder.prefix = std::string(ZonePrefix(*zoneDirectory));
        folder.sourceFolder = *zoneDirectory;
        folder.configPath = util::EnsureTrailingSeparator(plan.differenceFolder + *zoneDirectory) + kDifferenceFileName;
        const char* kindDirectory = kind == 1 ? kGsKindDirectory : kind == 2 ? kDsKindDirectory : nullptr;
        if (kindDirectory != nullptr) {
            // A kind directory whose presence cannot be told would apply
            // the wrong configuration: that is a failure, not an absence.
            const std::string kindPath = util::JoinPath(plan.differenceFolder + *zoneDirectory, kindDirectory);
            const util::PathKind kindKind = files.Kind(kindPath);
            if (kindKind == util::PathKind::Unknown) {
                folder.stop = Problem(kindPath, 0, messages::Unreadable(kindPath),
                                      "whether the kind directory exists cannot be told");
                return finish();
            }
            if (kindKind == util::PathKind::Directory) {
                folder.kindDirectory = kindDirectory;
                folder.sourceFolder = util::JoinPath(*zoneDirectory, kindDirectory);
                folder.configPath =
                    util::EnsureTrailingSeparator(plan.differenceFolder + *folder.sourceFolder) + kDifferenceFileName;
            }
        }
    }
    const std::string& configPath = folder.configPath;
    // Most configuration files are there: each is read straight away, and
    // what stands at its path is looked at only when it cannot be read.
    std::optional<std::string> bytes;
    try {
        bytes = files.Read(configPath);
    } catch (...) {
        folder.configExists = true;
        folder.stop = Problem(configPath, 0, messages::UnknownFailure(configPath));
        return finish();
    }
    if (!bytes) {
        const char* why = nullptr;
        switch (files.Kind(configPath)) {
        case util::PathKind::Missing:
            return finish();
        case util::PathKind::Directory:
            why = "a directory, not a file";
            break;
        case util::PathKind::Unknown:
            why = "the file cannot be looked at";
            break;
        case util::PathKind::File:
            why = "the file cannot be read";
            break;
        }
        folder.configExists = true;
        folder.stop = Problem(configPath, 0, messages::Unreadable(configPath), why);
        return finish();
    }
    folder.configExists = true;

    try {
        xml::XmlParseFailure failure;
        const std::optional<SysDifferenceDocument> document = ParseSysDifference(*bytes, *site.converter, &failure);
        if (!document) {
            folder.stop = Problem(configPath, failure.line, messages::Unreadable(configPath), failure.reason);
            return finish();
        }
        folder.zcode = document->zcode;
        folder.zcodeLine = document->rootLine;
        if (!folder.prefix.empty()) {
            if (!text::EqualsIgnoreCase(document->zcode, folder.prefix)) {
                folder.zcodeCheck = ZcodeCheck::Differs;
                folder.stop = Problem(configPath, document->rootLine, messages::Misconfigured(configPath, "ZCODE"),
                                      "ZCODE \"" + document->zcode + "\" is not the directory's prefix \"" +
                                          folder.prefix + "\"");
                return finish();
            }
            folder.zcodeCheck = ZcodeCheck::Matches;
        }
        finish();
        if (plan.storesParameters) {
            for (const DifferenceParameter& parameter : document->parameters)
                PlanParameter(site, plan, folderIndex, configPath, parameter);
        }
        if (plan.copiesFiles || plan.copiesNotMade == CopiesNotMade::Planned) {
            for (const DifferenceFileItem& item : document->files)
                PlanCopy(site, files, plan, folderIndex, plan.folders[folderIndex], item);
        }
    } catch (...) {
        // Whatever else fails while reading it: the module gives up the
        // file with its own message, having applied none of it.
        if (plan.folders.size() == folderIndex)
            finish();
        PlannedFolder& planned = plan.folders[folderIndex];
        planned.stop = Problem(configPath, 0, messages::UnknownFailure(configPath));
        std::erase_if(plan.parameters, [&](const PlannedParameter& p) { return p.folder == folderIndex; });
        std::erase_if(plan.copies, [&](const PlannedCopy& c) { return c.folder == folderIndex; });
    }
}

} // namespace

CopyPaths DifferenceCopyPaths(const DifferenceSite& site, const std::optional<std::string>& sourceFolder,
                              const std::string& name, const std::string& targetDir)
{
    CopyPaths paths;
    if (targetDir.empty())
        paths.target = site.subAppFolder;
    else if (targetDir.find(':') != std::string::npos)
        paths.target = targetDir;
    else
        paths.target = site.subAppFolder + targetDir;
    paths.source = sourceFolder ? util::EnsureTrailingSeparator(site.DifferenceFolder() + *sourceFolder) + name
                                : site.DifferenceFolder() + name;
    return paths;
}

bool DifferenceChanged(const DifferenceSite& site, const std::string& zoneCode)
{
    const std::string lastVersion = site.readIni(site.RecordFile(), kDifferenceRecordSection, kDifferenceVersionKey);
    const std::string lastZone = site.readIni(site.RecordFile(), kDifferenceRecordSection, kDifferenceZoneKey);
    return !(zoneCode == lastZone && site.version == lastVersion);
}

DifferencePlan PlanSysDifference(const DifferenceSite& site, const DifferenceFiles& files, const std::string& zoneCode,
                                 int stripSwitch, int kind, CopiesNotMade copiesNotMade)
{
    DifferencePlan plan;
    plan.zoneCode = zoneCode;
    plan.stripSwitch = stripSwitch;
    plan.kind = kind;
    plan.subAppFolder = site.subAppFolder;
    plan.differenceFolder = site.DifferenceFolder();
    plan.recordFile = site.RecordFile();
    plan.version = site.version;
    plan.lastVersion = site.readIni(plan.recordFile, kDifferenceRecordSection, kDifferenceVersionKey);
    plan.lastZoneCode = site.readIni(plan.recordFile, kDifferenceRecordSection, kDifferenceZoneKey);
    plan.copiesFiles = !(zoneCode == plan.lastZoneCode && site.version == plan.lastVersion);
    plan.copiesNotMade = copiesNotMade;
    plan.storesParameters = site.vo != nullptr;

    PlanFolder(site, files, plan, std::nullopt, kind);
    plan.matchCode = std::string(ZoneMatchCode(zoneCode, stripSwitch));
    bool scanFailed = false;
    const std::vector<std::string> entries = files.List(plan.differenceFolder, scanFailed);
    if (scanFailed)
        plan.scanProblem = Problem(plan.differenceFolder, 0, messages::Unreadable(plan.differenceFolder),
                                   "the directory cannot be listed");
    for (const ZoneDirectory& zone : SelectZoneDirectories(entries, plan.matchCode))
        PlanFolder(site, files, plan, zone.name, kind);
    LinkOverrides(plan.parameters);
    return plan;
}

std::vector<DifferenceProblem> PlannedProblems(const DifferencePlan& plan)
{
    std::vector<DifferenceProblem> problems;
    for (std::size_t index = 0; index < plan.folders.size(); ++index) {
        const PlannedFolder& folder = plan.folders[index];
        if (folder.stop) {
            problems.push_back(*folder.stop);
        } else {
            for (const PlannedParameter& parameter : plan.parameters) {
                if (parameter.folder == index && parameter.problem)
                    problems.push_back(*parameter.problem);
            }
            for (const PlannedCopy& copy : plan.copies) {
                if (copy.folder != index || !plan.copiesFiles)
                    continue;
                if (copy.problem)
                    problems.push_back(*copy.problem);
                problems.insert(problems.end(), copy.expected.begin(), copy.expected.end());
            }
        }
        // The directory is listed after the general part.
        if (index == 0 && plan.scanProblem)
            problems.push_back(*plan.scanProblem);
    }
    return problems;
}

std::vector<const PlannedParameter*> FinalParameters(const DifferencePlan& plan)
{
    std::vector<const PlannedParameter*> final;
    for (const PlannedParameter& parameter : plan.parameters) {
        if (parameter.problem || parameter.overrides)
            continue;
        const PlannedParameter* last = &parameter;
        while (last->overriddenBy)
            last = &plan.parameters[*last->overriddenBy];
        final.push_back(last);
    }
    return final;
}

} // namespace startup
