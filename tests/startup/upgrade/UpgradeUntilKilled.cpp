// Runs the upgrade of a file and is killed in the middle of it: after the
// statement given, another thread ends the process at once, wherever the
// upgrade then is (running, recording, flushing). Each statement it runs is
// added to a list file first.
//   UpgradeUntilKilled.exe UPGRADE_FILE RAN_LIST KILL_AFTER
#include "startup/upgrade/DatabaseUpgrade.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    const std::string file = argv[1];
    HANDLE list = CreateFileA(argv[2], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (list == INVALID_HANDLE_VALUE)
        return 2;
    const int killAfter = std::atoi(argv[3]);
    std::atomic<int> ran{0};
    std::thread killer([&] {
        while (ran.load() < killAfter) {
        }
        TerminateProcess(GetCurrentProcess(), 3);
    });
    killer.detach();
    std::string failures;
    startup::RunDatabaseUpgradeFile(
        file,
        [&](const std::string& statement, rt::RtQuery*&) {
            const std::string line = statement + "\r\n";
            DWORD written = 0;
            WriteFile(list, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            ++ran;
            return true;
        },
        failures);
    std::puts("the upgrade ended before the kill");
    return 0;
}
