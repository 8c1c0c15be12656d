#include "startup/actions/ActionMergePlan.h"

#include "profile/ProfileText.h"

#include "sharedrt/GbkText.h"

#include <map>

namespace startup {

ActionMergePlan PlanActionMerge(const std::string& source, const std::optional<profile::ProfileDocument>& sourceDocument,
                                const std::string& target, std::string_view targetText)
{
    ActionMergePlan plan;
    plan.source = source;
    plan.target = target;
    if (!sourceDocument)
        return plan;
    plan.sourcePresent = true;
    // The host's file as the merge leaves it, write by write.
    profile::ProfileDocument merged(targetText);
    for (const std::string& section : sourceDocument->SectionNames()) {
        const std::vector<std::string> lines = sourceDocument->SectionLines(section);
        const std::vector<unsigned long> numbers = sourceDocument->SectionLineNumbers(section);
        std::map<std::string, unsigned long> firstLineOfKey;  // keys compare ignoring ASCII case
        for (std::size_t i = 0; i < lines.size(); ++i) {
            profile::ProfileEntry entry = profile::SplitProfileLine(lines[i]);
            ActionKeyWrite write;
            write.section = section;
            write.sourceLine = i < numbers.size() ? numbers[i] : 0;
            write.before = merged.Value(section, entry.key);
            const bool changed = merged.Set(section, entry.key, entry.value);
            write.outcome = !changed ? ActionKeyOutcome::Unchanged
                            : write.before ? ActionKeyOutcome::Changed
                                           : ActionKeyOutcome::Added;
            plan.changesTarget = plan.changesTarget || changed;
            const auto [first, added] = firstLineOfKey.emplace(rt::GbkUpperAscii(entry.key), write.sourceLine);
            if (!added)
                plan.problems.push_back({source, write.sourceLine,
                                         "key \"" + entry.key + "\" of [" + section + "] repeats line " +
                                             std::to_string(first->second) +
                                             ": the host's file gets this later value"});
            write.key = std::move(entry.key);
            write.value = std::move(entry.value);
            plan.writes.push_back(std::move(write));
        }
    }
    return plan;
}

} // namespace startup
