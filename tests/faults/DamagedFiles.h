#pragma once
// Starts on installations in which one file that the start-up reads is
// damaged: cut off halfway, overwritten with random bytes, re-encoded as
// UTF-16, or a directory in its place. The start must not end the process,
// must not report success that is not there, and must not destroy the
// host's data (its action.ini and its database).
#include "faults/FaultChecks.h"
#include "faults/StartRunner.h"

#include <cstdint>

namespace faults {

// Runs every damaged variant from number `first` on (in a fixed order);
// prints a result line for each. 0 when all passed, else 1.
int RunDamagedFiles(const StartRunner& runner, const Reference& reference, std::uint64_t first);

} // namespace faults
