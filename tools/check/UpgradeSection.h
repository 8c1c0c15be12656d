#pragma once
// The database upgrade's section: the statements of "dataupdate.ini" in the
// order they run, each marked done (recorded, not run again) or with what
// the host's database answers when it is tried on a private copy; entries
// without a statement; whether the file is deleted after the run.
#include "CheckSection.h"

#include "startup/upgrade/UpgradeFile.h"
#include "startup/upgrade/UpgradePlan.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace check {

// The statements to run, tried in order on a copy of the database.
struct UpgradeTrial {
    bool tried = false;     // false: the copy could not be made
    std::string failure;    // why not (GBK)
    // One per statement of the plan: none for one recorded as done (not
    // run), empty for one carried out, else the database's answer.
    std::vector<std::optional<std::string>> outcomes;
};

struct UpgradeCheck {
    std::string file;
    std::string databaseFile;
    startup::UpgradeFile::State state = startup::UpgradeFile::State::Missing;
    std::uint32_t error = 0;  // when unreadable
    startup::UpgradePlan plan;
    UpgradeTrial trial;
};

std::unique_ptr<CheckSection> MakeUpgradeSection(UpgradeCheck check);

} // namespace check
