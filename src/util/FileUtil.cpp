#include "util/FileUtil.h"

#include "util/PathText.h"

#include "sharedrt/FileReplace.h"
#include "sharedrt/RtError.h"
#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <stdexcept>

namespace util {

namespace {

// Shortest path that is more than a bare drive ("C:").
constexpr std::size_t kShortestCreatablePath = 3;

bool IsDotEntry(const char* name) noexcept
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

} // namespace

PathKind QueryPathKind(std::string_view path, std::uint32_t* error)
{
    const std::string text(path);
    const DWORD attributes = GetFileAttributesA(text.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (error != nullptr)
            *error = 0;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Directory : PathKind::File;
    }
    const DWORD code = GetLastError();
    if (error != nullptr)
        *error = code;
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? PathKind::Missing : PathKind::Unknown;
}

bool IsDirectory(std::string_view path)
{
    const std::string text(path);
    const DWORD attributes = GetFileAttributesA(text.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FileExists(std::string_view path)
{
    const std::string text(path);
    const DWORD attributes = GetFileAttributesA(text.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void CreateDirectoryChain(std::string_view path)
{
    if (path.empty())
        return;
    path = RemoveTrailingSeparator(path);
    if (path.size() < kShortestCreatablePath || IsDirectory(path))
        return;
    const std::string_view parent = ExtractParentPath(path);
    if (parent == path)
        return;
    CreateDirectoryChain(parent);
    const std::string directory(path);
    CreateDirectoryA(directory.c_str(), nullptr);
}

bool CopyDirectoryTree(std::string_view source, std::string_view target, bool failIfExists,
                       std::vector<std::string>* notCopied)
{
    if (source.empty())
        return false;
    if (!IsDirectory(source))
        throw rt::IoError("无法打开目录：" + std::string(source));

    WIN32_FIND_DATAA entry;
    const std::string pattern = JoinPath(source, "*.*");
    rt::unique_hfind listing(FindFirstFileA(pattern.c_str(), &entry));
    if (!listing)
        return false;

    if (!IsDirectory(target))
        CreateDirectoryChain(target);

    do {
        if (IsDotEntry(entry.cFileName))
            continue;
        const std::string from = JoinPath(source, entry.cFileName);
        const std::string to = JoinPath(target, entry.cFileName);
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (!IsDirectory(to))
                CreateDirectoryChain(to);
            if (!CopyDirectoryTree(from, to, false, notCopied) && notCopied != nullptr)
                notCopied->push_back(from);
        } else if (!CopyFileA(from.c_str(), to.c_str(), failIfExists ? TRUE : FALSE) && notCopied != nullptr) {
            notCopied->push_back(from);
        }
    } while (FindNextFileA(listing.get(), &entry));
    // Only "no more files" ends a listing; any other error cut it short.
    if (GetLastError() != ERROR_NO_MORE_FILES && notCopied != nullptr)
        notCopied->push_back(std::string(source));
    return true;
}

namespace {

[[noreturn]] void RaiseWriteFailure(const std::string& path, DWORD error)
{
    throw rt::IoError("无法写入配置文件" + path + "（系统错误" + std::to_string(error) + "）");
}

} // namespace

void WriteWholeFile(const std::string& path, std::string_view content)
{
    rt::unique_hfile file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        RaiseWriteFailure(path, GetLastError());
    std::size_t done = 0;
    while (done < content.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 20));
        DWORD written = 0;
        const BOOL ok = WriteFile(file.get(), content.data() + done, chunk, &written, nullptr);
        if (!ok || written == 0)
            RaiseWriteFailure(path, ok ? ERROR_DISK_FULL : GetLastError());
        done += written;
    }
    if (!CloseHandle(file.release()))
        RaiseWriteFailure(path, GetLastError());
}

namespace {

// Puts the file's data on the disk before it takes another's place.
void FlushToDisk(const std::string& path)
{
    rt::unique_hfile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !FlushFileBuffers(file.get()))
        RaiseWriteFailure(path, GetLastError());
    if (!CloseHandle(file.release()))
        RaiseWriteFailure(path, GetLastError());
}

} // namespace

void ReplaceFileBy(const std::string& path, const std::function<void(const std::string& beside)>& fill)
{
    const std::string beside = rt::ReplacementName(path);
    try {
        fill(beside);
        FlushToDisk(beside);
        if (!rt::MoveOver(beside, path))
            RaiseWriteFailure(path, GetLastError());
    } catch (...) {
        DeleteFileA(beside.c_str());
        throw;
    }
}

void ReplaceFileContent(const std::string& path, std::string_view content)
{
    ReplaceFileBy(path, [&](const std::string& beside) { WriteWholeFile(beside, content); });
}

std::string ReadWholeFile(std::string_view path)
{
    std::string content;
    ReadWholeFileChecked(path, content);
    return content;
}

std::uint32_t ReadWholeFileChecked(std::string_view path, std::string& content)
{
    content.clear();
    const std::string name(path);
    rt::unique_hfile file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return GetLastError();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size))
        return GetLastError();
    if (size.QuadPart < 0 || size.QuadPart > MAXDWORD)
        return ERROR_FILE_TOO_LARGE;

    try {
        content.resize(static_cast<std::size_t>(size.QuadPart));
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    } catch (const std::length_error&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    std::size_t done = 0;
    while (done < content.size()) {
        DWORD read = 0;
        if (!ReadFile(file.get(), content.data() + done, static_cast<DWORD>(content.size() - done), &read,
                      nullptr)) {
            const DWORD error = GetLastError();
            content.clear();
            return error;
        }
        if (read == 0) {
            content.clear();
            return ERROR_HANDLE_EOF;
        }
        done += read;
    }
    return 0;
}

} // namespace util
