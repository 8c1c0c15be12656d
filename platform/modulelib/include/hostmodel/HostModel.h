#pragma once
// The host model behind ModuleLib.dll: everything the 30 host services
// answer from. The shell configures it from its profile, tests configure it
// directly, and both read back what the module did.
//
// One model per process, inside ModuleLib.dll; reach it with Model(). The
// DLL's named exports are the 30 services only; the model is handed out
// through one entry exported by ordinal, and used through this interface.
// Texts are GBK bytes. Like the services, the model is used on the host's
// user-interface thread only. Configuration calls throw rt::Error on bad
// input (an unknown sub-application code, a name too long for an item).
#include "hostmodel/SubAppInfoRecord.h"
#include "sharedrt/RtError.h"
#include "sharedrt/Export.h"
#include "sharedrt/ValueLayout.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hostmodel {

// The connection name under which the current sub-application's database
// is reached.
inline constexpr std::string_view kMainConnection = "WSCBSMainCon";

// A host function started by ExecuteFunc: gets the owner control, the
// function code and the parameter text, may change the text (the host writes
// at most 499 bytes of it back), returns success. An exception it raises
// makes ExecuteFunc return false.
using HostFunction = std::function<bool(void* owner, const std::string& functionCode, std::string& parameterText)>;

struct SubAppSetup {
    std::string code;
    std::string caption;
    std::string folder;   // "\" is appended when missing
    std::string version;  // kept in the record, at most 255 bytes
    // The SQLite file behind "WSCBSMainCon" while this sub-application is
    // current; empty: the sub-application has no database.
    std::string databaseFile;
    // SQL text (UTF-8) that the host runs to create the database when the
    // file is missing; empty: a missing file is created empty.
    std::string databaseScript;
    // True: while the connection is open the host holds the database for
    // itself in write-ahead-log mode with normal synchronisation, and puts
    // it back in rollback-journal mode when it closes the connection, so
    // that the file at rest is an ordinary database. Off by default: on a
    // full disk a log that committed cannot be written back at the close,
    // and the database then opens for no other reader until space is freed.
    // False: rollback journal, full synchronisation, throughout.
    bool writeAheadLog = false;
    std::vector<std::pair<std::string, std::string>> individuation;  // key, value
};

struct Skin {
    std::uint32_t fontColor = 0x000000;           // 0x00BBGGRR
    std::uint32_t moduleBackColor = 0xFEF9F4;     // #F4F9FE
    std::uint32_t moduleToolBarColor = 0xD8E8DA;  // #DAE8D8
    std::int32_t fontSize = 9;
    std::int32_t fontCharSet = 134;  // GB2312_CHARSET
};

// One ModuleLib call: its name, its arguments and its result as text.
struct CallRecord {
    std::string function;
    std::string arguments;
    std::string result;
};

// One ExecuteFunc call.
struct ExecuteCall {
    void* owner = nullptr;
    std::string functionCode;
    std::string textIn;        // the buffer's text when the call came
    std::string textOut;       // the text written back (textIn when nothing was)
    bool registered = false;   // a host function was found for the code
    bool result = false;
    std::string error;         // what the host function raised, if it did
};

// One InforMsg call.
struct InforMessage {
    std::int32_t code = 0;
    std::string text;       // the caller's text
    bool flag = false;
    std::string shownText;  // the message as the host shows it
};

class HostModel {
public:
    // Back to an empty host: no sub-applications (their value objects
    // destroyed with all items), fresh empty company and user value objects,
    // no current function, no rights, user configuration, host functions or
    // help page; default skin, app path and windows; the database closed;
    // message boxes off; every record cleared.
    virtual void Reset() = 0;

