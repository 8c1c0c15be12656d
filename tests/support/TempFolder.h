#pragma once
// A fresh folder under the Windows temporary folder for one test, removed
// with everything in it when the test ends.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace testing_support {

class TempFolder {
public:
    TempFolder()
    {
        static std::atomic<unsigned> counter{0};
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "wscbs-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount()) + "-" + std::to_string(counter++) + "\\";
        std::filesystem::create_directories(path_);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    // Ends with "\".
    const std::string& Path() const { return path_; }

    std::string Write(const std::string& name, const std::string& contents) const
    {
        const std::string file = path_ + name;
        std::ofstream(file, std::ios::binary) << contents;
        return file;
    }

    bool Exists(const std::string& name) const { return GetFileAttributesA((path_ + name).c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    std::string path_;
};

} // namespace testing_support
