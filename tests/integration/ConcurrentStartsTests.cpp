// Two hosts starting on one installation at the same moment (a host opened
// twice, two sessions of a terminal server): released together, round
// after round, on an installation with an upgrade pending whose statements
// take effect twice when run twice, and an action merge to do.
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include "shell/SubAppModule.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <sqlite3.h>
#include <string>
#include <vector>

using testing_support::ReadBytes;

namespace {

constexpr int kRounds = 6;
constexpr int kStatements = 30;

// A started program whose end and output are collected later.
struct Running {
    PROCESS_INFORMATION process {};
    HANDLE output = nullptr;
};

Running Launch(const std::string& commandLine)
{
    SECURITY_ATTRIBUTES inherit {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    EXPECT_TRUE(CreatePipe(&read, &write, &inherit, 0));
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = write;
    Running running;
    std::string line = commandLine;
    EXPECT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                               &running.process));
    CloseHandle(write);
    running.output = read;
    return running;
}

// Waits for the program's end: its exit code and output.
std::pair<DWORD, std::string> Finish(Running& running)
{
    std::string output;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(running.output, buffer, sizeof buffer, &read, nullptr) && read > 0)
        output.append(buffer, read);
    WaitForSingleObject(running.process.hProcess, 120 * 1000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(running.process.hProcess, &code);
    CloseHandle(running.process.hProcess);
    CloseHandle(running.process.hThread);
    CloseHandle(running.output);
    return {code, output};
}

std::vector<std::vector<std::string>> Query(const std::string& file, const char* sql)
{
    sqlite3* db = nullptr;
    std::vector<std::vector<std::string>> rows;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_exec(
            db, sql,
            [](void* into, int columns, char** values, char**) {
                auto& rows = *static_cast<std::vector<std::vector<std::string>>*>(into);
                rows.emplace_back();
                for (int i = 0; i < columns; ++i)
                    rows.back().emplace_back(values[i] != nullptr ? values[i] : "");
                return 0;
            },
            &rows, nullptr);
    }
    sqlite3_close(db);
    return rows;
}

} // namespace

TEST(ConcurrentStarts, TwoHostsReleasedTogetherRunEveryStatementOnceAndMergeWhole)
{
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        testing_support::TempFolder folder("together");
        const std::string installation = folder.Path() + "installation\\";
        std::filesystem::copy(testing_support::ExamplesFolder(), installation,
                              std::filesystem::copy_options::recursive);
        const std::string subApp = installation + "WSCBS\\";
        // A first start makes the database and runs the shipped upgrade.
        ASSERT_EQ(testing_support::RunProgram("\"" + shell::ExecutableFolder() + "MainFrame.exe\" --console \"" +
                                              installation.substr(0, installation.size() - 1) + "\"")
                      .exitCode,
                  0u);
        std::string upgrade = "[MSACCESS]\r\ncount=CREATE TABLE cs_count (n Integer)\r\n";
        for (int n = 1; n <= kStatements; ++n)
            upgrade += "add" + std::to_string(n) + "=INSERT INTO cs_count VALUES (" + std::to_string(n) + ")\r\n";
        testing_support::WriteBytes(subApp + "dataupdate.ini", upgrade);
        std::string actions;
        for (int n = 1; n <= 40; ++n)
            actions += "[TOGETHER-" + std::to_string(n) + "]\r\nCaption=" + std::to_string(round) + "\r\n";
        testing_support::WriteBytes(subApp + "action.ini", actions);

        const std::string event = "wscbs-together-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(round);
        const HANDLE release = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
        ASSERT_NE(release, nullptr);
        const std::string command = "\"" + shell::ExecutableFolder() + "StartWhenReleased.exe\" \"" +
                                    installation.substr(0, installation.size() - 1) + "\" " + event;
        Running first = Launch(command);
        Running second = Launch(command);
        Sleep(1500);  // both are waiting
        SetEvent(release);
        const auto [firstCode, firstOutput] = Finish(first);
        const auto [secondCode, secondOutput] = Finish(second);
        CloseHandle(release);
        EXPECT_EQ(firstCode, 0u) << firstOutput;
        EXPECT_EQ(secondCode, 0u) << secondOutput;

        // Every statement took effect once, and the upgrade is done.
        const auto rows = Query(subApp + "wscbs.db", "SELECT count(*), count(DISTINCT n) FROM cs_count");
        EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{
                            {std::to_string(kStatements), std::to_string(kStatements)}}));
        EXPECT_FALSE(testing_support::PathExists(subApp + "dataupdate.ini"));
        // The host's actions hold every key, whole; nothing left beside any file.
        const std::string hostActions = installation + "host\\action.ini";
        for (int n = 1; n <= 40; ++n) {
            char value[32] = {};
            GetPrivateProfileStringA(("TOGETHER-" + std::to_string(n)).c_str(), "Caption", "?", value, sizeof value,
                                     hostActions.c_str());
            EXPECT_EQ(std::string(value), std::to_string(round)) << "section " << n;
        }
        for (const std::string& file : {hostActions, subApp + "cookie.ini", subApp + "dataupdate.ini"})
            EXPECT_TRUE(testing_support::ReplacementsBeside(file).empty()) << file;
    }
}
