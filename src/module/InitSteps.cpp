#include "module/InitSteps.h"

#include "util/ParamText.h"

#include <exception>

namespace module {
namespace {

InitOutcome Failed(const std::string& text, std::string_view message)
{
    InitOutcome outcome;
    outcome.succeeded = false;
    outcome.text = util::WriteParamValue(text, kResultMessageName, message);
    return outcome;
}

InitOutcome RunSteps(InitSteps& steps, const std::string& hostText)
{
    steps.HoldInstallation();
    try {
        steps.ApplyRegionalDifferences();
    } catch (...) {
        // Regional differences are optional: the rest runs without them.
    }
    steps.CleanUpLegacyShortcuts();

    const std::string& working = hostText;
    if (!steps.CardReaderDriverPresent())
        return Failed(working, kDriverMissingMessage);
    const std::string message = steps.InitModuleGlobals();
    if (!message.empty())
        return Failed(working, message);
    InitOutcome outcome;
    outcome.text = working;
    return outcome;
}

} // namespace

InitOutcome RunInitSteps(InitSteps& steps, const std::string& hostText) noexcept
{
    try {
        std::string reason;
        try {
            return RunSteps(steps, hostText);
        } catch (const std::exception& e) {
            reason = e.what();
        } catch (...) {
        }
        if (reason.empty())
            reason = kUnknownFailureMessage;
        return Failed(hostText, std::string(kInitFailedPrefix) + reason);
    } catch (...) {
        // Not even the failure text could be made: hand back the text as
        // it came, with result 0.
        InitOutcome outcome;
        outcome.succeeded = false;
        try {
            outcome.text = hostText;
        } catch (...) {
        }
        return outcome;
    }
}

} // namespace module
