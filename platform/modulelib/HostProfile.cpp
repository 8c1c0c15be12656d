#include "hostmodel/HostProfile.h"

#include "sharedrt/GbkText.h"
#include "sharedrt/AnsiPath.h"
#include "sharedrt/RtError.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace hostmodel {
namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

std::string Trim(std::string text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string WithBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

bool IsAbsolute(const std::string& path)
{
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

// `path` against `base` (a folder ending with "\"), with "." and ".." resolved.
std::string Resolve(const std::string& base, const std::string& path)
{
    const std::string joined = IsAbsolute(path) ? path : base + path;
    return rt::FullPathName(joined).value_or(joined);
}

// A double-NUL-terminated list from a private-profile call that answers
// size - 2 when it did not fit.
template <typename Call>
std::vector<std::string> NulSeparatedList(Call call)
{
    std::vector<char> buffer(4096);
    for (;;) {
        const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length + 2 < buffer.size() || buffer.size() >= (1u << 24)) {
            std::vector<std::string> items;
            for (const char* p = buffer.data(); p < buffer.data() + length && *p != '\0'; p += std::strlen(p) + 1)
                items.emplace_back(p);
            return items;
        }
        buffer.resize(buffer.size() * 4);
    }
}

class ProfileFile {
public:
    explicit ProfileFile(std::string path) : path_(std::move(path)) {}

    std::vector<std::string> Sections() const
    {
        return NulSeparatedList(
            [&](char* buffer, DWORD size) { return GetPrivateProfileSectionNamesA(buffer, size, path_.c_str()); });
    }

    Lines Section(const std::string& section) const
    {
        Lines lines;
        for (const std::string& line : NulSeparatedList([&](char* buffer, DWORD size) {
                 return GetPrivateProfileSectionA(section.c_str(), buffer, size, path_.c_str());
             })) {
            const std::size_t equals = line.find('=');
            if (equals == std::string::npos)
                continue;
            lines.emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
        }
        return lines;
    }

    std::string Value(const std::string& section, const std::string& key) const
    {
        for (const auto& [name, value] : Section(section))
            if (rt::GbkCompareIgnoreAsciiCase(name, key) == 0)
                return value;
        return {};
    }

private:
    std::string path_;
};

// The rest of a section name after `prefix` and a blank ("SubApp WSCBS"
// gives "WSCBS"); empty when the name has another prefix.
std::string SectionSuffix(const std::string& section, const std::string& prefix)
{
    if (section.size() <= prefix.size() + 1 || section[prefix.size()] != ' ' ||
        rt::GbkCompareIgnoreAsciiCase(std::string_view(section).substr(0, prefix.size()), prefix) != 0)
        return {};
    return Trim(section.substr(prefix.size() + 1));
}

std::uint32_t Number(const std::string& text, std::uint32_t fallback)
{
    if (text.empty())
        return fallback;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 0);
    return (end != nullptr && *end == '\0') ? static_cast<std::uint32_t>(value) : fallback;
}

bool IsFile(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The folder of the running program, ending with "\"; empty when it
// cannot be told whole.
std::string ProgramFolder()
{
    return rt::ModuleFolder(nullptr).value_or(std::string());
}

// The sub-application's DLL: Module= relative to the host folder, else
// <code>.dll there, else <code>.dll beside the running program (the shell
// run on an installation without binaries loads its own).
std::string ModuleFile(const std::string& hostFolder, const std::string& code, const std::string& module)
{
    if (!module.empty())
        return Resolve(hostFolder, module);
    const std::string inHostFolder = Resolve(hostFolder, code + ".dll");
    if (IsFile(inHostFolder))
        return inHostFolder;
    const std::string besideProgram = ProgramFolder() + code + ".dll";
    return IsFile(besideProgram) ? besideProgram : inHostFolder;
}

} // namespace

