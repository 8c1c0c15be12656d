// Every binary of the product carries the version resource that Explorer's
// properties page and installers read: the project's version, and the texts
// in a Chinese and an English block.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

struct VersionInfo {
    std::vector<char> data;

    std::string Text(const char* block, const char* name) const
    {
        void* value = nullptr;
        UINT length = 0;
        const std::string path = std::string("\\StringFileInfo\\") + block + "\\" + name;
        if (!VerQueryValueA(data.data(), path.c_str(), &value, &length) || length == 0)
            return "(none)";
        return static_cast<const char*>(value);
    }
};

VersionInfo ReadVersion(const std::string& file)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    VersionInfo info;
    if (size == 0)
        return info;
    info.data.resize(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, info.data.data()))
        info.data.clear();
    return info;
}

} // namespace

TEST(VersionResource, EveryBinaryCarriesTheProjectsVersionInBothLanguages)
{
    for (const char* file : {"wscbs.dll", "SharedRt.dll", "XPKestrel.dll", "ModuleLib.dll", "MainFrame.exe"}) {
        SCOPED_TRACE(file);
        const VersionInfo info = ReadVersion(file);
        ASSERT_FALSE(info.data.empty()) << "no version resource";

        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(info.data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(WSCBS_VERSION_MAJOR << 16 | WSCBS_VERSION_MINOR));
        EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(WSCBS_VERSION_PATCH << 16));
        EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
        EXPECT_EQ(fixed->dwFileType, std::string(file).ends_with(".exe") ? DWORD{VFT_APP} : DWORD{VFT_DLL});

        for (const char* block : {"080403a8", "040904b0"}) {
            SCOPED_TRACE(block);
            EXPECT_EQ(info.Text(block, "ProductVersion"), WSCBS_VERSION);
            EXPECT_EQ(info.Text(block, "FileVersion"), std::string(WSCBS_VERSION) + ".0");
            EXPECT_EQ(info.Text(block, "OriginalFilename"), file);
            EXPECT_EQ(info.Text(block, "CompanyName"), WSCBS_COMPANY);
            EXPECT_EQ(info.Text(block, "LegalCopyright"), WSCBS_COPYRIGHT);
        }
        // The 32- and 64-bit files told apart by their descriptions.
        const bool wide = sizeof(void*) == 8;
        EXPECT_TRUE(info.Text("040904b0", "FileDescription").ends_with(wide ? " (64-bit)" : " (32-bit)"))
            << info.Text("040904b0", "FileDescription");
        EXPECT_TRUE(info.Text("080403a8", "FileDescription").ends_with(wide ? "（64位）" : "（32位）"));
        // The Chinese block in the ANSI code page of a Chinese system.
        EXPECT_EQ(info.Text("080403a8", "ProductName"), "\xcd\xf8\xc9\xcf\xb3\xad\xb1\xa8\xcb\xb0");  // 网上抄报税
        EXPECT_EQ(info.Text("040904b0", "ProductName"), "Online tax copy-and-report");
    }
}
