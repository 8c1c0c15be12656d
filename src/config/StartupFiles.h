#pragma once
// The files of the start-up steps read as the steps read them, and nothing
// else: no file, profile value, registry value or database is written
// here, and nothing of the host is asked. The steps plan from what these
// give; the installation check calls only these and the plans.
#include "config/ErrorCataloguePlan.h"

#include <cstdint>
#include <string>

namespace config {

// "errmsg.xml" as the loader finds it: its bytes, or the loader's message
// for a file that is missing ([0001]) or cannot be read.
CatalogueFile ReadErrorCatalogueFile(const std::string& file);

// "dataupdate.ini" as the upgrade finds it: missing (nothing to do), there
// but unreadable (with the system's error), or read whole.
struct UpgradeFile {
    enum class State { Missing, Unreadable, Read };
    State state = State::Missing;
    std::uint32_t error = 0;
    std::string content;  // the file's bytes when read
};
UpgradeFile ReadUpgradeFile(const std::string& file);

// The host's "action.ini" as the merge reads it: its bytes, empty when
// there is none yet; rt::IoError when it is there and cannot be read.
std::string ReadActionIniTarget(const std::string& target);

} // namespace config
