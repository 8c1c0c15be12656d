#include "startup/regional/SysDifferenceReport.h"

#include <charconv>

namespace startup {
namespace {

// A path under `base` relative to it; any other path as it is.
std::string Shown(const std::string& path, const std::string& base)
{
    if (!base.empty() && path.size() > base.size() && path.compare(0, base.size(), base) == 0)
        return path.substr(base.size());
    return path;
}

const char* KindDirectoryName(int kind) noexcept
{
    return kind == 1 ? "GS_Differ" : kind == 2 ? "DS_Differ" : "no kind directory";
}

void WriteFolder(std::ostream& out, const DifferencePlan& plan, std::size_t index)
{
    const PlannedFolder& folder = plan.folders[index];
    out << "    " << index + 1 << ". " << PartName(folder) << "  " << Shown(folder.configPath, plan.subAppFolder);
    if (!folder.configExists && !folder.stop) {
        out << "  missing: nothing to apply\n";
        return;
    }
    if (folder.zcodeCheck == ZcodeCheck::Matches)
        out << "  ZCODE " << folder.zcode << " matches";
    else if (folder.zcodeCheck == ZcodeCheck::Differs)
        out << "  ZCODE \"" << folder.zcode << "\" is not " << folder.prefix;
    if (folder.stop)
        out << "  not applied (line " << folder.stop->line << ")";
    out << "\n";
}

void WriteParameter(std::ostream& out, const DifferencePlan& plan, std::size_t index)
{
    const PlannedParameter& parameter = plan.parameters[index];
    out << "    #" << index + 1 << " ";
    if (parameter.problem) {
        out << "unreadable  part " << parameter.folder + 1 << " line " << parameter.line << "\n";
        return;
    }
    out << parameter.name << " = " << StoredValueText(parameter) << " (" << ParameterKindName(parameter.kind);
    if (parameter.kind != ParameterKind::Text && parameter.value != StoredValueText(parameter))
        out << " from \"" << parameter.value << "\"";
    out << ")  part " << parameter.folder + 1 << " line " << parameter.line;
    if (parameter.overrides)
        out << ", replaces #" << *parameter.overrides + 1;
    if (parameter.overriddenBy)
        out << ", replaced by #" << *parameter.overriddenBy + 1;
    out << "\n";
}

void WriteCopy(std::ostream& out, const DifferencePlan& plan, std::size_t index)
{
    const PlannedCopy& copy = plan.copies[index];
    out << "    #" << index + 1 << " ";
    if (copy.problem) {
        out << "unreadable  part " << copy.folder + 1 << " line " << copy.line << "\n";
        return;
    }
    out << CopyKindName(copy.kind) << " " << copy.name << " -> " << Shown(copy.destination, plan.subAppFolder)
        << "  part " << copy.folder + 1 << " line " << copy.line;
    if (!copy.SourceExists())
        out << ", source missing";
    else if (copy.kind == CopyKind::File && !copy.targetExists)
        out << ", target directory missing";
    out << "\n";
}

} // namespace

const char* ParameterKindName(ParameterKind kind) noexcept
{
    switch (kind) {
    case ParameterKind::Integer:
        return "integer";
    case ParameterKind::Boolean:
        return "boolean";
    case ParameterKind::Float:
        return "float";
    case ParameterKind::Text:
        break;
    }
    return "text";
}

const char* CopyKindName(CopyKind kind) noexcept { return kind == CopyKind::File ? "file" : "directory"; }

const char* ZcodeCheckName(ZcodeCheck check) noexcept
{
    switch (check) {
    case ZcodeCheck::Matches:
        return "matches";
    case ZcodeCheck::Differs:
        return "differs";
    case ZcodeCheck::NotChecked:
        break;
    }
    return "not checked";
}

std::string StoredValueText(const PlannedParameter& parameter)
{
    switch (parameter.kind) {
    case ParameterKind::Integer:
        return std::to_string(parameter.integerValue);
    case ParameterKind::Boolean:
        return parameter.booleanValue ? "true" : "false";
    case ParameterKind::Float: {
        // The shortest text that reads back as the same number.
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, parameter.floatValue).ptr;
        return std::string(text, end);
    }
    case ParameterKind::Text:
        break;
    }
    return parameter.value;
}

std::string PartName(const PlannedFolder& folder)
{
    if (!folder.zoneDirectory)
        return "general part";
    return folder.kindDirectory.empty() ? *folder.zoneDirectory : *folder.zoneDirectory + "\\" + folder.kindDirectory;
}

void WriteDifferencePlanText(std::ostream& out, const DifferencePlan& plan)
{
    out << "  zone code " << plan.zoneCode << ", regions matched against " << plan.matchCode << "; kind "
        << plan.kind << " (" << KindDirectoryName(plan.kind) << ")\n";
    out << "  version " << plan.version << "; cookie.ini records ";
    if (plan.lastVersion.empty() && plan.lastZoneCode.empty())
        out << "none";
    else
        out << "version " << plan.lastVersion << ", zone " << plan.lastZoneCode;
    out << ": parameters " << (plan.storesParameters ? "stored" : "not stored (no value object)") << ", files "
        << (plan.copiesFiles ? "copied" : "not copied (version and zone unchanged)") << "\n";

    std::size_t applying = 0;
    out << "  parts, in the order they are applied:\n";
    for (std::size_t index = 0; index < plan.folders.size(); ++index) {
        WriteFolder(out, plan, index);
        applying += plan.folders[index].Applies() ? 1 : 0;
    }
    if (applying == 0)
        out << "  nothing applies: no part of the configuration fits this zone\n";
    if (!plan.parameters.empty()) {
        out << "  parameters:\n";
        for (std::size_t index = 0; index < plan.parameters.size(); ++index)
            WriteParameter(out, plan, index);
    }
    if (!plan.copies.empty()) {
        out << (plan.copiesFiles ? "  copies:\n" : "  copies (not made this time):\n");
        for (std::size_t index = 0; index < plan.copies.size(); ++index)
            WriteCopy(out, plan, index);
    }
}

} // namespace startup