HostProfile ReadHostProfileFile(const std::string& profileFile)
{
    HostProfile profile;
    profile.profileFile = Resolve("", profileFile);
    profile.hostFolder = profile.profileFile.substr(0, profile.profileFile.find_last_of("\\/") + 1);
    std::string parent = profile.hostFolder.substr(0, profile.hostFolder.size() - 1);
    profile.installationFolder = parent.substr(0, parent.find_last_of("\\/") + 1);
    const DWORD attributes = GetFileAttributesA(profile.profileFile.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        throw rt::Error("找不到主框架配置文件：" + profile.profileFile);

    const ProfileFile file(profile.profileFile);
    profile.currentSubApp = file.Value("Host", "CurrentSubApp");
    profile.currentFunction = file.Value("Host", "CurrentFunction");
    profile.initSubAppText = file.Value("Host", "InitSubAppText");
    profile.showFrmViewText = file.Value("Host", "ShowFrmViewText");
    profile.companyItems = file.Section("Company");
    profile.userItems = file.Section("User");
    for (const auto& [code, allowed] : file.Section("Rights"))
        if (allowed == "1")
            profile.rights.push_back(code);

    const std::vector<std::string> sections = file.Sections();
    for (const std::string& section : sections) {
        const std::string code = SectionSuffix(section, "SubApp");
        if (code.empty())
            continue;
        hostmodel::SubAppSetup setup;
        setup.code = code;
        setup.caption = file.Value(section, "Caption");
        setup.folder = WithBackslash(Resolve(profile.hostFolder, WithBackslash(file.Value(section, "Folder"))));
        SubAppModuleFile module;
        module.code = code;
        module.file = ModuleFile(profile.hostFolder, code, file.Value(section, "Module"));
        module.fileVersion = FileVersion(module.file);
        module.profileVersion = file.Value(section, "Version");
        setup.version = module.profileVersion.empty() ? module.fileVersion : module.profileVersion;
        profile.modules.push_back(std::move(module));
        if (const std::string database = file.Value(section, "Database"); !database.empty())
            setup.databaseFile = Resolve(setup.folder, database);
        if (const std::string script = file.Value(section, "DatabaseScript"); !script.empty())
            setup.databaseScript = Resolve(setup.folder, script);
        for (const std::string& other : sections)
            if (rt::GbkCompareIgnoreAsciiCase(SectionSuffix(other, "Individuation"), code) == 0)
                setup.individuation = file.Section(other);
        profile.subApps.push_back(std::move(setup));
    }
    for (const std::string& section : sections) {
        const std::string configSection = SectionSuffix(section, "UserConfig");
        if (!configSection.empty())
            for (const auto& [key, value] : file.Section(section))
                profile.userConfig.push_back({configSection, key, value});
    }

    const hostmodel::Skin defaults;
    profile.skin.fontColor = Number(file.Value("Skin", "FontColor"), defaults.fontColor);
    profile.skin.moduleBackColor = Number(file.Value("Skin", "ModuleBackColor"), defaults.moduleBackColor);
    profile.skin.moduleToolBarColor = Number(file.Value("Skin", "ModuleToolBarColor"), defaults.moduleToolBarColor);
    profile.skin.fontSize = static_cast<std::int32_t>(Number(file.Value("Skin", "FontSize"), defaults.fontSize));
    profile.skin.fontCharSet =
        static_cast<std::int32_t>(Number(file.Value("Skin", "FontCharSet"), defaults.fontCharSet));

    bool known = false;
    for (const auto& setup : profile.subApps)
        known = known || rt::GbkCompareIgnoreAsciiCase(setup.code, profile.currentSubApp) == 0;
    if (!known)
        throw rt::Error("主框架配置文件没有当前子应用“" + profile.currentSubApp + "”的设置：" + profile.profileFile);
    return profile;
}

HostProfile ReadHostProfile(const std::string& installationFolder)
{
    return ReadHostProfileFile(WithBackslash(Resolve("", WithBackslash(installationFolder))) + "host\\MainFrame.ini");
}

std::string FileVersion(const std::string& file)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data()) ||
        !VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || fixed == nullptr ||
        length < sizeof(VS_FIXEDFILEINFO) || fixed->dwSignature != VS_FFI_SIGNATURE)
        return {};
    std::string version = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                          std::to_string(HIWORD(fixed->dwFileVersionLS));
    if (LOWORD(fixed->dwFileVersionLS) != 0)
        version += "." + std::to_string(LOWORD(fixed->dwFileVersionLS));
    return version;
}

void ApplyHostProfile(const HostProfile& profile, hostmodel::HostModel& model)
{
    model.Reset();
    for (const auto& [name, value] : profile.companyItems)
        model.SetString(model.CompanyVo(), name, value);
    for (const auto& [name, value] : profile.userItems)
        model.SetString(model.UserVo(), name, value);
    for (const auto& setup : profile.subApps)
        model.AddSubApp(setup);
    model.SetCurrentSubApp(profile.currentSubApp);
    model.SetCurrentFunction(profile.currentFunction);
    model.SetAppPath(profile.hostFolder);
    for (const std::string& code : profile.rights)
        model.AllowFunction(code);
    for (const auto& entry : profile.userConfig)
        model.SetUserConfig(entry.section, entry.key, entry.value);
    model.SetSkin(profile.skin);
}

} // namespace hostmodel
