#pragma once
// The action merge's section: the keys of the sub-application's
// "action.ini" that the merge adds to or changes in the host's, and how
// many it leaves as they are.
#include "CheckSection.h"

#include "startup/actions/ActionMergePlan.h"

#include <memory>
#include <string>

namespace check {

// `readFailure`: why a file could not be read (GBK); the plan is then empty.
std::unique_ptr<CheckSection> MakeActionSection(startup::ActionMergePlan plan, std::string readFailure = {});

} // namespace check
