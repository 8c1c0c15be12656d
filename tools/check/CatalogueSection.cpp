#include "CatalogueSection.h"

namespace check {
namespace {

class CatalogueSection final : public CheckSection {
public:
    explicit CatalogueSection(startup::ErrorCataloguePlan plan) : plan_(std::move(plan)) {}

    std::string Key() const override { return "catalogue"; }
    std::string Title() const override { return "Error catalogue " + plan_.file; }

    void PrintText(std::ostream& out) const override
    {
        if (!plan_.loads) {
            out << "  does not load: the start fails with\n";
            for (std::size_t start = 0; start < plan_.failureMessage.size();) {
                std::size_t end = plan_.failureMessage.find("\r\n", start);
                if (end == std::string::npos)
                    end = plan_.failureMessage.size();
                out << "    " << plan_.failureMessage.substr(start, end - start) << "\n";
                start = end + 2;
            }
            return;
        }
        out << "  loads " << plan_.entries.size() << " entries, read as " << plan_.encoding;
        if (!plan_.declaredEncoding.empty())
            out << " (declared " << plan_.declaredEncoding << ")";
        out << "\n";
        for (const auto& note : plan_.notes)
            out << "  line " << note.line << ": " << note.message << "\n";
    }

    void WriteJson(JsonWriter& json) const override
    {
        json.Member("file", plan_.file).Member("loads", plan_.loads);
        json.Member("failureMessage", plan_.failureMessage);
        json.Member("encoding", plan_.encoding).Member("declaredEncoding", plan_.declaredEncoding);
        json.Member("entryCount", plan_.entries.size());
        json.Key("entries").BeginArray();
        for (std::size_t i = 0; i < plan_.entries.size(); ++i) {
            const auto& entry = plan_.entries[i];
            json.BeginObject().Member("seqNo", i + 1).Member("line", plan_.entryLines[i]);
            json.Member("code", entry.code).Member("msg", entry.msg);
            json.Member("moduleType", entry.moduleType).Member("insideCode", entry.insideCode).EndObject();
        }
        json.EndArray();
        json.Key("notes").BeginArray();
        for (const auto& note : plan_.notes)
            json.BeginObject().Member("line", note.line).Member("message", note.message).EndObject();
        json.EndArray();
    }

    std::vector<startup::PlanProblem> Problems() const override { return plan_.problems; }

private:
    startup::ErrorCataloguePlan plan_;
};

} // namespace

std::unique_ptr<CheckSection> MakeCatalogueSection(startup::ErrorCataloguePlan plan)
{
    return std::make_unique<CatalogueSection>(std::move(plan));
}

} // namespace check
