#include "VersionSection.h"

namespace check {
namespace {

class VersionSection final : public CheckSection {
public:
    explicit VersionSection(VersionCheck check) : check_(std::move(check)) {}

    std::string Key() const override { return "version"; }
    std::string Title() const override { return "Version of " + check_.subAppCode; }

    void PrintText(std::ostream& out) const override
    {
        out << "  module " << check_.moduleFile << ": "
            << (check_.moduleVersion.empty() ? "no version resource" : check_.moduleVersion) << "\n";
        out << "  the host's record: " << RecordVersion()
            << (check_.profileVersion.empty() ? " (the module's own)" : " (Version= of the host profile)") << "\n";
    }

    void WriteJson(JsonWriter& json) const override
    {
        json.Member("moduleFile", check_.moduleFile).Member("moduleVersion", check_.moduleVersion);
        json.Member("profileVersion", check_.profileVersion).Member("recordVersion", RecordVersion());
    }

    std::vector<startup::PlanProblem> Problems() const override
    {
        if (RecordVersion().empty())
            return {{check_.profileFile, 0,
                     "the host's record of " + check_.subAppCode + " has no version: " + check_.moduleFile +
                         " has no version resource and the profile no Version="}};
        if (!check_.profileVersion.empty() && !check_.moduleVersion.empty() &&
            check_.profileVersion != check_.moduleVersion)
            return {{check_.profileFile, 0,
                     "Version=" + check_.profileVersion + " of [SubApp " + check_.subAppCode + "] differs from " +
                         check_.moduleVersion + ", the version of " + check_.moduleFile + ": the start records " +
                         check_.profileVersion + " as lastVersion; leave Version= out to take the module's own"}};
        return {};
    }

private:
    std::string RecordVersion() const
    {
        return check_.profileVersion.empty() ? check_.moduleVersion : check_.profileVersion;
    }

    VersionCheck check_;
};

} // namespace

std::unique_ptr<CheckSection> MakeVersionSection(VersionCheck check)
{
    return std::make_unique<VersionSection>(std::move(check));
}

} // namespace check
