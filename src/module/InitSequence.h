#pragma once
// The initialisation sequence behind InitSubApp.
#include "sharedrt/Export.h"

#include <string>

namespace module {

struct InitOutcome {
    bool succeeded = true;
    std::string text;  // the parameter text to write back
};

// Runs the initialisation steps for the host's parameter text and returns
// the result and the text for the host's buffer. Never throws.
InitOutcome RunInitSequence(rt::WindowHandle appHandle, const std::string& hostText) noexcept;

} // namespace module
