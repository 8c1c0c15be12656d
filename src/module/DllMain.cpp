#include "module/ModuleState.h"

#include <windows.h>

// The library notification handler: record at load, restore at unload,
// nothing else.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        module::RecordRuntimeObjects();
    else if (reason == DLL_PROCESS_DETACH)
        module::RestoreRuntimeObjects();
    return TRUE;
}
