#include "module/InstallationLock.h"

#include "text/TextRules.h"
#include "util/PathText.h"

#include "sharedrt/RtError.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace module {

std::string InstallationLock::NameOf(const std::string& subAppFolder)
{
    const std::string folder = text::ToUpperAscii(util::RemoveTrailingSeparator(subAppFolder));
    std::uint32_t hash = 2166136261u;
    for (const char c : folder) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    char name[64];
    std::snprintf(name, sizeof name, "wscbs-start-%08X-%zu", static_cast<unsigned>(hash), folder.size());
    return name;
}

InstallationLock::InstallationLock(const std::string& subAppFolder, unsigned long waitMilliseconds)
{
    // Every user's start may wait on it: a mutex that no access list closes.
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES attributes {sizeof attributes, &descriptor, FALSE};
    const std::string name = NameOf(subAppFolder);
    mutex_.reset(CreateMutexA(&attributes, FALSE, ("Global\\" + name).c_str()));
    if (!mutex_)
        mutex_.reset(CreateMutexA(&attributes, FALSE, name.c_str()));
    if (!mutex_)
        return;
    switch (WaitForSingleObject(mutex_.get(), waitMilliseconds)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:  // its holder ended in the middle: the steps are made to be taken up again
        held_ = true;
        return;
    case WAIT_TIMEOUT:
        throw rt::Error("另一个程序正在初始化同一子应用（" + subAppFolder + "），等待" +
                        std::to_string(waitMilliseconds / 1000) + "秒后仍未结束，请稍后再试");
    default:
        throw rt::Error("无法等待子应用的初始化锁（系统错误" + std::to_string(GetLastError()) + "）");
    }
}

InstallationLock::~InstallationLock()
{
    if (held_)
        ReleaseMutex(mutex_.get());
}

} // namespace module
