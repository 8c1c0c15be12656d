#pragma once
// A point in the module log that the module writes beside the test
// programs ("Varnoq.log", beside the host's executable): the messages of
// the lines written after it, without their time stamps. Other test
// programs may log at the same time, so a test picks its own lines by a
// text they hold (its installation's folder).
#include "shell/SubAppModule.h"
#include "support/LogMessages.h"
#include "support/TempFolder.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

class ModuleLogMark {
public:
    ModuleLogMark() : offset_(ReadBytes(Path()).size()) {}

    static std::string Path() { return shell::ExecutableFolder() + "Varnoq.log"; }

    // The messages since the mark that hold `needle` (all for an empty one).
    std::vector<std::string> Messages(std::string_view needle = {}) const
    {
        return LogMessages(ReadBytes(Path()), offset_, needle);
    }

private:
    std::size_t offset_;
};

} // namespace testing_support