    // --- value objects ---------------------------------------------------------
    virtual rt::DataVO& CompanyVo() = 0;
    virtual rt::DataVO& UserVo() = 0;
    // The value object of a sub-application; null when it is unknown.
    virtual rt::DataVO* SubAppVo(std::string_view code) = 0;
    // Adds a string item, or gives an existing one (ASCII case ignored in
    // names) a new cell; names over 255 bytes are refused.
    virtual void SetString(rt::DataVO& vo, std::string_view name, std::string_view value) = 0;
    // The same for a cell of any type; the item takes the cell (made with
    // rt::NewParamValue). Replacing a type 7 item destroys its object unless
    // the same object is set again; a type 8 item's memory is never touched.
    virtual void SetValue(rt::DataVO& vo, std::string_view name, rt::ParamType type, rt::TParamValue* cell) = 0;
    // The first item of that name (ASCII case ignored); null when none.
    virtual const rt::ParamItem* FindItem(const rt::DataVO& vo, std::string_view name) = 0;
    // The string value of an item; none when there is no such item.
    virtual std::optional<std::string> GetString(const rt::DataVO& vo, std::string_view name) = 0;

    // --- sub-applications and the host's state ------------------------------------
    // Adds a sub-application, or replaces the setup of one with the same code
    // (its value object and record address are kept).
    virtual void AddSubApp(const SubAppSetup& setup) = 0;
    // Makes a known sub-application current (closes the database of the
    // previous one).
    virtual void SetCurrentSubApp(std::string_view code) = 0;
    virtual void SetCurrentFunction(std::string_view functionCode) = 0;
    virtual void SetAppPath(std::string_view folder) = 0;
    virtual void SetWindows(rt::WindowHandle appWindow, rt::WindowHandle mainFrameWindow) = 0;
    virtual void SetParentForms(void* currentParentForm, void* mainFrameParentForm) = 0;
    // The function codes CheckFunctionCanUse allows.
    virtual void AllowFunction(std::string_view functionCode) = 0;
    virtual void DenyFunction(std::string_view functionCode) = 0;
    virtual void SetUserConfig(std::string_view section, std::string_view key, std::string_view value) = 0;
    virtual void SetSkin(const Skin& skin) = 0;
    // Registers (or, with an empty function, removes) the host function of a code.
    virtual void SetHostFunction(std::string_view functionCode, HostFunction function) = 0;
    // Whether InforMsg also shows a message box (off after a reset).
    virtual void SetMessageBoxes(bool shown) = 0;

    // --- database ------------------------------------------------------------------
    // Closes the connection; the next statement opens it again.
    virtual void CloseDatabase() = 0;
    // Rows of a query on the current sub-application's database, values as
    // GBK text (NULL as empty). Throws rt::Error with SQLite's text.
    virtual std::vector<std::vector<std::string>> QueryDatabase(std::string_view sql) = 0;

    // --- what the module did ----------------------------------------------------------
    virtual const std::vector<CallRecord>& Calls() = 0;
    virtual const std::vector<ExecuteCall>& ExecuteCalls() = 0;
    virtual const std::vector<InforMessage>& Messages() = 0;
    // Forms given to SetSkinSchemeCtrls, in call order.
    virtual const std::vector<void*>& SkinnedForms() = 0;
    // The page last given to SetgsHelpHtml.
    virtual std::string HelpPage() = 0;
    // Empties the four records above (configuration stays).
    virtual void ClearRecords() = 0;

protected:
    ~HostModel() = default;
};

} // namespace hostmodel

#ifdef MODULELIB_BUILDING
extern "C" hostmodel::HostModel* HostModelInstance() noexcept;
#else
extern "C" __declspec(dllimport) hostmodel::HostModel* HostModelInstance() noexcept;
#endif

namespace hostmodel {

// The process's host model.
inline HostModel& Model() { return *HostModelInstance(); }

// One line per call: name(arguments) -> result.
inline std::string FormatCall(const CallRecord& call)
{
    std::string line = call.function + "(" + call.arguments + ")";
    if (!call.result.empty())
        line += " -> " + call.result;
    return line;
}

} // namespace hostmodel
