#include "ActionSection.h"

namespace check {
namespace {

using startup::ActionKeyOutcome;

const char* OutcomeName(ActionKeyOutcome outcome)
{
    switch (outcome) {
    case ActionKeyOutcome::Added:
        return "add";
    case ActionKeyOutcome::Changed:
        return "change";
    case ActionKeyOutcome::Unchanged:
        break;
    }
    return "unchanged";
}

class ActionSection final : public CheckSection {
public:
    ActionSection(startup::ActionMergePlan plan, std::string readFailure)
        : plan_(std::move(plan)), readFailure_(std::move(readFailure))
    {
    }

    std::string Key() const override { return "action"; }
    std::string Title() const override { return "Action merge " + plan_.source + " into " + plan_.target; }

    void PrintText(std::ostream& out) const override
    {
        if (!readFailure_.empty()) {
            out << "  the merge fails: " << readFailure_ << "\n";
            return;
        }
        if (!plan_.sourcePresent) {
            out << "  no action.ini in the sub-application's folder: the host's file is not touched\n";
            return;
        }
        std::size_t unchanged = 0;
        for (const auto& write : plan_.writes) {
            if (write.outcome == ActionKeyOutcome::Unchanged) {
                ++unchanged;
                continue;
            }
            out << "  line " << write.sourceLine << "  " << OutcomeName(write.outcome) << "  [" << write.section
                << "] " << write.key << "=" << write.value;
            if (write.before)
                out << " (was " << *write.before << ")";
            out << "\n";
        }
        out << "  " << unchanged << " of " << plan_.writes.size() << " keys already stand so in the host's file";
        out << (plan_.changesTarget ? "\n" : ": the host's file stays as it is\n");
    }

    void WriteJson(JsonWriter& json) const override
    {
        json.Member("source", plan_.source).Member("target", plan_.target);
        json.Member("sourcePresent", plan_.sourcePresent).Member("readFailure", readFailure_);
        json.Member("changesTarget", plan_.changesTarget);
        json.Key("keys").BeginArray();
        for (const auto& write : plan_.writes) {
            json.BeginObject().Member("line", write.sourceLine).Member("section", write.section);
            json.Member("key", write.key).Member("value", write.value);
            json.Key("before");
            if (write.before)
                json.String(*write.before);
            else
                json.Null();
            json.Member("outcome", OutcomeName(write.outcome)).EndObject();
        }
        json.EndArray();
    }

    std::vector<startup::PlanProblem> Problems() const override
    {
        std::vector<startup::PlanProblem> problems = plan_.problems;
        if (!readFailure_.empty())
            problems.push_back({plan_.source, 0, "the merge fails: " + readFailure_});
        return problems;
    }

private:
    startup::ActionMergePlan plan_;
    std::string readFailure_;
};

} // namespace

std::unique_ptr<CheckSection> MakeActionSection(startup::ActionMergePlan plan, std::string readFailure)
{
    return std::make_unique<ActionSection>(std::move(plan), std::move(readFailure));
}

} // namespace check
