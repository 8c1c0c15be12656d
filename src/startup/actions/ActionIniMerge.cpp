#include "startup/actions/ActionIniMerge.h"

#include "util/FileUtil.h"
#include "profile/PrivateProfile.h"
#include "startup/actions/ActionMergePlan.h"
#include "startup/actions/ActionIniTarget.h"
#include "text/GbkConverter.h"
#include "profile/ProfileDocument.h"
#include "profile/ProfileText.h"
#include "host/HostServices.h"
#include "text/TextRules.h"

#include "sharedrt/RtError.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace startup {

namespace {

bool StartsWithByteOrderMark(const std::string& text)
{
    return text.rfind("\xEF\xBB\xBF", 0) == 0 || text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0;
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
    // Read once and whole: a source that cannot be read fails the merge
    // and never passes for one with fewer keys.
    const std::optional<profile::ProfileDocument> sourceDocument = profile::ReadProfileDocument(source);
    if (!sourceDocument)
        return;
    // The host reads its file at every start: it is read once here, merged
    // in memory, and replaced whole by the merged file, or left as it is.
    const std::string current = ReadActionIniTarget(target);
    // Every key of the source, section by section in file order.
    const ActionMergePlan plan =
        PlanActionMerge(source, sourceDocument, target, profile::ProfileTextAsGbk(current, text::SystemGbkConverter()));
    const std::vector<ActionKeyWrite>& keys = plan.writes;
    if (StartsWithByteOrderMark(current)) {
        // Text in another encoding is left to the profile functions, which
        // know it; they work on the copy that replaces the host's file.
        bool changed = false;
        for (const ActionKeyWrite& key : keys) {
            const std::string value = profile::ReadIniString(target, key.section, key.key, std::string(1, '\x01'));
            changed = changed || value != key.value;
        }
        if (!changed)
            return;
        std::vector<profile::IniValue> values;
        for (const ActionKeyWrite& key : keys)
            values.push_back({key.section, key.key, key.value});
        util::ReplaceFileBy(target, [&](const std::string& beside) {
            util::WriteWholeFile(beside, current);
            profile::WriteIniStringsChecked(beside, values);
        });
        return;
    }
    if (!plan.changesTarget)
        return;
    profile::ProfileDocument document(current);
    for (const ActionKeyWrite& key : keys)
        document.Set(key.section, key.key, key.value);
    const std::string merged = document.Text();
    if (merged != current)
        util::ReplaceFileContent(target, merged);
}

void MergeActionIni()
{
    const std::string source = host::RequiredCurSubAppPath() + kActionIniName;
    if (!SourcePresent(source))
        return;
    MergeActionIniFiles(host::RequiredCurSubAppPath() + kActionIniName, host::RequiredAppPath() + kActionIniName);
}

} // namespace startup
