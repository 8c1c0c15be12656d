// MainFrame.exe, the reference host shell.
//   MainFrame.exe --console <installation folder>
#include "shell/ConsoleMode.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--console") == 0)
        return shell::RunConsole(argv[2], std::cout);
    std::cerr << "usage: MainFrame.exe --console <installation folder>\n";
    return 2;
}
