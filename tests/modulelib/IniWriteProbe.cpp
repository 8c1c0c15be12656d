// Writes one value through the host's WriteIniValueString and prints what
// the host says it did ("written" or "not written").
//   IniWriteProbe FILE SECTION KEY VALUE
#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: IniWriteProbe FILE SECTION KEY VALUE\n");
        return 2;
    }
    hostmodel::Model().Reset();
    WriteIniValueString(argv[1], argv[2], argv[3], argv[4]);
    std::printf("%s\n", hostmodel::Model().Calls().back().result.c_str());
    return 0;
}
