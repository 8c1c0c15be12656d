#include "module/InitSequence.h"

namespace module {

InitOutcome RunInitSequence(rt::WindowHandle, const std::string& hostText) noexcept
{
    InitOutcome outcome;
    outcome.text = hostText;
    return outcome;
}

} // namespace module
