#include "config/StartupFiles.h"

#include "config/ErrorCatalogueMessages.h"
#include "util/FileUtil.h"

#include "sharedrt/RtError.h"

#include <windows.h>

namespace config {

CatalogueFile ReadErrorCatalogueFile(const std::string& file)
{
    CatalogueFile read;
    read.path = file;
    std::uint32_t error = 0;
    const util::PathKind kind = util::QueryPathKind(file, &error);
    if (kind == util::PathKind::Missing || kind == util::PathKind::Directory) {
        read.failureMessage = kCatalogueMissingMessage;
        return read;
    }
    if (kind == util::PathKind::Unknown || (error = util::ReadWholeFileChecked(file, read.bytes)) != 0) {
        read.bytes.clear();
        read.failureMessage = CatalogueUnreadableMessage(error);
        return read;
    }
    read.read = true;
    return read;
}

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

std::string ReadActionIniTarget(const std::string& target)
{
    std::uint32_t error = 0;
    std::string content;
    switch (util::QueryPathKind(target, &error)) {
    case util::PathKind::Missing:
        return content;
    case util::PathKind::File:
        error = util::ReadWholeFileChecked(target, content);
        if (error == 0)
            return content;
        break;
    case util::PathKind::Directory:
        error = ERROR_ACCESS_DENIED;  // a directory where the file should be
        break;
    case util::PathKind::Unknown:
        break;
    }
    throw rt::IoError("无法写入配置文件" + target + "（系统错误" + std::to_string(error) + "）");
}

} // namespace config
