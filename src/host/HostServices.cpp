#include "host/HostServices.h"

#include "wscbs/wscbs.h"

#include "util/ModuleLog.h"

#include "sharedrt/RtError.h"

namespace host {
namespace {

// Calls a host function that writes its text result into a runtime string.
template <typename Call>
std::string TextResult(Call call)
{
    rt::RtString result;
    call(&result);
    return result.ToStdString();
}

} // namespace

std::string CurSubAppCode()
{
    return TextResult([](rt::RtString* r) { GetCurSubAppCode(r); });
}

std::string CurSubAppPath()
{
    return TextResult([](rt::RtString* r) { GetCurSubAppPath(r); });
}

std::string SubAppPath(const std::string& code)
{
    return TextResult([&](rt::RtString* r) { GetSubAppPath(code.c_str(), r); });
}

std::string AppPath()
{
    return TextResult([](rt::RtString* r) { GetAppPath(r); });
}

const std::string& RequireFolder(const std::string& folder, const char* service)
{
    if (folder.empty()) {
        const std::string message = std::string("宿主的") + service + "返回了空目录，不能在其中读写文件";
        util::WriteLogLine(message);
        throw rt::Error(message);
    }
    return folder;
}

std::string RequiredCurSubAppPath()
{
    return RequireFolder(CurSubAppPath(), "GetCurSubAppPath");
}

std::string RequiredSubAppPath(const std::string& code)
{
    return RequireFolder(SubAppPath(code), "GetSubAppPath");
}

std::string RequiredAppPath()
{
    return RequireFolder(AppPath(), "GetAppPath");
}

std::string CurFuncCode()
{
    return TextResult([](rt::RtString* r) { GetCurFuncCode(r); });
}

rt::WindowHandle AppHandle() { return GetAppHandle(); }
rt::WindowHandle MainFrameHandle() { return GetMainFrameHandle(); }
void* CurParentForm() { return GetCurParentForm(); }
void* MainFrameParentForm() { return GetgsMainFrameParentForm(); }
const WscbsSubAppInfo* CurSubAppInfo() { return GetCurSubAppInfo(); }

rt::DataVO* CurSubAppVo() { return GetCurSubAppVo(); }
rt::DataVO* CompanyInfoVO() { return GetCompanyInfoVO(); }
rt::DataVO* UserInfoVO() { return GetUserInfoVO(); }

std::string SubAppInfoVersion(const WscbsSubAppInfo* record)
{
    if (record == nullptr)
        return {};
    const unsigned char* version = record->Version;
    return std::string(reinterpret_cast<const char*>(version + 1), version[0]);
}

std::string SubAppVersion(const std::string& code) { return SubAppInfoVersion(GetpSubAppInfo(code.c_str())); }

std::string CurSubAppVersion() { return SubAppInfoVersion(GetCurSubAppInfo()); }

std::string RequiredSubAppVersion(const std::string& code)
{
    const WscbsSubAppInfo* record = GetpSubAppInfo(code.c_str());
    if (record == nullptr) {
        const std::string message = "宿主的GetpSubAppInfo没有子系统" + code + "的信息记录，无法确定其版本";
        util::WriteLogLine(message);
        throw rt::Error(message);
    }
    return SubAppInfoVersion(record);
}

std::string SubAppIndividuationParam(const std::string& code, const std::string& key,
                                     const std::string& defaultValue)
{
    return TextResult([&](rt::RtString* r) {
        GetSubAppIndividuationParam(code.c_str(), key.c_str(), defaultValue.c_str(), r);
    });
}

std::string UserConfigParam(const std::string& section, const std::string& key, const std::string& defaultValue)
{
    return TextResult(
        [&](rt::RtString* r) { GetUserConfigParam(section.c_str(), key.c_str(), defaultValue.c_str(), r); });
}

std::string ReadIniValue(const std::string& file, const std::string& section, const std::string& key,
                         const std::string& defaultValue)
{
    return TextResult([&](rt::RtString* r) {
        ReadIniValueStr(file.c_str(), section.c_str(), key.c_str(), defaultValue.c_str(), r);
    });
}

void WriteIniValue(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value)
{
    WriteIniValueString(file.c_str(), section.c_str(), key.c_str(), value.c_str());
}

bool CheckFunctionCanUse(const std::string& functionCode)
{
    return ::CheckFunctionCanUse(functionCode.c_str()) != 0;
}

bool ExecSql(const std::string& sql, rt::RtQuery*& query, std::string& message)
{
    rt::RtString hostMessage;
    const bool done = ExecADOQueryMsg(kMainConnection, sql.c_str(), &query, &hostMessage, 0, 0) != 0;
    message = hostMessage.ToStdString();
    return done;
}

void InforMsg(std::int32_t code, const std::string& text, bool flag) { ::InforMsg(code, text.c_str(), flag ? 1 : 0); }

SkinValues Skin()
{
    SkinValues skin;
    skin.fontCharSet = giSysFontCharSet();
    skin.fontSize = giSysFontSize();
    skin.fontColor = gclSysFontColor();
    skin.moduleBackColor = gclModuleBackColor();
    skin.moduleToolBarColor = gclModuleToolBarColor();
    return skin;
}

void SetSkinSchemeCtrls(void* form) { ::SetSkinSchemeCtrls(form); }

std::string FetchHeadstrTrim(bool removeHead, const std::string& separator, std::string& text)
{
    rt::RtString hostText(text);
    rt::RtString result;
    ::FetchHeadstrTrim(removeHead ? 1 : 0, separator.c_str(), &hostText, &result);
    text = hostText.ToStdString();
    return result.ToStdString();
}

void SetgsHelpHtml(const std::string& pageName) { ::SetgsHelpHtml(pageName.c_str()); }

} // namespace host
