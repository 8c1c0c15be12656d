#include "CheckReport.h"

namespace check {
namespace {

void WriteProblem(JsonWriter& json, const startup::PlanProblem& problem)
{
    json.BeginObject().Member("file", problem.file).Member("line", problem.line);
    json.Member("message", problem.message).EndObject();
}

} // namespace

std::string ProblemLine(const startup::PlanProblem& problem)
{
    // One problem, one line: a message of the module's own with a line
    // break ("错误代码：[0002]\r\n...") is joined with a blank.
    std::string message;
    for (std::size_t i = 0; i < problem.message.size(); ++i) {
        const char c = problem.message[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < problem.message.size() && problem.message[i + 1] == '\n')
                ++i;
            message += ' ';
        } else {
            message += c;
        }
    }
    if (problem.line == 0)
        return problem.file + ": " + message;
    return problem.file + ":" + std::to_string(problem.line) + ": " + message;
}

std::vector<startup::PlanProblem> AllProblems(const Sections& sections)
{
    std::vector<startup::PlanProblem> problems;
    for (const auto& section : sections)
        for (auto& problem : section->Problems())
            problems.push_back(std::move(problem));
    return problems;
}

int ExitStatus(const Sections& sections)
{
    return AllProblems(sections).empty() ? kClean : kProblemsFound;
}

void WriteTextReport(std::ostream& out, const CheckedInstallation& installation, const Sections& sections)
{
    out << "Installation " << installation.folder << " (" << installation.profileFile << ")\n";
    out << "  sub-application " << installation.subAppCode << ", version " << installation.version << ", folder "
        << installation.subAppFolder << "\n";
    out << "  host folder " << installation.hostFolder << "\n";
    if (!installation.databaseFile.empty())
        out << "  database " << installation.databaseFile << "\n";
    out << "  zone code " << installation.zoneCode << " (" << installation.zoneSource << ")\n";
    for (const auto& section : sections) {
        out << "\n== " << section->Title() << "\n";
        section->PrintText(out);
    }
    const std::vector<startup::PlanProblem> problems = AllProblems(sections);
    out << "\n== Problems: " << problems.size() << "\n";
    for (const auto& problem : problems)
        out << "  " << ProblemLine(problem) << "\n";
    out << (problems.empty() ? "The installation is clean.\n" : "The installation has problems.\n");
}

std::string JsonReport(const CheckedInstallation& installation, const Sections& sections)
{
    JsonWriter json;
    json.BeginObject();
    json.Key("installation").BeginObject();
    json.Member("folder", installation.folder).Member("profile", installation.profileFile);
    json.Member("hostFolder", installation.hostFolder).Member("subApp", installation.subAppCode);
    json.Member("subAppFolder", installation.subAppFolder).Member("version", installation.version);
    json.Member("database", installation.databaseFile).Member("databaseScript", installation.databaseScript);
    json.Member("zoneCode", installation.zoneCode).Member("zoneSource", installation.zoneSource);
    json.EndObject();
    json.Key("sections").BeginObject();
    for (const auto& section : sections) {
        json.Key(section->Key()).BeginObject();
        section->WriteJson(json);
        json.Key("problems").BeginArray();
        for (const auto& problem : section->Problems())
            WriteProblem(json, problem);
        json.EndArray().EndObject();
    }
    json.EndObject();
    const std::vector<startup::PlanProblem> problems = AllProblems(sections);
    json.Member("problemCount", problems.size());
    json.Member("exitStatus", problems.empty() ? kClean : kProblemsFound);
    json.EndObject();
    return json.Text();
}

} // namespace check
