// Reports the platform test and the card-reader driver check of the process
// it runs in, so that a test can run it under another reported Windows
// version. Exit code: bit 0 set when the driver counts as present, bit 1 set
// when the platform is Windows 98. With an argument, that directory is
// checked in place of the system directory. It prints the version the
// system reported to it ("platform 1 version 4.10"), so that a test knows
// which system the answer was given on.
#include "module/PlatformCheck.h"

#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version))
        std::printf("platform %lu version %lu.%lu\n", version.dwPlatformId, version.dwMajorVersion,
                    version.dwMinorVersion);
    else
        std::printf("no version\n");
    std::fflush(stdout);
    const bool present = argc > 1 ? module::CardReaderDriverPresentIn(argv[1]) : module::CardReaderDriverPresent();
    return (present ? 1 : 0) | (module::IsWindows98() ? 2 : 0);
}
