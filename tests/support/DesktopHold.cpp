// Not a test: keeps Wine's desktop process alive for a whole test run.
// Wine starts the desktop process with the first program that needs the
// desktop and ends it soon after the last such program ends; a desktop
// process started by a test inherits CTest's output pipe and holds that
// test's slot until it ends. scripts/test starts this program before CTest,
// away from CTest's pipes, and ends it with the prefix's wineserver.
#include <windows.h>

int main()
{
    if (GetDesktopWindow() == nullptr)
        return 1;
    Sleep(INFINITE);
    return 0;
}
