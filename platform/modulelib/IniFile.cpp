#include "IniFile.h"

#include "ProfileEdit.h"

#include "sharedrt/FileReplace.h"

#include <windows.h>

#include <algorithm>
#include <string_view>
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

enum class Encoding { Ansi, Utf8, Utf16LittleEndian, Utf16BigEndian };

struct ProfileText {
    Encoding encoding = Encoding::Ansi;
    std::u16string text;
};

std::u16string Widened(UINT codePage, std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), wide.data(), length);
    return std::u16string(wide.begin(), wide.end());
}

std::string Narrowed(UINT codePage, std::u16string_view text)
{
    if (text.empty())
        return {};
    const std::wstring wide(text.begin(), text.end());
    const int length =
        WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// As the profile functions read a file: a byte-order mark says how it is
// written, else it is in the ANSI code page.
ProfileText Decoded(std::string_view bytes)
{
    ProfileText decoded;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        decoded.encoding = Encoding::Utf8;
        decoded.text = Widened(CP_UTF8, bytes.substr(3));
    } else if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        const bool big = bytes[0] == '\xFE';
        decoded.encoding = big ? Encoding::Utf16BigEndian : Encoding::Utf16LittleEndian;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]);
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            decoded.text += static_cast<char16_t>(big ? (first << 8) | second : (second << 8) | first);
        }
    } else {
        decoded.text = Widened(CP_ACP, bytes);
    }
    return decoded;
}

std::string Encoded(const ProfileText& text)
{
    switch (text.encoding) {
    case Encoding::Utf8:
        return "\xEF\xBB\xBF" + Narrowed(CP_UTF8, text.text);
    case Encoding::Utf16LittleEndian:
    case Encoding::Utf16BigEndian: {
        const bool big = text.encoding == Encoding::Utf16BigEndian;
        std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
        for (char16_t c : text.text) {
            const char high = static_cast<char>(c >> 8);
            const char low = static_cast<char>(c & 0xFF);
            bytes += big ? high : low;
            bytes += big ? low : high;
        }
        return bytes;
    }
    default:
        return Narrowed(CP_ACP, text.text);
    }
}

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    // Closes now; false when closing reports a failure.
    bool Close()
    {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return CloseHandle(handle) != FALSE;
    }

private:
    HANDLE handle_;
};

// The file's bytes; a missing file has none. False when it cannot be read.
bool ReadBytes(const std::string& file, std::string& bytes)
{
    FileHandle handle(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    std::vector<char> chunk(64 * 1024);
    for (DWORD read = 0;;) {
        if (!ReadFile(handle.Get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr))
            return false;
        if (read == 0)
            return true;
        bytes.append(chunk.data(), read);
    }
}

// `bytes` as the whole of a new file at `path`, on the disk when it returns
// true.
bool WriteNewFile(const std::string& path, const std::string& bytes)
{
    FileHandle handle(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid())
        return false;
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(handle.Get(), bytes.data() + done, chunk, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        done += written;
    }
    return FlushFileBuffers(handle.Get()) && handle.Close();
}

} // namespace

bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value)
{
    if (file.empty() || section.empty() || key.empty())
        return false;
    std::string bytes;
    if (!ReadBytes(file, bytes))
        return false;
    ProfileText text = Decoded(bytes);
    text.text = SetProfileValue(text.text, Widened(CP_ACP, section), Widened(CP_ACP, key), Widened(CP_ACP, value));
    const std::string updated = Encoded(text);
    // A value the file already holds (every start records the same version
    // and zone again): the file stays as it is, no write, no flush.
    if (updated == bytes)
        return true;
    // The whole file anew beside the old one, and then in its place: the
    // file is old or new, whatever fails on the way.
    const std::string beside = rt::ReplacementName(file);
    const bool written = WriteNewFile(beside, updated) && rt::MoveOver(beside, file);
    if (!written) {
        const DWORD error = GetLastError();
        DeleteFileA(beside.c_str());
        SetLastError(error);
    }
    return written;
}

} // namespace hostmodel
