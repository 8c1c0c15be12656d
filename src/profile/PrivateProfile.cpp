#include "profile/PrivateProfile.h"

#include "text/GbkConverter.h"
#include "profile/ProfileText.h"
#include "util/FileUtil.h"
#include "text/TextRules.h"

#include "sharedrt/RtError.h"

#include <windows.h>

namespace profile {
namespace {

constexpr DWORD kFirstBufferSize = 32 * 1024;
// Lists beyond this are not INI files the module works with; the limit keeps
// a broken file from growing the buffer without end.
constexpr DWORD kLargestBufferSize = 64 * 1024 * 1024;

// Calls `read(buffer, size)` with growing buffers until the result fits:
// the list functions report a list that did not fit with size - 2, the
// string function with size - 1.
template <typename Read>
std::string ReadGrowing(DWORD truncatedMargin, Read read)
{
    std::string buffer;
    for (DWORD size = kFirstBufferSize;; size *= 2) {
        buffer.assign(size, '\0');
        const DWORD length = read(buffer.data(), size);
        if (length + truncatedMargin < size || size >= kLargestBufferSize) {
            buffer.resize(length < size ? length + 1 : size);
            return buffer;
        }
    }
}

} // namespace

std::optional<ProfileDocument> ReadProfileDocument(const std::string& file)
{
    std::uint32_t error = 0;
    std::string content;
    switch (util::QueryPathKind(file, &error)) {
    case util::PathKind::Missing:
    case util::PathKind::Directory:
        return std::nullopt;
    case util::PathKind::File:
        error = util::ReadWholeFileChecked(file, content);
        if (error == 0)
            return ProfileDocument(ProfileTextAsGbk(content, text::SystemGbkConverter()));
        break;
    case util::PathKind::Unknown:
        break;
    }
    throw rt::IoError("无法读取配置文件" + file + "（系统错误" + std::to_string(error) + "）");
}

std::vector<std::string> ReadIniSectionNames(const std::string& file)
{
    return SplitProfileList(ReadGrowing(2, [&](char* buffer, DWORD size) {
        return GetPrivateProfileSectionNamesA(buffer, size, file.c_str());
    }));
}

std::vector<std::string> ReadIniSectionLines(const std::string& file, const std::string& section)
{
    return SplitProfileList(ReadGrowing(2, [&](char* buffer, DWORD size) {
        return GetPrivateProfileSectionA(section.c_str(), buffer, size, file.c_str());
    }));
}

std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& defaultValue)
{
    std::string value = ReadGrowing(1, [&](char* buffer, DWORD size) {
        return GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, size,
                                        file.c_str());
    });
    value.resize(value.find('\0') == std::string::npos ? value.size() : value.find('\0'));
    return value;
}

bool TryWriteIniString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& value)
{
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != FALSE;
}

void WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value)
{
    if (!TryWriteIniString(file, section, key, value))
        throw rt::IoError("无法写入配置文件" + file + "：[" + section + "] " + key);
}

namespace {

// The key lines of every section, as the profile functions list them.
std::vector<std::pair<std::string, std::vector<std::string>>> Entries(const ProfileDocument& document)
{
    std::vector<std::pair<std::string, std::vector<std::string>>> entries;
    for (const std::string& section : document.SectionNames())
        entries.emplace_back(text::ToUpperAscii(section), document.SectionLines(section));
    return entries;
}

} // namespace

void WriteIniStringsChecked(const std::string& file, const std::vector<IniValue>& values)
{
    const std::optional<ProfileDocument> before = ReadProfileDocument(file);
    ProfileDocument expected = before.value_or(ProfileDocument(""));
    for (const IniValue& value : values) {
        WriteIniString(file, value.section, value.key, value.value);
        expected.Set(value.section, value.key, value.value);
    }
    const std::optional<ProfileDocument> after = ReadProfileDocument(file);
    if (!after || Entries(*after) != Entries(expected))
        throw rt::IoError("无法写入配置文件" + file + "（写入的内容不完整，磁盘可能已满）");
}

} // namespace profile
