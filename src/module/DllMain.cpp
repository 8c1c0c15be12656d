#include "startup/catalogue/ErrorCatalogue.h"
#include "module/ModuleState.h"

#include <windows.h>

// The library notification handler: record the runtime objects at load; at
// unload put them back and release the error catalogue, whose address the
// host has held until now. Nothing else.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        module::RecordRuntimeObjects();
    } else if (reason == DLL_PROCESS_DETACH) {
        module::RestoreRuntimeObjects();
        startup::ReleaseErrorCatalogue();
    }
    return TRUE;
}
