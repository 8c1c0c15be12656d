#include "HostState.h"

#include "HostSettings.h"
#include "HostText.h"
#include "ValueObjects.h"
#include "sharedrt/AnsiPath.h"
#include "sharedrt/RtError.h"

#include <windows.h>

namespace hostmodel {

HostState::HostState()
{
    Reset();
}

void HostState::Reset()
{
    database_.reset();
    subApps_.clear();
    companyVo_.reset(new rt::DataVO);
    userVo_.reset(new rt::DataVO);
    currentSubApp_.clear();
    currentFunction_.clear();
    appPath_.clear();
    appWindow_ = nullptr;
    mainFrameWindow_ = nullptr;
    currentParentForm_ = nullptr;
    mainFrameParentForm_ = nullptr;
    rights_.clear();
    userConfig_.clear();
    skin_ = Skin{};
    hostFunctions_.clear();
    messageBoxes_ = false;
    ClearRecords();
}

void HostState::ClearRecords()
{
    ++recordsEpoch_;
    calls_.clear();
    executeCalls_.clear();
    messages_.clear();
    skinnedForms_.clear();
    helpPage_.clear();
}

rt::DataVO* HostState::SubAppVo(std::string_view code)
{
    SubApp* subApp = FindSubApp(code);
    return subApp != nullptr ? subApp->vo.get() : nullptr;
}

void HostState::SetString(rt::DataVO& vo, std::string_view name, std::string_view value)
{
    hostmodel::SetString(vo, name, value);
}

void HostState::SetValue(rt::DataVO& vo, std::string_view name, rt::ParamType type, rt::TParamValue* cell)
{
    hostmodel::SetValue(vo, name, type, cell);
}

const rt::ParamItem* HostState::FindItem(const rt::DataVO& vo, std::string_view name)
{
    return hostmodel::FindItem(vo, name);
}

std::optional<std::string> HostState::GetString(const rt::DataVO& vo, std::string_view name)
{
    return ReadString(vo, name);
}

void HostState::AddSubApp(const SubAppSetup& setup)
{
    if (setup.code.empty())
        throw rt::Error("子应用代码为空");
    SubApp* subApp = FindSubApp(setup.code);
    if (subApp == nullptr) {
        auto created = std::make_unique<SubApp>();
        created->vo.reset(new rt::DataVO);
        subApps_.push_back(std::move(created));
        subApp = subApps_.back().get();
    } else if (subApp == CurrentSubApp()) {
        database_.reset();
    }
    subApp->setup = setup;
    subApp->setup.folder = WithTrailingBackslash(setup.folder);
    WriteShortText(subApp->record.Code, setup.code);
    WriteShortText(subApp->record.Version, setup.version);
    WriteShortText(subApp->record.Caption, setup.caption);
}

void HostState::SetCurrentSubApp(std::string_view code)
{
    SubApp* subApp = FindSubApp(code);
    if (subApp == nullptr)
        throw rt::Error("未知的子应用：" + std::string(code));
    if (subApp != CurrentSubApp())
        database_.reset();
    currentSubApp_ = subApp->setup.code;
}

void HostState::SetAppPath(std::string_view folder)
{
    appPath_ = WithTrailingBackslash(folder);
}

void HostState::SetWindows(rt::WindowHandle appWindow, rt::WindowHandle mainFrameWindow)
{
    appWindow_ = appWindow;
    mainFrameWindow_ = mainFrameWindow;
}

void HostState::SetParentForms(void* currentParentForm, void* mainFrameParentForm)
{
    currentParentForm_ = currentParentForm;
    mainFrameParentForm_ = mainFrameParentForm;
}

void HostState::AllowFunction(std::string_view functionCode)
{
    rights_.insert(AsciiUpper(functionCode));
}

void HostState::DenyFunction(std::string_view functionCode)
{
    rights_.erase(AsciiUpper(functionCode));
}

void HostState::SetUserConfig(std::string_view section, std::string_view key, std::string_view value)
{
    userConfig_[{AsciiUpper(section), AsciiUpper(key)}] = std::string(value);
}

void HostState::SetHostFunction(std::string_view functionCode, HostFunction function)
{
    if (function)
        hostFunctions_[AsciiUpper(functionCode)] = std::move(function);
    else
        hostFunctions_.erase(AsciiUpper(functionCode));
}

std::vector<std::vector<std::string>> HostState::QueryDatabase(std::string_view sql)
{
    std::vector<std::vector<std::string>> rows = Database().Rows(GbkToUtf8(sql));
    for (auto& row : rows)
        for (std::string& value : row)
            value = Utf8ToGbk(value);
    return rows;
}

SubApp* HostState::FindSubApp(std::string_view code)
{
    for (const auto& subApp : subApps_)
        if (EqualsIgnoringAsciiCase(subApp->setup.code, code))
            return subApp.get();
    return nullptr;
}

SubApp* HostState::CurrentSubApp()
{
    return currentSubApp_.empty() ? nullptr : FindSubApp(currentSubApp_);
}

std::string HostState::AppPath() const
{
    if (!appPath_.empty())
        return appPath_;
    // Empty when the path is cut or has no ANSI form: the module then says
    // the host gave no folder, rather than working in a folder above it.
    return rt::ModuleFolder(nullptr).value_or("");
}

bool HostState::Allows(std::string_view functionCode) const
{
    return rights_.count(AsciiUpper(functionCode)) != 0;
}

std::optional<std::string> HostState::UserConfigValue(std::string_view section, std::string_view key) const
{
    const auto found = userConfig_.find({AsciiUpper(section), AsciiUpper(key)});
    if (found == userConfig_.end())
        return std::nullopt;
    return found->second;
}

std::optional<std::string> HostState::IndividuationValue(std::string_view code, std::string_view key)
{
    const SubApp* subApp = FindSubApp(code);
    if (subApp == nullptr)
        return std::nullopt;
    for (const auto& [name, value] : subApp->setup.individuation)
        if (EqualsIgnoringAsciiCase(name, key))
            return value.empty() ? std::nullopt : std::optional<std::string>(value);
    return std::nullopt;
}

HostFunction HostState::FindHostFunction(std::string_view functionCode) const
{
    const auto found = hostFunctions_.find(AsciiUpper(functionCode));
    return found == hostFunctions_.end() ? HostFunction() : found->second;
}

SqliteConnection& HostState::Database()
{
    SubApp* subApp = CurrentSubApp();
    if (subApp == nullptr)
        throw rt::Error("没有当前子应用，无法连接数据库");
    const std::string& file = subApp->setup.databaseFile;
    if (file.empty())
        throw rt::Error("子应用" + subApp->setup.code + "没有数据库");
    if (!database_ || database_->File() != file)
        database_ = SqliteConnection::Open(file, subApp->setup.databaseScript, subApp->setup.writeAheadLog);
    return *database_;
}

HostState::RecordSlot HostState::BeginCall(const char* function)
{
    calls_.push_back({function, {}, {}});
    return {recordsEpoch_, calls_.size() - 1};
}

CallRecord* HostState::CallAt(RecordSlot slot)
{
    return slot.epoch == recordsEpoch_ && slot.index < calls_.size() ? &calls_[slot.index] : nullptr;
}

HostState::RecordSlot HostState::BeginExecute(ExecuteCall call)
{
    executeCalls_.push_back(std::move(call));
    return {recordsEpoch_, executeCalls_.size() - 1};
}

ExecuteCall* HostState::ExecuteAt(RecordSlot slot)
{
    return slot.epoch == recordsEpoch_ && slot.index < executeCalls_.size() ? &executeCalls_[slot.index] : nullptr;
}

HostState& State()
{
    // Never destroyed: at process exit the modules whose objects the value
    // objects may hold are already gone.
    static HostState* const state = new HostState;
    return *state;
}

} // namespace hostmodel

extern "C" hostmodel::HostModel* HostModelInstance() noexcept
{
    // The host that asks for the model configures it: no settings file.
    hostmodel::HostConfiguresModel();
    try {
        return &hostmodel::State();
    } catch (...) {
        return nullptr;
    }
}
