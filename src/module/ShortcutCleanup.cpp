#include "module/ShortcutCleanup.h"

#include "util/FileUtil.h"
#include "util/FileUtil.h"
#include "text/TextRules.h"

#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <algorithm>

namespace module {
namespace {

constexpr const char kShellFoldersKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct FolderLookup {
    const char* valueName;
    const char* fallback;
};

constexpr FolderLookup kCommonDesktop{"Common Desktop", "C:\\Documents and Settings\\All Users\\桌面"};
constexpr FolderLookup kCommonStartMenu{"Common Start Menu", "C:\\Documents and Settings\\All Users\\「开始」菜单"};

struct ShortcutRule {
    const FolderLookup* folder;
    const char* oldPath;
    const char* newPath;
};

// In this order: for each new name, the first existing old shortcut takes
// it; every later one finds it taken and is deleted.
constexpr ShortcutRule kRules[] = {
    {&kCommonDesktop, "\\Tessaly1.2.lnk", "\\Tessaly-网上抄报税.lnk"},
    {&kCommonStartMenu, "\\程序\\Quorvane\\Tessaly1.2.lnk", "\\程序\\Quorvane\\Tessaly-网上抄报税.lnk"},
    {&kCommonStartMenu, "\\程序\\Quorvane\\卸载Tessaly1.2.lnk", "\\程序\\Quorvane\\卸载Tessaly-网上抄报税.lnk"},
    {&kCommonDesktop, "\\Velmora.lnk", "\\Tessaly-网上抄报税.lnk"},
    {&kCommonStartMenu, "\\程序\\Quorvane\\Velmora.lnk", "\\程序\\Quorvane\\Tessaly-网上抄报税.lnk"},
    {&kCommonStartMenu, "\\程序\\Quorvane\\卸载Velmora.lnk", "\\程序\\Quorvane\\卸载Tessaly-网上抄报税.lnk"},
};

// The text of a Shell Folders value; empty when the key or value cannot be
// read or is no text.
std::string ReadShellFolder(const char* valueName)
{
    rt::unique_hkey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kShellFoldersKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return {};
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    std::string value(size + 1, '\0');
    if (RegQueryValueExA(key.get(), valueName, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS)
        return {};
    value.resize(std::min<std::size_t>(size, value.size()));
    // The stored text may or may not carry its terminating NUL.
    const std::size_t nul = value.find('\0');
    if (nul != std::string::npos)
        value.resize(nul);
    return value;
}

std::string LookUpFolder(const FolderLookup& lookup)
{
    const std::string path = text::ToUpperAscii(ReadShellFolder(lookup.valueName));
    if (path.empty() || !util::IsDirectory(path))
        return lookup.fallback;
    return path;
}

} // namespace

std::string CommonDesktopFolder()
{
    return LookUpFolder(kCommonDesktop);
}

std::string CommonStartMenuFolder()
{
    return LookUpFolder(kCommonStartMenu);
}

void CleanUpLegacyShortcuts() noexcept
{
    for (const ShortcutRule& rule : kRules) {
        try {
            const std::string oldPath = LookUpFolder(*rule.folder) + rule.oldPath;
            const std::string newPath = LookUpFolder(*rule.folder) + rule.newPath;
            if (!util::FileExists(oldPath))
                continue;
            // MoveFile never replaces an existing file; after a move the
            // deletion finds nothing, after a refused move it removes the
            // old shortcut.
            MoveFileA(oldPath.c_str(), newPath.c_str());
            DeleteFileA(oldPath.c_str());
        } catch (...) {
        }
    }
}

} // namespace module
