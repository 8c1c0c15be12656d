#include "module/SubAppExports.h"

#include "module/HostBuffer.h"
#include "module/InitSequence.h"
#include "module/ModuleState.h"

#include <exception>

extern "C" {

WSCBS_BOOL WSCBS_STDCALL InitSubApp(WscbsWindowHandle appHandle, char** hostBuffer)
{
    try {
        module::AdoptApplicationHandle(appHandle);
        const std::string original = module::ReadHostText(hostBuffer);
        const std::size_t capacity =
            module::HostBufferCapacity(hostBuffer ? *hostBuffer : nullptr, original);
        const module::InitOutcome outcome = module::RunInitSequence(appHandle, original);
        module::WriteHostText(hostBuffer, outcome.text, capacity);
        return outcome.succeeded ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

WSCBS_BOOL WSCBS_STDCALL FreeDLLProc(uint32_t, uint32_t)
{
    return 1;
}

}
