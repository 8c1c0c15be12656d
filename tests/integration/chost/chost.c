/* The C host's program file, in a folder of its own. Its services library
   (ModuleLib.dll beside it) imports SharedRt.dll, which lies with the
   module in the installation's host folder: loaded from there first, with
   its own imports looked for there (LOAD_WITH_ALTERED_SEARCH_PATH).
     chost INSTALLATION LOG PERIOD */
#include <windows.h>

#include <stdio.h>
#include <string.h>

typedef int(__cdecl* CHostRunProc)(const char* installation, const char* logFile, const char* period);

int main(int argc, char** argv)
{
    char path[MAX_PATH], folder[MAX_PATH];
    HMODULE services;
    CHostRunProc run;
    char* slash;
    if (argc != 4) {
        fprintf(stderr, "usage: chost INSTALLATION LOG PERIOD\n");
        return 2;
    }
    sprintf(path, "%s\\host\\SharedRt.dll", argv[1]);
    if (LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH) == NULL) {
        printf("cannot load %s (error %lu)\n", path, (unsigned long)GetLastError());
        return 2;
    }
    GetModuleFileNameA(NULL, folder, sizeof folder);
    slash = strrchr(folder, '\\');
    if (slash != NULL)
        slash[1] = '\0';
    sprintf(path, "%sModuleLib.dll", folder);
    services = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    run = services != NULL ? (CHostRunProc)(void (*)(void))GetProcAddress(services, "CHostRun") : NULL;
    if (run == NULL) {
        printf("cannot load %s (error %lu)\n", path, (unsigned long)GetLastError());
        return 2;
    }
    return run(argv[1], argv[2], argv[3]);
}
