#pragma once
// The frame around each of the 30 services: one entry in the call log, and
// no exception out of the export.
#include "HostSettings.h"
#include "HostState.h"
#include "HostText.h"
#include "sharedrt/RtString.h"

#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace hostmodel {

// The call log entry of the running service.
class ServiceCall {
public:
    // A model that no host configured is set up from the settings file
    // first (HostSettings.h).
    explicit ServiceCall(const char* function) : slot_((SetUpFromSettingsOnce(), State().BeginCall(function))) {}

    void Arguments(std::string text)
    {
        if (CallRecord* record = State().CallAt(slot_))
            record->arguments = std::move(text);
    }
    void Result(std::string text)
    {
        if (CallRecord* record = State().CallAt(slot_))
            record->result = std::move(text);
    }

private:
    HostState::RecordSlot slot_;
};

// Runs `body(ServiceCall&)` for the export `function`; any exception gives
// `neutral` and is noted as the call's result.
template <typename Result, typename Body>
Result Serve(const char* function, Result neutral, Body&& body) noexcept
{
    try {
        ServiceCall call(function);
        try {
            return body(call);
        } catch (const std::exception& e) {
            call.Result(std::string("failed: ") + e.what());
        } catch (...) {
            call.Result("failed");
        }
    } catch (...) {
    }
    return neutral;
}

template <typename Body>
void Serve(const char* function, Body&& body) noexcept
{
    try {
        ServiceCall call(function);
        try {
            body(call);
        } catch (const std::exception& e) {
            call.Result(std::string("failed: ") + e.what());
        } catch (...) {
            call.Result("failed");
        }
    } catch (...) {
    }
}

// A text argument: null reads as empty.
inline std::string ArgumentText(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

// Gives a text result to the caller's string (ignored when null) and the log.
inline void ReturnText(ServiceCall& call, rt::RtString* result, std::string_view text)
{
    if (result != nullptr)
        *result = text;
    call.Result(QuotedForLog(text));
}

} // namespace hostmodel
