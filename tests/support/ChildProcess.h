#pragma once
// Runs another program of the build to its end, its standard output and
// error collected in one pipe.
#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace testing_support {

struct ProcessResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

// Throws std::runtime_error when the program cannot be started; waits at
// most a minute for it to end.
inline ProcessResult RunProgram(std::string commandLine)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE readRaw = nullptr;
    HANDLE writeRaw = nullptr;
    if (!CreatePipe(&readRaw, &writeRaw, &inherit, 0))
        throw std::runtime_error("CreatePipe failed");
    rt::unique_handle readEnd(readRaw);
    rt::unique_handle writeEnd(writeRaw);
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.get();
    startup.hStdError = writeEnd.get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("CreateProcess failed: " + commandLine);
    rt::unique_handle processHandle(process.hProcess);
    rt::unique_handle threadHandle(process.hThread);
    writeEnd.reset();

    ProcessResult result;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.get(), chunk, sizeof chunk, &read, nullptr) && read > 0)
        result.output.append(chunk, read);
    WaitForSingleObject(processHandle.get(), 60000);
    GetExitCodeProcess(processHandle.get(), &result.exitCode);
    return result;
}

#ifdef WSCBS_EXAMPLES_DIR
// The sample installation of the source tree, as Wine sees it (the test's
// target defines WSCBS_EXAMPLES_DIR).
inline std::string ExamplesFolder()
{
    std::string path = "Z:" WSCBS_EXAMPLES_DIR;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}
#endif

} // namespace testing_support
