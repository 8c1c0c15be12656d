#pragma once
// Trying the upgrade's statements as the host would run them, on a private
// copy of the sub-application's database in memory: the database file is
// opened read-only and never written.
#include "UpgradeSection.h"

#include "startup/upgrade/UpgradePlan.h"

#include <string>

namespace check {

// `databaseFile` empty: the host has no database for the sub-application,
// and refuses every statement. `script` makes a database where the host
// would make one (no file, or one without tables).
UpgradeTrial TryUpgrade(const startup::UpgradePlan& plan, const std::string& databaseFile, const std::string& script);

} // namespace check
