#pragma once
// Replacing a file by a new one written beside it and moved over it, when
// other processes may do the same to the same file at the same moment (a
// host opened twice on one installation): each replacement writes beside
// under a name of its own, and a move that meets the file held open by
// another program is tried again for a short while. Header-only, so that
// the module and the host each carry their own.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

namespace rt {

// Every file written beside another for its replacement is named so: the
// file's name, this mark, and what makes it this replacement's own.
inline constexpr const char kReplacementMark[] = ".wscbs-";

// How long a move waits for another program to let go of the file.
inline constexpr DWORD kReplaceRetryMilliseconds = 20;
inline constexpr DWORD kReplaceWaitMilliseconds = 3000;

// A name beside `path` that no other replacement uses: this process's, this
// binary's (the host and the module each count their own) and a count.
inline std::string ReplacementName(const std::string& path)
{
    static std::atomic<unsigned long> count {0};
    char own[64];
    std::snprintf(own, sizeof own, "%lu-%p-%lu.new", GetCurrentProcessId(), static_cast<void*>(&count),
                  count.fetch_add(1));
    return path + kReplacementMark + own;
}

// Moves `from` over `to`, written through to the disk. While another
// program holds `to` open (a sharing or lock violation, or access denied to
// a file that is being replaced) the move is tried again, for at most
// kReplaceWaitMilliseconds. False with the system's error when it fails.
inline bool MoveOver(const std::string& from, const std::string& to)
{
    for (DWORD waited = 0;; waited += kReplaceRetryMilliseconds) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                          error == ERROR_ACCESS_DENIED;
        if (!held || waited >= kReplaceWaitMilliseconds) {
            SetLastError(error);
            return false;
        }
        Sleep(kReplaceRetryMilliseconds);
    }
}

} // namespace rt
