// MainFrame.exe, the reference host shell.
//   MainFrame.exe [<installation folder>] [--capture <file.png>] [--timing] [--unattended] [--high-contrast]
//   MainFrame.exe --console <installation folder>
// The shell is aware of the system's DPI (its choice as the host): its
// windows and the module's view are laid out for the screen's DPI rather
// than stretched by the system.
// Without an installation folder, the folder above the program's own is
// taken (the program sits in <installation>\host).
#include "shell/ConsoleMode.h"
#include "shell/SubAppModule.h"
#include "shell/WindowMode.h"

#include <windows.h>

#include <cstring>
#include <iostream>
#include <string>

namespace {

int Usage()
{
    std::cerr << "usage: MainFrame.exe [<installation folder>] [--capture <file.png>] [--timing] [--unattended]"
                 " [--high-contrast]\n"
                 "       MainFrame.exe --console <installation folder>\n";
    return 2;
}

std::string DefaultInstallation()
{
    std::string folder = shell::ExecutableFolder();
    if (!folder.empty())
        folder.pop_back();
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// SetProcessDPIAware where the system has it (Windows Vista and later).
void BecomeDpiAware()
{
    const FARPROC found = GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDPIAware");
    BOOL(WINAPI * setProcessDpiAware)() = nullptr;
    static_assert(sizeof found == sizeof setProcessDpiAware);
    std::memcpy(&setProcessDpiAware, &found, sizeof found);
    if (setProcessDpiAware)
        setProcessDpiAware();
}

} // namespace

int main(int argc, char** argv)
{
    BecomeDpiAware();
    if (argc == 3 && std::strcmp(argv[1], "--console") == 0)
        return shell::RunConsole(argv[2], std::cout);

    shell::WindowOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--capture" && i + 1 < argc)
            options.capturePath = argv[++i];
        else if (arg == "--timing")
            options.timing = true;
        else if (arg == "--unattended")
            options.unattended = true;
        else if (arg == "--high-contrast")
            options.highContrast = true;
        else if (arg.rfind("--", 0) == 0 || !options.installationFolder.empty())
            return Usage();
        else
            options.installationFolder = arg;
    }
    if (options.installationFolder.empty())
        options.installationFolder = DefaultInstallation();
    return shell::RunWindow(options, std::cout);
}
