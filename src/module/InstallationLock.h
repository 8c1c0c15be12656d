#pragma once
// One start at a time on one installation. A host opened twice, or two
// sessions of a terminal server on one installation, would otherwise run
// the same upgrade statements twice and rewrite the same files at once. The
// steps that change the installation run while the process holds the lock
// of the sub-application's folder: a named mutex of that folder, one for
// every session. A start that finds the lock held waits for it; a second
// start then finds the work done (the upgrade's journal, the regional
// record) and does nothing twice.
#include "sharedrt/UniqueHandle.h"

#include <string>

namespace module {

// How long a start waits for another one on the same installation.
inline constexpr unsigned long kInstallationLockWaitMilliseconds = 120 * 1000;

class InstallationLock {
public:
    // Takes the lock of `subAppFolder` (a full path), waiting at most
    // `waitMilliseconds`; a lock left by a process that ended is taken over.
    // rt::Error when it cannot be had in that time. Where the system gives no
    // named mutex (none that every session sees, nor one of this session),
    // the start goes on without one, as it did before there was a lock.
    explicit InstallationLock(const std::string& subAppFolder,
                              unsigned long waitMilliseconds = kInstallationLockWaitMilliseconds);
    InstallationLock(const InstallationLock&) = delete;
    InstallationLock& operator=(const InstallationLock&) = delete;
    ~InstallationLock();

    // The mutex's name for a folder: names compare ignoring ASCII case, and
    // a trailing "\" makes no other folder.
    static std::string NameOf(const std::string& subAppFolder);

private:
    rt::unique_handle mutex_;
    bool held_ = false;
};

} // namespace module
