#include "HostSettings.h"

#include "HostState.h"
#include "hostmodel/HostProfile.h"
#include "sharedrt/AnsiPath.h"
#include "sharedrt/RtError.h"

#include <windows.h>


namespace hostmodel {
namespace {

enum class SetUp { Pending, ByHost, FromFile, Failed };

SetUp g_setUp = SetUp::Pending;
std::string g_file;
std::string g_problem;

// The folder of ModuleLib.dll, ending with "\"; empty when it cannot be
// told whole.
std::string OwnFolder()
{
    HMODULE self = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&SetUpFromSettingsOnce), &self))
        return {};
    return rt::ModuleFolder(self).value_or(std::string());
}

bool IsFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

void SetUpFromSettingsOnce() noexcept
{
    if (g_setUp != SetUp::Pending)
        return;
    g_setUp = SetUp::Failed;
    try {
        const std::string folder = OwnFolder();
        for (const char* name : {"ModuleLib.ini", "MainFrame.ini"}) {
            if (folder.empty() || !IsFile(folder + name))
                continue;
            g_file = folder + name;
            ApplyHostProfile(ReadHostProfileFile(g_file), State());
            g_setUp = SetUp::FromFile;
            return;
        }
        g_problem = "ModuleLib.dll的目录" + folder + "中没有设置文件ModuleLib.ini或MainFrame.ini";
    } catch (const std::exception& e) {
        g_problem = e.what();
    } catch (...) {
        g_problem = "设置文件" + g_file + "无法读取";
    }
    try {
        OutputDebugStringA(("ModuleLib: " + g_problem + "\n").c_str());
    } catch (...) {
    }
}

void HostConfiguresModel() noexcept
{
    if (g_setUp == SetUp::Pending)
        g_setUp = SetUp::ByHost;
}

std::string SettingsFile() { return g_setUp == SetUp::FromFile ? g_file : std::string(); }

std::string SettingsProblem() { return g_setUp == SetUp::Failed ? g_problem : std::string(); }

} // namespace hostmodel
