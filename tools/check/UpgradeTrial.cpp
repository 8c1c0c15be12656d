#include "UpgradeTrial.h"

#include "AlterColumn.h"
#include "SqliteConnection.h"

#include "sharedrt/RtError.h"

#include <memory>

namespace check {

UpgradeTrial TryUpgrade(const startup::UpgradePlan& plan, const std::string& databaseFile, const std::string& script)
{
    UpgradeTrial trial;
    std::unique_ptr<hostmodel::SqliteConnection> copy;
    if (!databaseFile.empty()) {
        try {
            copy = hostmodel::SqliteConnection::OpenSnapshot(databaseFile, script);
        } catch (const rt::Error& e) {
            trial.failure = e.what();
            return trial;
        }
    }
    trial.tried = true;
    for (const auto& planned : plan.statements) {
        if (planned.done) {
            trial.outcomes.emplace_back();
            continue;
        }
        if (!copy) {
            trial.outcomes.emplace_back("the host profile gives the sub-application no database");
            continue;
        }
        // Each statement sees what those before it did, as at the start.
        const hostmodel::StatementOutcome outcome = hostmodel::RunHostStatement(*copy, planned.statement.statement);
        trial.outcomes.emplace_back(outcome.done ? std::string()
                                    : outcome.message.empty() ? std::string("refused")
                                                              : outcome.message);
    }
    return trial;
}

} // namespace check
