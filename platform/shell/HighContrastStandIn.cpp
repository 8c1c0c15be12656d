#include "shell/HighContrastStandIn.h"

#include "sharedrt/ImportSlot.h"

#include <windows.h>

namespace shell {
namespace {

using SystemParametersInfoFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
SystemParametersInfoFn g_system = nullptr;

BOOL WINAPI AnswerHighContrastOn(UINT action, UINT param, PVOID data, UINT flags)
{
    if (action == SPI_GETHIGHCONTRAST && data) {
        auto* contrast = static_cast<HIGHCONTRASTA*>(data);
        contrast->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
        contrast->lpszDefaultScheme = nullptr;
        return TRUE;
    }
    return g_system(action, param, data, flags);
}

} // namespace

bool ReportHighContrastToRuntime()
{
    HMODULE runtime = GetModuleHandleA("SharedRt.dll");
    rt::ImportSlot* slot = runtime ? rt::FindImportSlot(runtime, "user32.dll", "SystemParametersInfoA") : nullptr;
    if (!slot)
        return false;
    if (!g_system)
        g_system = reinterpret_cast<SystemParametersInfoFn>(*slot);
    return rt::WriteImportSlot(slot, reinterpret_cast<rt::ImportSlot>(&AnswerHighContrastOn));
}

} // namespace shell
