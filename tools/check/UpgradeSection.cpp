#include "UpgradeSection.h"

namespace check {
namespace {

using State = startup::UpgradeFile::State;

class UpgradeSection final : public CheckSection {
public:
    explicit UpgradeSection(UpgradeCheck check) : check_(std::move(check)) {}

    std::string Key() const override { return "upgrade"; }
    std::string Title() const override { return "Database upgrade " + check_.file; }

    void PrintText(std::ostream& out) const override
    {
        if (check_.state == State::Missing) {
            out << "  no upgrade file: nothing runs\n";
            return;
        }
        if (check_.state == State::Unreadable) {
            out << "  the file cannot be read: nothing runs, the file stays\n";
            return;
        }
        const auto& statements = check_.plan.statements;
        out << "  " << statements.size() << " statements, " << Pending() << " to run, in this order:\n";
        for (std::size_t i = 0; i < statements.size(); ++i) {
            const auto& planned = statements[i];
            out << "  line " << planned.statement.line << "  " << Mark(i) << "  " << planned.statement.label << "="
                << planned.statement.statement << "\n";
        }
        for (const auto& empty : check_.plan.empty)
            out << "  line " << empty.line << "  skipped  " << empty.label << " (no statement)\n";
        if (!check_.trial.tried)
            out << "  not tried on the database: " << check_.trial.failure << "\n";
        else
            out << "  " << (AllSucceed() ? "every statement succeeds: the file is deleted after the run"
                                         : "a statement fails: the file stays and the start runs what is not done "
                                           "again next time")
                << "\n";
    }

    void WriteJson(JsonWriter& json) const override
    {
        static constexpr const char* kStates[] = {"missing", "unreadable", "read"};
        json.Member("file", check_.file).Member("state", kStates[static_cast<int>(check_.state)]);
        json.Member("database", check_.databaseFile).Member("tried", check_.trial.tried);
        json.Member("triedFailure", check_.trial.failure);
        json.Key("statements").BeginArray();
        for (std::size_t i = 0; i < check_.plan.statements.size(); ++i) {
            const auto& planned = check_.plan.statements[i];
            json.BeginObject().Member("line", planned.statement.line).Member("label", planned.statement.label);
            json.Member("statement", planned.statement.statement).Member("done", planned.done);
            json.Member("outcome", Mark(i));
            json.Member("databaseMessage", i < check_.trial.outcomes.size() && check_.trial.outcomes[i]
                                               ? *check_.trial.outcomes[i]
                                               : std::string());
            json.EndObject();
        }
        json.EndArray();
        json.Key("skipped").BeginArray();
        for (const auto& empty : check_.plan.empty)
            json.BeginObject().Member("line", empty.line).Member("label", empty.label).EndObject();
        json.EndArray();
        json.Member("fileDeleted", check_.state == State::Read && check_.trial.tried && AllSucceed());
    }

    std::vector<startup::PlanProblem> Problems() const override
    {
        std::vector<startup::PlanProblem> problems;
        if (check_.state == State::Unreadable) {
            problems.push_back({check_.file, 0,
                                "the upgrade file cannot be read (system error " + std::to_string(check_.error) +
                                    "): it stays and no statement runs"});
            return problems;
        }
        if (check_.state == State::Missing)
            return problems;
        problems = check_.plan.problems;
        if (!check_.trial.tried && Pending() > 0) {
            problems.push_back({check_.databaseFile.empty() ? check_.file : check_.databaseFile, 0,
                                "the statements cannot be tried: " + check_.trial.failure});
            return problems;
        }
        for (std::size_t i = 0; i < check_.plan.statements.size(); ++i) {
            const auto& outcome = Outcome(i);
            if (outcome && !outcome->empty())
                problems.push_back({check_.file, check_.plan.statements[i].statement.line,
                                    "the host's database refuses \"" + check_.plan.statements[i].statement.label +
                                        "\": " + *outcome + "; the file stays and it runs again at the next start"});
        }
        return problems;
    }

private:
    std::optional<std::string> Outcome(std::size_t i) const
    {
        return i < check_.trial.outcomes.size() ? check_.trial.outcomes[i] : std::nullopt;
    }

    std::size_t Pending() const
    {
        std::size_t pending = 0;
        for (const auto& planned : check_.plan.statements)
            pending += planned.done ? 0 : 1;
        return pending;
    }

    bool AllSucceed() const
    {
        for (std::size_t i = 0; i < check_.plan.statements.size(); ++i) {
            const auto outcome = Outcome(i);
            if (!check_.plan.statements[i].done && (!outcome || !outcome->empty()))
                return false;
        }
        return true;
    }

    std::string Mark(std::size_t i) const
    {
        if (check_.plan.statements[i].done)
            return "done";
        if (!check_.trial.tried)
            return "runs";
        const auto outcome = Outcome(i);
        return outcome && outcome->empty() ? "runs" : "fails";
    }

    UpgradeCheck check_;
};

} // namespace

std::unique_ptr<CheckSection> MakeUpgradeSection(UpgradeCheck check)
{
    return std::make_unique<UpgradeSection>(std::move(check));
}

} // namespace check
