#include "startup/actions/ActionIniTarget.h"

#include "util/FileUtil.h"

#include "sharedrt/RtError.h"

#include <windows.h>

namespace startup {

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

} // namespace startup
