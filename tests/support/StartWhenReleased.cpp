// One console start of the reference shell on an installation, held back
// until the test releases it: two of these started and released at once
// are two hosts starting on one installation at the same moment.
//   StartWhenReleased.exe INSTALLATION EVENT
// Waits for the named event (at most a minute), then starts as
// "MainFrame.exe --console INSTALLATION" does; exits with its status, or 3
// when the event never came.
#include "shell/ConsoleMode.h"

#include <windows.h>

#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    const HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    if (release == nullptr || WaitForSingleObject(release, 60 * 1000) != WAIT_OBJECT_0)
        return 3;
    CloseHandle(release);
    return shell::RunConsole(argv[1], std::cout);
}
