#include "DifferenceSection.h"

#include "startup/regional/SysDifferenceReport.h"

namespace check {
namespace {

// A plan index (0-based) as the report numbers it, or null.
void Reference(JsonWriter& json, std::string_view key, const std::optional<std::size_t>& index)
{
    json.Key(key);
    if (index)
        json.Number(static_cast<std::int64_t>(*index + 1));
    else
        json.Null();
}

void WriteStoredValue(JsonWriter& json, const startup::PlannedParameter& parameter)
{
    json.Key("stored");
    switch (parameter.kind) {
    case startup::ParameterKind::Integer:
        json.Number(static_cast<std::int64_t>(parameter.integerValue));
        break;
    case startup::ParameterKind::Boolean:
        json.Bool(parameter.booleanValue);
        break;
    case startup::ParameterKind::Float:
        json.Float(parameter.floatValue);
        break;
    case startup::ParameterKind::Text:
        json.String(parameter.value);
        break;
    }
}

class DifferenceSection final : public CheckSection {
public:
    DifferenceSection(startup::DifferencePlan plan, std::vector<std::string> regionDirectories)
        : plan_(std::move(plan)), regionDirectories_(std::move(regionDirectories))
    {
    }

    std::string Key() const override { return "differences"; }
    std::string Title() const override { return "Regional differences " + plan_.differenceFolder; }

    void PrintText(std::ostream& out) const override { startup::WriteDifferencePlanText(out, plan_); }

    void WriteJson(JsonWriter& json) const override
    {
        json.Member("zoneCode", plan_.zoneCode).Member("matchCode", plan_.matchCode);
        json.Member("stripSwitch", plan_.stripSwitch).Member("kind", plan_.kind);
        json.Member("differenceFolder", plan_.differenceFolder).Member("recordFile", plan_.recordFile);
        json.Member("version", plan_.version);
        json.Member("lastVersion", plan_.lastVersion).Member("lastZoneCode", plan_.lastZoneCode);
        json.Member("copiesFiles", plan_.copiesFiles).Member("storesParameters", plan_.storesParameters);
        bool anything = false;
        for (const auto& folder : plan_.folders)
            anything = anything || folder.Applies();
        json.Member("appliesAnything", anything);

        json.Key("parts").BeginArray();
        for (std::size_t i = 0; i < plan_.folders.size(); ++i) {
            const startup::PlannedFolder& folder = plan_.folders[i];
            json.BeginObject().Member("part", i + 1).Member("name", startup::PartName(folder));
            json.Key("zoneDirectory");
            if (folder.zoneDirectory)
                json.String(*folder.zoneDirectory);
            else
                json.Null();
            json.Member("prefix", folder.prefix).Member("kindDirectory", folder.kindDirectory);
            json.Member("configFile", folder.configPath).Member("configExists", folder.configExists);
            json.Member("zcode", folder.zcode).Member("zcodeCheck", startup::ZcodeCheckName(folder.zcodeCheck));
            json.Member("zcodeLine", folder.zcodeLine).Member("applies", folder.Applies());
            json.EndObject();
        }
        json.EndArray();

        json.Key("parameters").BeginArray();
        for (std::size_t i = 0; i < plan_.parameters.size(); ++i) {
            const startup::PlannedParameter& parameter = plan_.parameters[i];
            json.BeginObject().Member("index", i + 1).Member("part", parameter.folder + 1);
            json.Member("line", parameter.line).Member("readable", !parameter.problem);
            json.Member("name", parameter.name).Member("type", parameter.type);
            json.Member("kind", startup::ParameterKindName(parameter.kind)).Member("value", parameter.value);
            WriteStoredValue(json, parameter);
            Reference(json, "replaces", parameter.overrides);
            Reference(json, "replacedBy", parameter.overriddenBy);
            json.Member("final", !parameter.problem && !parameter.overriddenBy);
            json.EndObject();
        }
        json.EndArray();

        json.Key("copies").BeginArray();
        for (std::size_t i = 0; i < plan_.copies.size(); ++i) {
            const startup::PlannedCopy& copy = plan_.copies[i];
            json.BeginObject().Member("index", i + 1).Member("part", copy.folder + 1);
            json.Member("line", copy.line).Member("readable", !copy.problem);
            json.Member("kind", startup::CopyKindName(copy.kind)).Member("name", copy.name);
            json.Member("type", copy.type).Member("targetDir", copy.targetDir);
            json.Member("source", copy.source).Member("target", copy.target).Member("destination", copy.destination);
            json.Member("sourceExists", copy.SourceExists()).Member("targetExists", copy.targetExists);
            json.EndObject();
        }
        json.EndArray();
    }

    std::vector<startup::PlanProblem> Problems() const override
    {
        std::vector<startup::PlanProblem> problems = DifferenceProblems(plan_);
        if (auto unmatched = UnmatchedZoneProblem(plan_, regionDirectories_))
            problems.push_back(std::move(*unmatched));
        return problems;
    }

private:
    startup::DifferencePlan plan_;
    std::vector<std::string> regionDirectories_;
};

} // namespace

std::vector<startup::PlanProblem> DifferenceProblems(const startup::DifferencePlan& plan)
{
    std::vector<startup::PlanProblem> problems;
    for (const startup::DifferenceProblem& problem : startup::PlannedProblems(plan)) {
        std::string message = problem.message;
        if (!problem.detail.empty())
            message += " (" + problem.detail + ")";
        problems.push_back({problem.file, problem.line, std::move(message)});
    }
    return problems;
}

std::optional<startup::PlanProblem> UnmatchedZoneProblem(const startup::DifferencePlan& plan,
                                                        const std::vector<std::string>& regionDirectories)
{
    if (regionDirectories.empty())
        return std::nullopt;
    for (const auto& folder : plan.folders)
        if (folder.zoneDirectory)
            return std::nullopt;
    std::string names;
    for (const auto& name : regionDirectories)
        names += (names.empty() ? "" : ", ") + name;
    return startup::PlanProblem{plan.differenceFolder, 0,
                               "zone code " + plan.zoneCode + " (matched as " + plan.matchCode +
                                   ") matches no region directory (" + names +
                                   "): the start applies the general part alone"};
}

std::unique_ptr<CheckSection> MakeDifferenceSection(startup::DifferencePlan plan,
                                                    std::vector<std::string> regionDirectories)
{
    return std::make_unique<DifferenceSection>(std::move(plan), std::move(regionDirectories));
}

} // namespace check
