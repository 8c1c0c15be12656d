#pragma once
// The module's side of the host services: thin wrappers over the ModuleLib
// imports that take and give std::string (GBK). Every call asks the host
// afresh; nothing is cached. Value objects and records are the host's,
// borrowed for the length of the caller's use.
#include "sharedrt/RtQuery.h"
#include "sharedrt/ValueLayout.h"
#include "wscbs/wscbs.h"

#include <cstdint>
#include <string>

namespace host {

// The module-wide connection name of every statement the module runs.
inline constexpr const char* kMainConnection = "WSCBSMainCon";

std::string CurSubAppCode();
std::string CurSubAppPath();
std::string SubAppPath(const std::string& code);
std::string AppPath();
std::string CurFuncCode();

// A folder of the host that paths are built from. A name appended to an
// empty folder would be relative: the profile functions would put it in the
// Windows folder and other calls in the current directory. So an empty
// folder is logged and raises rt::Error; `service` names the host call that
// gave it.
const std::string& RequireFolder(const std::string& folder, const char* service);
std::string RequiredCurSubAppPath();
std::string RequiredSubAppPath(const std::string& code);
std::string RequiredAppPath();

// The host's windows (0 when it has none) and the controls a module form
// may keep (owned by the host).
rt::WindowHandle AppHandle();
rt::WindowHandle MainFrameHandle();
void* CurParentForm();
void* MainFrameParentForm();
// The host's record of the running sub-application (owned by the host).
const WscbsSubAppInfo* CurSubAppInfo();

rt::DataVO* CurSubAppVo();
rt::DataVO* CompanyInfoVO();
rt::DataVO* UserInfoVO();

// The version text of a host sub-application record: the length-prefixed
// text at byte 256. Empty for a null record.
std::string SubAppInfoVersion(const WscbsSubAppInfo* record);
// The version of the sub-application with that code (empty when the host
// has no record of it), and of the running one.
std::string SubAppVersion(const std::string& code);
std::string CurSubAppVersion();
// The same where the version decides something: a host without a record of
// the sub-application is logged and raises rt::Error, rather than giving a
// version that no installation has.
std::string RequiredSubAppVersion(const std::string& code);

std::string SubAppIndividuationParam(const std::string& code, const std::string& key,
                                     const std::string& defaultValue);
std::string UserConfigParam(const std::string& section, const std::string& key, const std::string& defaultValue);
std::string ReadIniValue(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& defaultValue);
void WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value);

bool CheckFunctionCanUse(const std::string& functionCode);

// One statement on the module's connection through ExecADOQueryMsg, with
// the two further arguments 0 and false. True when the host carried it out;
// `message` receives the host's own text.
bool ExecSql(const std::string& sql, rt::RtQuery*& query, std::string& message);

void InforMsg(std::int32_t code, const std::string& text, bool flag);

// The host's skin: colours as 0x00BBGGRR, the font size in points.
struct SkinValues {
    std::uint32_t fontColor = 0;
    std::uint32_t moduleBackColor = 0;
    std::uint32_t moduleToolBarColor = 0;
    std::int32_t fontSize = 0;
    std::int32_t fontCharSet = 0;
};
// Asks the host for the five values, in the order font character set, font
// size, font colour, module colour, tool bar colour.
SkinValues Skin();
// The host applies its skin scheme to the controls of a module form.
void SetSkinSchemeCtrls(void* form);

// The head field of `text` before the first `separator`, trimmed; with
// `removeHead` the field and its separator are also taken off `text`.
std::string FetchHeadstrTrim(bool removeHead, const std::string& separator, std::string& text);
// Registers the help page of the form being shown.
void SetgsHelpHtml(const std::string& pageName);

} // namespace host
