#pragma once
// Starts on a disk that is really full: the installation lies on a small
// file system of its own (scripts/faults mounts one), and a filler file
// leaves only so many bytes free, level by level from none to more than a
// whole start writes, so that the start's writes fail at different points.
// Each start is checked like one that met an injected fault, and after the
// filler is gone, the next start must end as a start on a roomy disk.
#include "faults/StartRunner.h"

#include <cstdint>
#include <string>

namespace faults {

// `work` is the folder on the small file system (ending with "\"); the
// installation lies inside it. Runs the levels from number `first` on;
// prints a result line for each. 0 when all passed, else 1.
int RunFullDisk(const StartRunner& runner, const std::string& work, std::uint64_t first);

} // namespace faults
