// The services that tell the module where it runs: the sub-application,
// value objects, records, windows, parameters and INI files.
#include "IniFile.h"
#include "ServiceCall.h"
#include "hostmodel/ModuleLibApi.h"

using namespace hostmodel;

namespace {

std::string VoForLog(const rt::DataVO* vo, const char* what)
{
    return vo == nullptr ? "null" : std::string("VO(") + what + ")";
}

std::string RecordForLog(const SubApp* subApp)
{
    return subApp == nullptr ? "null" : "record(" + subApp->setup.code + ", version " + subApp->setup.version + ")";
}

} // namespace

void WSCBS_STDCALL GetCurSubAppCode(rt::RtString* result)
{
    Serve("GetCurSubAppCode", [&](ServiceCall& call) {
        const SubApp* subApp = State().CurrentSubApp();
        ReturnText(call, result, subApp != nullptr ? subApp->setup.code : std::string());
    });
}

void WSCBS_STDCALL GetCurSubAppPath(rt::RtString* result)
{
    Serve("GetCurSubAppPath", [&](ServiceCall& call) {
        const SubApp* subApp = State().CurrentSubApp();
        ReturnText(call, result, subApp != nullptr ? subApp->setup.folder : std::string());
    });
}

void WSCBS_STDCALL GetSubAppPath(const char* code, rt::RtString* result)
{
    Serve("GetSubAppPath", [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(code));
        const SubApp* subApp = State().FindSubApp(ArgumentText(code));
        ReturnText(call, result, subApp != nullptr ? subApp->setup.folder : std::string());
    });
}

void WSCBS_STDCALL GetAppPath(rt::RtString* result)
{
    Serve("GetAppPath", [&](ServiceCall& call) { ReturnText(call, result, State().AppPath()); });
}

rt::DataVO* WSCBS_STDCALL GetCurSubAppVo()
{
    return Serve("GetCurSubAppVo", static_cast<rt::DataVO*>(nullptr), [&](ServiceCall& call) {
        SubApp* subApp = State().CurrentSubApp();
        rt::DataVO* vo = subApp != nullptr ? subApp->vo.get() : nullptr;
        call.Result(VoForLog(vo, subApp != nullptr ? subApp->setup.code.c_str() : ""));
        return vo;
    });
}

rt::DataVO* WSCBS_STDCALL GetCompanyInfoVO()
{
    return Serve("GetCompanyInfoVO", static_cast<rt::DataVO*>(nullptr), [&](ServiceCall& call) {
        call.Result(VoForLog(&State().CompanyVo(), "company"));
        return &State().CompanyVo();
    });
}

rt::DataVO* WSCBS_STDCALL GetUserInfoVO()
{
    return Serve("GetUserInfoVO", static_cast<rt::DataVO*>(nullptr), [&](ServiceCall& call) {
        call.Result(VoForLog(&State().UserVo(), "user"));
        return &State().UserVo();
    });
}

const WscbsSubAppInfo* WSCBS_STDCALL GetCurSubAppInfo()
{
    return Serve("GetCurSubAppInfo", static_cast<const WscbsSubAppInfo*>(nullptr), [&](ServiceCall& call) {
        const SubApp* subApp = State().CurrentSubApp();
        call.Result(RecordForLog(subApp));
        return subApp != nullptr ? ContractRecord(&subApp->record) : nullptr;
    });
}

const WscbsSubAppInfo* WSCBS_STDCALL GetpSubAppInfo(const char* code)
{
    return Serve("GetpSubAppInfo", static_cast<const WscbsSubAppInfo*>(nullptr), [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(code));
        const SubApp* subApp = State().FindSubApp(ArgumentText(code));
        call.Result(RecordForLog(subApp));
        return subApp != nullptr ? ContractRecord(&subApp->record) : nullptr;
    });
}

void WSCBS_STDCALL GetCurFuncCode(rt::RtString* result)
{
    Serve("GetCurFuncCode", [&](ServiceCall& call) { ReturnText(call, result, State().CurrentFunction()); });
}

rt::WindowHandle WSCBS_STDCALL GetAppHandle()
{
    return Serve("GetAppHandle", static_cast<rt::WindowHandle>(nullptr), [&](ServiceCall& call) {
        call.Result(PointerForLog(State().AppWindow()));
        return State().AppWindow();
    });
}

rt::WindowHandle WSCBS_STDCALL GetMainFrameHandle()
{
    return Serve("GetMainFrameHandle", static_cast<rt::WindowHandle>(nullptr), [&](ServiceCall& call) {
        call.Result(PointerForLog(State().MainFrameWindow()));
        return State().MainFrameWindow();
    });
}

void* WSCBS_STDCALL GetCurParentForm()
{
    return Serve("GetCurParentForm", static_cast<void*>(nullptr), [&](ServiceCall& call) {
        call.Result(PointerForLog(State().CurrentParentForm()));
        return State().CurrentParentForm();
    });
}

void* WSCBS_STDCALL GetgsMainFrameParentForm()
{
    return Serve("GetgsMainFrameParentForm", static_cast<void*>(nullptr), [&](ServiceCall& call) {
        call.Result(PointerForLog(State().MainFrameParentForm()));
        return State().MainFrameParentForm();
    });
}

void WSCBS_STDCALL GetSubAppIndividuationParam(const char* code, const char* key, const char* defaultValue,
                                           rt::RtString* result)
{
    Serve("GetSubAppIndividuationParam", [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(code) + ", " + QuotedForLog(key) + ", " + QuotedForLog(defaultValue));
        const std::optional<std::string> value = State().IndividuationValue(ArgumentText(code), ArgumentText(key));
        ReturnText(call, result, value ? *value : ArgumentText(defaultValue));
    });
}

void WSCBS_STDCALL GetUserConfigParam(const char* section, const char* key, const char* defaultValue,
                                  rt::RtString* result)
{
    Serve("GetUserConfigParam", [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(section) + ", " + QuotedForLog(key) + ", " + QuotedForLog(defaultValue));
        const std::optional<std::string> value = State().UserConfigValue(ArgumentText(section), ArgumentText(key));
        ReturnText(call, result, value ? *value : ArgumentText(defaultValue));
    });
}

void WSCBS_STDCALL ReadIniValueStr(const char* file, const char* section, const char* key, const char* defaultValue,
                               rt::RtString* result)
{
    Serve("ReadIniValueStr", [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(file) + ", " + QuotedForLog(section) + ", " + QuotedForLog(key) + ", " +
                       QuotedForLog(defaultValue));
        ReturnText(call, result,
                   ReadIniString(ArgumentText(file), ArgumentText(section), ArgumentText(key),
                                 ArgumentText(defaultValue)));
    });
}

void WSCBS_STDCALL WriteIniValueString(const char* file, const char* section, const char* key, const char* value)
{
    Serve("WriteIniValueString", [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(file) + ", " + QuotedForLog(section) + ", " + QuotedForLog(key) + ", " +
                       QuotedForLog(value));
        const bool written =
            WriteIniString(ArgumentText(file), ArgumentText(section), ArgumentText(key), ArgumentText(value));
        call.Result(written ? "written" : "not written");
    });
}
