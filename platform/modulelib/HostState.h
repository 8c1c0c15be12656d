#pragma once
// The host model's state: what the shell and tests configure, what the 30
// services answer from, and what they record.
#include "SqliteConnection.h"
#include "hostmodel/HostModel.h"

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hostmodel {

struct SubApp {
    SubAppSetup setup;  // folder with its trailing "\"
    SubAppInfoRecord record{};
    std::unique_ptr<rt::DataVO> vo;
};

class HostState final : public HostModel {
public:
    HostState();

    // --- HostModel -----------------------------------------------------------------
    void Reset() override;
    rt::DataVO& CompanyVo() override { return *companyVo_; }
    rt::DataVO& UserVo() override { return *userVo_; }
    rt::DataVO* SubAppVo(std::string_view code) override;
    void SetString(rt::DataVO& vo, std::string_view name, std::string_view value) override;
    void SetValue(rt::DataVO& vo, std::string_view name, rt::ParamType type, rt::TParamValue* cell) override;
    const rt::ParamItem* FindItem(const rt::DataVO& vo, std::string_view name) override;
    std::optional<std::string> GetString(const rt::DataVO& vo, std::string_view name) override;
    void AddSubApp(const SubAppSetup& setup) override;
    void SetCurrentSubApp(std::string_view code) override;
    void SetCurrentFunction(std::string_view functionCode) override { currentFunction_ = functionCode; }
    void SetAppPath(std::string_view folder) override;
    void SetWindows(rt::WindowHandle appWindow, rt::WindowHandle mainFrameWindow) override;
    void SetParentForms(void* currentParentForm, void* mainFrameParentForm) override;
    void AllowFunction(std::string_view functionCode) override;
    void DenyFunction(std::string_view functionCode) override;
    void SetUserConfig(std::string_view section, std::string_view key, std::string_view value) override;
    void SetSkin(const Skin& skin) override { skin_ = skin; }
    void SetHostFunction(std::string_view functionCode, HostFunction function) override;
    void SetMessageBoxes(bool shown) override { messageBoxes_ = shown; }
    void CloseDatabase() override { database_.reset(); }
    std::vector<std::vector<std::string>> QueryDatabase(std::string_view sql) override;
    const std::vector<CallRecord>& Calls() override { return calls_; }
    const std::vector<ExecuteCall>& ExecuteCalls() override { return executeCalls_; }
    const std::vector<InforMessage>& Messages() override { return messages_; }
    const std::vector<void*>& SkinnedForms() override { return skinnedForms_; }
    std::string HelpPage() override { return helpPage_; }
    void ClearRecords() override;

    // --- for the services -----------------------------------------------------------
    SubApp* FindSubApp(std::string_view code);
    SubApp* CurrentSubApp();
    const std::string& CurrentFunction() const { return currentFunction_; }
    // As configured, else the folder of the process's executable.
    std::string AppPath() const;
    rt::WindowHandle AppWindow() const { return appWindow_; }
    rt::WindowHandle MainFrameWindow() const { return mainFrameWindow_; }
    void* CurrentParentForm() const { return currentParentForm_; }
    void* MainFrameParentForm() const { return mainFrameParentForm_; }
    bool Allows(std::string_view functionCode) const;
    std::optional<std::string> UserConfigValue(std::string_view section, std::string_view key) const;
    // The individuation value of `key` (ASCII case ignored); none when the
    // sub-application or the key is unknown, or the value is empty.
    std::optional<std::string> IndividuationValue(std::string_view code, std::string_view key);
    const Skin& SkinValues() const { return skin_; }
    // A copy, so that a function that re-registers itself runs to its end.
    HostFunction FindHostFunction(std::string_view functionCode) const;
    bool MessageBoxes() const { return messageBoxes_; }
    // The current sub-application's database, opened when needed. Throws
    // rt::Error when there is none or it cannot be opened.
    SqliteConnection& Database();

    // Records: a call is entered when it starts (so that calls made while a
    // host function runs follow it) and completed when it ends; a record
    // cleared in between is not touched.
    struct RecordSlot {
        std::uint64_t epoch;
        std::size_t index;
    };
    RecordSlot BeginCall(const char* function);
    CallRecord* CallAt(RecordSlot slot);
    RecordSlot BeginExecute(ExecuteCall call);
    ExecuteCall* ExecuteAt(RecordSlot slot);
    void RecordMessage(InforMessage message) { messages_.push_back(std::move(message)); }
    void RecordSkinnedForm(void* form) { skinnedForms_.push_back(form); }
    void SetHelpPage(std::string page) { helpPage_ = std::move(page); }

private:
    std::unique_ptr<SqliteConnection> database_;
    std::unique_ptr<rt::DataVO> companyVo_;
    std::unique_ptr<rt::DataVO> userVo_;
    std::vector<std::unique_ptr<SubApp>> subApps_;
    std::string currentSubApp_;
    std::string currentFunction_;
    std::string appPath_;
    rt::WindowHandle appWindow_ = nullptr;
    rt::WindowHandle mainFrameWindow_ = nullptr;
    void* currentParentForm_ = nullptr;
    void* mainFrameParentForm_ = nullptr;
    std::set<std::string> rights_;  // upper-cased codes
    std::map<std::pair<std::string, std::string>, std::string> userConfig_;  // upper-cased names
    Skin skin_;
    std::map<std::string, HostFunction> hostFunctions_;  // upper-cased codes
    bool messageBoxes_ = false;

    std::uint64_t recordsEpoch_ = 0;
    std::vector<CallRecord> calls_;
    std::vector<ExecuteCall> executeCalls_;
    std::vector<InforMessage> messages_;
    std::vector<void*> skinnedForms_;
    std::string helpPage_;
};

// The process's one host model.
HostState& State();

} // namespace hostmodel
