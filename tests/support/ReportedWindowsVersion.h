#pragma once
// Makes Wine report another Windows version to one program, named by its
// file name, while an object lives: the value Version under
// HKCU\Software\Wine\AppDefaults\<program>, read at the program's start.
// The prefix is left as it was found: the program's key goes again (the
// AppDefaults key itself is one that every Wine process makes).
// Tests using this take the MachineWide resource lock.
#include "sharedrt/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace testing_support {

class ReportedWindowsVersion {
public:
    // `version` as winecfg names it: "win95", "win98", "winme", "win2k".
    ReportedWindowsVersion(const std::string& program, const std::string& version)
        : programKey_(std::string(kAppDefaults).append("\\").append(program))
    {
        rt::unique_hkey key;
        ok_ = RegCreateKeyExA(HKEY_CURRENT_USER, programKey_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, key.put(),
                              nullptr) == ERROR_SUCCESS &&
              RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                             static_cast<DWORD>(version.size() + 1)) == ERROR_SUCCESS;
    }
    ReportedWindowsVersion(const ReportedWindowsVersion&) = delete;
    ReportedWindowsVersion& operator=(const ReportedWindowsVersion&) = delete;
    ~ReportedWindowsVersion() { RegDeleteKeyA(HKEY_CURRENT_USER, programKey_.c_str()); }
    bool Ok() const { return ok_; }

private:
    static constexpr const char* kAppDefaults = "Software\\Wine\\AppDefaults";
    std::string programKey_;
    bool ok_ = false;
};

} // namespace testing_support
