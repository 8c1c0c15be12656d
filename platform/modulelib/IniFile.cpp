#include "IniFile.h"

#include <windows.h>

#include <vector>

namespace hostmodel {

std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& defaultValue)
{
    if (file.empty() || section.empty() || key.empty())
        return defaultValue;
    // The call answers size - 1 when the value did not fit: grow and ask again.
    std::vector<char> buffer(1024);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                                      buffer.data(), size, file.c_str());
        if (length + 1 < size || buffer.size() >= (1u << 24))
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
}

namespace {

constexpr const char kBesideSuffix[] = ".wscbs-new";

// The file's bytes as a new file at `copy` (a copy with a time of its own, so
// that the profile functions never take it for one they have read before).
// True when there was nothing to copy.
bool CopyBytes(const std::string& file, const std::string& copy)
{
    HANDLE source = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (source == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    HANDLE target = CreateFileA(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool copied = target != INVALID_HANDLE_VALUE;
    std::vector<char> chunk(64 * 1024);
    for (DWORD read = 0; copied;) {
        copied = ReadFile(source, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) != FALSE;
        if (!copied || read == 0)
            break;
        DWORD written = 0;
        copied = WriteFile(target, chunk.data(), read, &written, nullptr) != FALSE && written == read;
    }
    CloseHandle(source);
    if (target != INVALID_HANDLE_VALUE)
        copied = CloseHandle(target) != FALSE && copied;
    return copied;
}

bool FlushToDisk(const std::string& file)
{
    HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(handle) != FALSE;
    return CloseHandle(handle) != FALSE && flushed;
}

} // namespace

bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value)
{
    if (file.empty() || section.empty() || key.empty())
        return false;
    // The profile function rewrites a file in place, and a disk that fills
    // up half way leaves it cut short. It works on a copy beside the file,
    // which then takes the file's place whole, or goes.
    const std::string beside = file + kBesideSuffix;
    const bool written = CopyBytes(file, beside) &&
                         WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), beside.c_str()) &&
                         FlushToDisk(beside) &&
                         MoveFileExA(beside.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!written) {
        const DWORD error = GetLastError();
        DeleteFileA(beside.c_str());
        SetLastError(error);
    }
    return written;
}

} // namespace hostmodel
