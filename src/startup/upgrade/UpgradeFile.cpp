#include "startup/upgrade/UpgradeFile.h"

#include "util/FileUtil.h"

namespace startup {

UpgradeFile ReadUpgradeFile(const std::string& file)
{
    UpgradeFile read;
    switch (util::QueryPathKind(file, &read.error)) {
    case util::PathKind::Missing:
    case util::PathKind::Directory:
        return read;
    case util::PathKind::Unknown:
        read.state = UpgradeFile::State::Unreadable;
        return read;
    case util::PathKind::File:
        break;
    }
    // The profile functions answer an unreadable file like an empty one;
    // reading it here first tells the two apart.
    if ((read.error = util::ReadWholeFileChecked(file, read.content)) != 0) {
        read.content.clear();
        read.state = UpgradeFile::State::Unreadable;
        return read;
    }
    read.state = UpgradeFile::State::Read;
    return read;
}

} // namespace startup
