#include "config/ActionIniMerge.h"

#include "util/FileUtil.h"
#include "config/PrivateProfile.h"
#include "config/ProfileText.h"
#include "host/HostServices.h"
#include "util/TextRules.h"

#include "sharedrt/RtError.h"

#include <cstdint>
#include <vector>

namespace config {

namespace {

// The value of `key` among a section's lines (keys compared ignoring case,
// the first line of that key deciding, as the profile functions do); null
// when the section has no such key.
std::string* FindValue(std::vector<ProfileEntry>& entries, const std::string& key)
{
    for (ProfileEntry& entry : entries) {
        if (util::EqualsIgnoreCase(entry.key, key))
            return &entry.value;
    }
    return nullptr;
}

// The profile functions answer a file they cannot read like one without
// sections; a source that cannot be read must not pass for an empty one.
void RequireReadable(const std::string& file)
{
    std::string content;
    if (const std::uint32_t error = util::ReadWholeFileChecked(file, content); error != 0)
        throw rt::IoError("无法读取配置文件" + file + "（系统错误" + std::to_string(error) + "）");
}

// Whether there is a source to merge: a missing one is none, one whose
// presence the system cannot tell is a failure.
bool SourcePresent(const std::string& source)
{
    std::uint32_t error = 0;
    switch (util::QueryPathKind(source, &error)) {
    case util::PathKind::File:
        return true;
    case util::PathKind::Unknown:
        throw rt::IoError("无法读取配置文件" + source + "（系统错误" + std::to_string(error) + "）");
    default:
        return false;
    }
}

} // namespace

void MergeActionIniFiles(const std::string& source, const std::string& target)
{
    if (!SourcePresent(source))
        return;
    RequireReadable(source);
    for (const std::string& section : ReadIniSectionNames(source)) {
        // A key the target already holds with the same value is left as it
        // is: the merge at every start then only reads.
        std::vector<ProfileEntry> present;
        for (const std::string& line : ReadIniSectionLines(target, section))
            present.push_back(SplitProfileLine(line));
        const std::vector<std::string> lines = ReadIniSectionLines(source, section);
        if (lines.empty())
            RequireReadable(source);
        for (const std::string& line : lines) {
            const ProfileEntry entry = SplitProfileLine(line);
            if (entry.key.empty())
                continue;
            std::string* current = FindValue(present, entry.key);
            if (current != nullptr && *current == entry.value)
                continue;
            WriteIniString(target, section, entry.key, entry.value);
            if (current != nullptr)
                *current = entry.value;
            else
                present.push_back(entry);
        }
    }
}

void MergeActionIni()
{
    const std::string source = host::RequiredCurSubAppPath() + kActionIniName;
    if (!SourcePresent(source))
        return;
    MergeActionIniFiles(host::RequiredCurSubAppPath() + kActionIniName, host::RequiredAppPath() + kActionIniName);
}

} // namespace config
