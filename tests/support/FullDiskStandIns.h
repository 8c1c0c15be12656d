#pragma once
// The system's calls as they behave on a full disk, to be put in place of
// the real ones through ImportPatch.
#include "support/TempFolder.h"

#include <windows.h>

namespace testing_support {

// The system's profile write on a full disk, as Wine does it: the file is
// made anew, nothing gets into it, and the call reports success.
inline BOOL WINAPI ProfileWriteOnAFullDisk(LPCSTR, LPCSTR, LPCSTR, LPCSTR file)
{
    WriteBytes(file, "");
    return TRUE;
}

} // namespace testing_support
