#pragma once
// "dataupdate.ini" read as the upgrade reads it, and nothing else: nothing
// is written and nothing of the host is asked. The plan is made from what
// this gives; the installation check calls only this and the plan.
#include <cstdint>
#include <string>

namespace startup {

// The file as the upgrade finds it: missing (nothing to do), there but
// unreadable (with the system's error), or read whole.
struct UpgradeFile {
    enum class State { Missing, Unreadable, Read };
    State state = State::Missing;
    std::uint32_t error = 0;
    std::string content;  // the file's bytes when read
};
UpgradeFile ReadUpgradeFile(const std::string& file);

} // namespace startup
