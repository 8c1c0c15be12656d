#include "config/ActionIniMerge.h"

#include "util/FileUtil.h"
#include "config/PrivateProfile.h"
#include "config/ProfileText.h"
#include "host/HostServices.h"
#include "util/TextRules.h"

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

} // namespace

void MergeActionIniFiles(const std::string& source, const std::string& target)
{
    if (!util::FileExists(source))
        return;
    for (const std::string& section : ReadIniSectionNames(source)) {
        // A key the target already holds with the same value is left as it
        // is: the merge at every start then only reads.
        std::vector<ProfileEntry> present;
        for (const std::string& line : ReadIniSectionLines(target, section))
            present.push_back(SplitProfileLine(line));
        for (const std::string& line : ReadIniSectionLines(source, section)) {
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
    if (!util::FileExists(source))
        return;
    MergeActionIniFiles(host::RequiredCurSubAppPath() + kActionIniName, host::RequiredAppPath() + kActionIniName);
}

} // namespace config
