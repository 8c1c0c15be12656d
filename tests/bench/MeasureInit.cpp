// Times one InitSubApp of the real module on an installation, as the host
// would call it at start: the host is configured from the installation's
// profile, the module loaded, and only the call itself is timed.
//   MeasureInit.exe <installation folder>
// Prints "InitSubApp -> <result> in <milliseconds> ms"; exit code 0 when
// the call succeeded, 1 when it returned 0, 2 when it could not be made.
#include "hostmodel/HostModel.h"
#include "shell/HostProfile.h"
#include "shell/SubAppModule.h"

#include <windows.h>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: MeasureInit <installation folder>\n");
        return 2;
    }
    try {
        hostmodel::HostModel& model = hostmodel::Model();
        const shell::HostProfile profile = shell::ReadHostProfile(argv[1]);
        shell::ApplyHostProfile(profile, model);
        int status = 2;
        {
            shell::SubAppModule module(shell::ExecutableFolder() + "wscbs.dll");
            LARGE_INTEGER frequency;
            LARGE_INTEGER start;
            LARGE_INTEGER end;
            QueryPerformanceFrequency(&frequency);
            QueryPerformanceCounter(&start);
            const shell::SubAppModule::InitResult result = module.InitSubApp(nullptr, profile.initSubAppText);
            QueryPerformanceCounter(&end);
            const double milliseconds =
                1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
            std::printf("InitSubApp -> %d in %.1f ms\n", result.succeeded ? 1 : 0, milliseconds);
            status = result.succeeded ? 0 : 1;
            model.Reset();
        }
        return status;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "MeasureInit: %s\n", e.what());
        return 2;
    }
}
