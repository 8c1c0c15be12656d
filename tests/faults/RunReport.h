#pragma once
// The lines InitFaults writes for scripts/faults (tab-separated, flushed at
// once, so that a run that ends the process is seen).
#include "support/CallFaults.h"
#include "faults/FaultChecks.h"

#include <cstdint>
#include <string>

namespace faults {

// "call N importer dll!function offset subject"
void PrintCall(std::uint64_t number, const CountedCall& call);
// "begin kind id": a run starts.
void PrintBegin(const std::string& kind, const std::string& id);
// "result kind id importer dll!function offset subject honest torn journal
// clean problems milliseconds notes"; the call is null for runs that fail
// no call; the time is the run's since its "begin".
void PrintResult(const std::string& kind, const std::string& id, const CountedCall* call, const Verdict& verdict);

} // namespace faults
