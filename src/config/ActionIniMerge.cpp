#include "config/ActionIniMerge.h"

#include "config/FileExists.h"
#include "config/PrivateProfile.h"
#include "config/ProfileText.h"
#include "host/HostServices.h"

namespace config {

void MergeActionIniFiles(const std::string& source, const std::string& target)
{
    if (!FileExists(source))
        return;
    for (const std::string& section : ReadIniSectionNames(source)) {
        for (const std::string& line : ReadIniSectionLines(source, section)) {
            const ProfileEntry entry = SplitProfileLine(line);
            if (entry.key.empty())
                continue;
            WriteIniString(target, section, entry.key, entry.value);
        }
    }
}

void MergeActionIni()
{
    const std::string source = host::CurSubAppPath() + kActionIniName;
    if (!FileExists(source))
        return;
    MergeActionIniFiles(host::CurSubAppPath() + kActionIniName, host::AppPath() + kActionIniName);
}

} // namespace config
