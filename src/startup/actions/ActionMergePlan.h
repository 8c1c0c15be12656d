#pragma once
// What merging the sub-application's "action.ini" into the host's would
// change: every key of the source, in the order the merge writes it, with
// the host's value before and whether the write adds it, changes it or
// leaves it as it is. OS-free: both files' texts (GBK, ProfileTextAsGbk)
// come from the caller.
//
// Problems: a key that its section of the source names twice (the host's
// file ends with the later value while a reader of the source finds the
// earlier one).
#include "startup/PlanProblem.h"
#include "profile/ProfileDocument.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace startup {

enum class ActionKeyOutcome { Added, Changed, Unchanged };

struct ActionKeyWrite {
    std::string section;
    std::string key;
    std::string value;
    std::optional<std::string> before;  // the host's value before the write; none when it has no such key
    ActionKeyOutcome outcome = ActionKeyOutcome::Unchanged;
    unsigned long sourceLine = 0;
};

struct ActionMergePlan {
    std::string source;
    std::string target;
    bool sourcePresent = false;          // no source: nothing merged, the host's file not touched
    std::vector<ActionKeyWrite> writes;  // every key of the source, in order
    bool changesTarget = false;          // some write adds or changes a key
    std::vector<PlanProblem> problems;
};

// `sourceDocument` none: there is no source file. `targetText` is the
// host's file as it stands (empty when it has none yet).
ActionMergePlan PlanActionMerge(const std::string& source, const std::optional<profile::ProfileDocument>& sourceDocument,
                                const std::string& target, std::string_view targetText);

} // namespace startup
