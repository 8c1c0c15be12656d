#pragma once
// A fresh folder under the Windows temporary folder for one test, removed
// with everything in it when the test ends, and small helpers for files.
#include "sharedrt/FileReplace.h"
#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

inline void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    rt::unique_hfind listing(FindFirstFileA((path + "\\*").c_str(), &entry));
    while (listing) {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") {
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        }
        if (!FindNextFileA(listing.get(), &entry))
            listing.reset();
    }
    RemoveDirectoryA(path.c_str());
}

inline void WriteBytes(const std::string& path, std::string_view bytes)
{
    rt::unique_hfile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    if (file)
        WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadBytes(const std::string& path)
{
    rt::unique_hfile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {};
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    bytes.resize(read);
    return bytes;
}

// The file system's number of the file at `path` (0 when it cannot be
// opened): the same for a file rewritten in place, another for a new file
// put in its place.
inline std::uint64_t FileNumber(const std::string& path)
{
    rt::unique_hfile file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !GetFileInformationByHandle(file.get(), &information))
        return 0;
    return (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
}

inline bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The files that replacements of `path` left beside it (named after it
// with rt::kReplacementMark): none once every replacement has ended.
inline std::vector<std::string> ReplacementsBeside(const std::string& path)
{
    std::vector<std::string> left;
    WIN32_FIND_DATAA entry;
    rt::unique_hfind listing(FindFirstFileA((path + rt::kReplacementMark + "*").c_str(), &entry));
    while (listing) {
        left.emplace_back(entry.cFileName);
        if (!FindNextFileA(listing.get(), &entry))
            listing.reset();
    }
    return left;
}

class TempFolder {
public:
    // `tag` becomes part of the folder's name.
    explicit TempFolder(std::string_view tag = "test")
    {
        static std::atomic<int> counter{0};
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(sizeof temp, temp);
        path_ = std::string(temp) + "wscbs-" + std::string(tag) + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount()) + "-" + std::to_string(counter++) + "\\";
        RemoveTree(Unslashed());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() { RemoveTree(Unslashed()); }

    // The folder, ending with "\".
    const std::string& Path() const { return path_; }

    // Path() + relative, creating the directories on the way.
    std::string Make(std::string_view relativeDirectory) const
    {
        std::string path = path_;
        std::size_t start = 0;
        while (start < relativeDirectory.size()) {
            std::size_t end = relativeDirectory.find('\\', start);
            if (end == std::string_view::npos)
                end = relativeDirectory.size();
            path += std::string(relativeDirectory.substr(start, end - start)) + "\\";
            CreateDirectoryA(path.c_str(), nullptr);
            start = end + 1;
        }
        return path;
    }

    // Writes a file at Path() + relative (its directories must exist) and
    // returns its path.
    std::string Write(std::string_view relative, std::string_view bytes) const
    {
        const std::string path = path_ + std::string(relative);
        WriteBytes(path, bytes);
        return path;
    }

    bool Exists(std::string_view relative) const { return PathExists(path_ + std::string(relative)); }

private:
    std::string Unslashed() const { return path_.substr(0, path_.size() - 1); }

    std::string path_;
};

} // namespace testing_support
