// A host whose executable lies in a folder with a path longer than 260
// bytes, under Chinese folder names, where byte 260 falls inside a
// character: the system's ANSI functions cut such a path short without an
// error, and a cut path names a folder above the host's.
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include "shell/SubAppModule.h"

#include "sharedrt/GbkText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& gbk)
{
    std::wstring wide(gbk.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

// Every file of that name below `folder`, as wide paths.
void FindAll(const std::wstring& folder, const std::wstring& name, std::vector<std::wstring>& found)
{
    WIN32_FIND_DATAW entry;
    const HANDLE listing = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring child = entry.cFileName;
        if (child == L"." || child == L"..")
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            FindAll(folder + child + L"\\", name, found);
        else if (_wcsicmp(child.c_str(), name.c_str()) == 0)
            found.push_back(folder + child);
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
}

} // namespace

TEST(LongPath, AHostPathCutInsideACharacterLogsBesideTheHostAndNowhereElse)
{
    testing_support::TempFolder folder("long");
    // Chinese folders until the executable's path passes 260 bytes, one
    // ASCII byte in front where needed so that a character begins at byte
    // 260: a 260-byte buffer holds 259 bytes and the end, and half a
    // character does not go in.
    std::string hostFolder;
    bool cutInside = false;
    for (const std::string padding : {"", "a"}) {
        hostFolder = folder.Path() + padding;
        while (hostFolder.size() < 300)
            hostFolder += "长路径测试目录\\";
        const std::string exe = hostFolder + "MainFrame.exe";
        std::size_t at = 0;
        while (at < 259)
            at += rt::GbkCharWidth(exe, at);
        cutInside = at == 259 && rt::IsGbkLeadByte(static_cast<unsigned char>(exe[259]));
        if (cutInside)
            break;
    }
    ASSERT_TRUE(cutInside);
    for (std::size_t end = hostFolder.find('\\', folder.Path().size()); end != std::string::npos;
         end = hostFolder.find('\\', end + 1))
        ASSERT_TRUE(CreateDirectoryW(Wide(hostFolder.substr(0, end)).c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
    // The shell and every DLL it loads, in the long folder.
    for (const auto& entry : std::filesystem::directory_iterator(shell::ExecutableFolder())) {
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        if (name == "MainFrame.exe" || _stricmp(extension.c_str(), ".dll") == 0) {
            ASSERT_TRUE(CopyFileW(entry.path().wstring().c_str(), Wide(hostFolder + name).c_str(), FALSE)) << name;
        }
    }
    // An installation whose start logs a line: a statement the database refuses.
    const std::string installation = folder.Path() + "installation\\";
    std::filesystem::copy(testing_support::ExamplesFolder(), installation, std::filesystem::copy_options::recursive);
    testing_support::WriteBytes(installation + "WSCBS\\dataupdate.ini", "[MSACCESS]\r\nbad=DELETE FROM cs_none\r\n");

    std::wstring command = L"\"" + Wide(hostFolder + "MainFrame.exe") + L"\" --console \"" +
                           Wide(installation.substr(0, installation.size() - 1)) + L"\"";
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process {};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    WaitForSingleObject(process.hProcess, 120 * 1000);
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    EXPECT_EQ(code, 0u);

    std::vector<std::wstring> logs;
    FindAll(Wide(folder.Path()), L"Varnoq.log", logs);
    ASSERT_EQ(logs, std::vector<std::wstring>{Wide(hostFolder + "Varnoq.log")});
    const HANDLE log = CreateFileW(logs[0].c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(log, INVALID_HANDLE_VALUE);
    char bytes[4096] = {};
    DWORD read = 0;
    ReadFile(log, bytes, sizeof bytes - 1, &read, nullptr);
    CloseHandle(log);
    EXPECT_NE(std::string(bytes, read).find("升级数据库失败:DELETE FROM cs_none"), std::string::npos);
}
