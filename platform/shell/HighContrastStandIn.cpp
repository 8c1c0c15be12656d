#include "shell/HighContrastStandIn.h"

#include <windows.h>

#include <cstring>

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

// The import address table entry through which `module` calls
// `dll`!`function`, or null.
ULONG_PTR* ImportSlot(HMODULE module, const char* dll, const char* function)
{
    auto* base = reinterpret_cast<unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return nullptr;
    for (auto* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import) {
        if (_stricmp(reinterpret_cast<const char*>(base + import->Name), dll) != 0)
            continue;
        const auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            base + (import->OriginalFirstThunk ? import->OriginalFirstThunk : import->FirstThunk));
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<ULONG_PTR*>(&addresses->u1.Function);
        }
    }
    return nullptr;
}

} // namespace

bool ReportHighContrastToRuntime()
{
    HMODULE runtime = GetModuleHandleA("SharedRt.dll");
    ULONG_PTR* slot = runtime ? ImportSlot(runtime, "user32.dll", "SystemParametersInfoA") : nullptr;
    if (!slot)
        return false;
    if (!g_system)
        g_system = reinterpret_cast<SystemParametersInfoFn>(*slot);
    DWORD previous = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &previous))
        return false;
    *slot = reinterpret_cast<ULONG_PTR>(&AnswerHighContrastOn);
    VirtualProtect(slot, sizeof *slot, previous, &previous);
    return true;
}

} // namespace shell
