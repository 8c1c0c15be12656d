// Reports the platform test and the card-reader driver check of the process
// it runs in, so that a test can run it under another reported Windows
// version. Exit code: bit 0 set when the driver counts as present, bit 1 set
// when the platform is Windows 98. With an argument, that directory is
// checked in place of the system directory.
#include "module/PlatformCheck.h"

int main(int argc, char** argv)
{
    const bool present = argc > 1 ? module::CardReaderDriverPresentIn(argv[1]) : module::CardReaderDriverPresent();
    return (present ? 1 : 0) | (module::IsWindows98() ? 2 : 0);
}
