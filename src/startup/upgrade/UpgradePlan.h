#pragma once
// What the database upgrade would do with "dataupdate.ini": the statements
// of section "MSACCESS" in the order they run, each marked when the record
// of statements done ("MSACCESS.done") already holds it and it is therefore
// not run again. OS-free: the file's text comes from the caller.
//
// Problems: a label that an earlier statement already has (the record of
// one then stands for the other, so a statement done may run again or one
// never run may pass for done). Entries without a statement are skipped by
// the upgrade: listed, no problem.
#include "startup/PlanProblem.h"
#include "startup/upgrade/UpgradeStatements.h"

#include <string>
#include <string_view>
#include <vector>

namespace startup {

struct PlannedStatement {
    UpgradeStatement statement;
    bool done = false;  // recorded as done: it does not run
};

struct UpgradePlan {
    std::string file;
    std::vector<PlannedStatement> statements;  // in file order
    std::vector<UpgradeStatement> empty;       // entries without a statement
    std::vector<PlanProblem> problems;
};

// The plan for the file's text as the profile functions read it (GBK;
// ProfileTextAsGbk).
UpgradePlan PlanUpgrade(const std::string& file, std::string_view text);

} // namespace startup
