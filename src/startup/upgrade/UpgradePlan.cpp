#include "startup/upgrade/UpgradePlan.h"

#include "profile/ProfileDocument.h"
#include "sharedrt/GbkText.h"

#include <unordered_map>

namespace startup {

UpgradePlan PlanUpgrade(const std::string& file, std::string_view text)
{
    UpgradePlan plan;
    plan.file = file;
    const profile::ProfileDocument document(text);
    const std::vector<UpgradeStatement> statements =
        ParseUpgradeStatements(document.SectionLines(kUpgradeSection), document.SectionLineNumbers(kUpgradeSection),
                               &plan.empty);
    const std::vector<std::string> done = document.SectionLines(kUpgradeDoneSection);
    // Labels compare as profile keys do: ignoring ASCII case.
    std::unordered_map<std::string, unsigned long> firstLineOfLabel;
    for (const UpgradeStatement& statement : statements) {
        plan.statements.push_back({statement, IsStatementDone(statement, done)});
        const auto [first, added] = firstLineOfLabel.emplace(rt::GbkUpperAscii(statement.label), statement.line);
        if (!added)
            plan.problems.push_back({file, statement.line,
                                     "label \"" + statement.label + "\" repeats the statement of line " +
                                         std::to_string(first->second) +
                                         ": the record of either stands for both, so one done may run again"});
    }
    return plan;
}

} // namespace startup
