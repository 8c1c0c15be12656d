#include "module/ShortcutCleanup.h"

#include "support/TempFolder.h"

#include "sharedrt/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

using testing_support::PathExists;
using testing_support::ReadBytes;
using testing_support::TempFolder;

namespace {

constexpr const char kShellFolders[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::optional<std::string> ReadValue(const char* name)
{
    rt::unique_hkey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kShellFolders, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    char buffer[1024] = {};
    DWORD size = sizeof buffer - 1;
    if (RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(buffer);
}

void WriteValue(const char* name, const std::optional<std::string>& value)
{
    rt::unique_hkey key;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kShellFolders, 0, KEY_WRITE, key.put()), ERROR_SUCCESS);
    if (value)
        RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                       static_cast<DWORD>(value->size() + 1));
    else
        RegDeleteValueA(key.get(), name);
}

// Points the two all-users folders at temporary folders and puts the
// registry values back afterwards.
class ShortcutCleanupTest : public testing::Test {
protected:
    void SetUp() override
    {
        savedDesktop_ = ReadValue("Common Desktop");
        savedStartMenu_ = ReadValue("Common Start Menu");
        desktop_ = desktopFolder_.Path();
        startMenu_ = startMenuFolder_.Make("程序\\Quorvane");
        startMenu_ = startMenuFolder_.Path();
        WriteValue("Common Desktop", desktop_.substr(0, desktop_.size() - 1));
        WriteValue("Common Start Menu", startMenu_.substr(0, startMenu_.size() - 1));
    }
    void TearDown() override
    {
        WriteValue("Common Desktop", savedDesktop_);
        WriteValue("Common Start Menu", savedStartMenu_);
    }

    // The listing of both folders: name=contents lines.
    std::string Listing() const
    {
        std::string listing;
        for (const std::string& folder : {desktop_, startMenu_ + "程序\\Quorvane\\"}) {
            WIN32_FIND_DATAA entry;
            rt::unique_hfind find(FindFirstFileA((folder + "*.lnk").c_str(), &entry));
            while (find) {
                listing += std::string(entry.cFileName) + "=" + ReadBytes(folder + entry.cFileName) + ";";
                if (!FindNextFileA(find.get(), &entry))
                    find.reset();
            }
        }
        return listing;
    }

    std::optional<std::string> savedDesktop_;
    std::optional<std::string> savedStartMenu_;
    TempFolder desktopFolder_{"desktop"};
    TempFolder startMenuFolder_{"startmenu"};
    std::string desktop_;
    std::string startMenu_;
};

} // namespace

TEST_F(ShortcutCleanupTest, FoldersComeFromTheRegistryInUpperCase)
{
    std::string expected = desktop_.substr(0, desktop_.size() - 1);
    for (char& c : expected)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    EXPECT_EQ(module::CommonDesktopFolder(), expected);
}

TEST_F(ShortcutCleanupTest, UpperCasingLeavesTheTrailBytesOfAFolderName)
{
    // 癮 is B0 61: its trail byte is no letter, and 癆 (B0 41) is another
    // folder, which does not exist.
    const std::string folder = desktopFolder_.Make("x癮");
    WriteValue("Common Desktop", folder.substr(0, folder.size() - 1));
    std::string expected = folder.substr(0, folder.size() - 1);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (static_cast<unsigned char>(expected[i]) >= 0x81) {
            ++i;
            continue;
        }
        if (expected[i] >= 'a' && expected[i] <= 'z')
            expected[i] = static_cast<char>(expected[i] - 32);
    }
    EXPECT_EQ(module::CommonDesktopFolder(), expected);
    EXPECT_NE(expected.find("X癮"), std::string::npos);
}

TEST_F(ShortcutCleanupTest, OldShortcutMovesToTheCurrentName)
{
    desktopFolder_.Write("Tessaly1.2.lnk", "old desktop");
    startMenuFolder_.Write("程序\\Quorvane\\卸载Velmora.lnk", "old uninstall");
    module::CleanUpLegacyShortcuts();
    EXPECT_EQ(Listing(), "Tessaly-网上抄报税.lnk=old desktop;卸载Tessaly-网上抄报税.lnk=old uninstall;");
}

TEST_F(ShortcutCleanupTest, TakenNameDeletesTheLaterOldShortcuts)
{
    desktopFolder_.Write("Tessaly1.2.lnk", "first");
    desktopFolder_.Write("Velmora.lnk", "second");
    startMenuFolder_.Write("程序\\Quorvane\\Tessaly-网上抄报税.lnk", "current");
    startMenuFolder_.Write("程序\\Quorvane\\Tessaly1.2.lnk", "old a");
    startMenuFolder_.Write("程序\\Quorvane\\Velmora.lnk", "old b");
    module::CleanUpLegacyShortcuts();
    const std::string expected = "Tessaly-网上抄报税.lnk=first;Tessaly-网上抄报税.lnk=current;";
    EXPECT_EQ(Listing(), expected);

    // A second run changes nothing.
    module::CleanUpLegacyShortcuts();
    EXPECT_EQ(Listing(), expected);
}

TEST_F(ShortcutCleanupTest, ValueNamingNoDirectoryFallsBack)
{
    desktopFolder_.Write("Tessaly1.2.lnk", "stays");
    WriteValue("Common Desktop", desktop_ + "missing");
    EXPECT_EQ(module::CommonDesktopFolder(), "C:\\Documents and Settings\\All Users\\桌面");
    WriteValue("Common Start Menu", std::nullopt);
    EXPECT_EQ(module::CommonStartMenuFolder(), "C:\\Documents and Settings\\All Users\\「开始」菜单");
    module::CleanUpLegacyShortcuts();
    EXPECT_EQ(Listing(), "Tessaly1.2.lnk=stays;");
}
