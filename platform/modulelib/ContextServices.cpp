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

void __stdcall GetCurSubAppCode(rt::RtString* result)
{
    Serve("GetCurSubAppCode", [&](ServiceCall& call) {
        const SubApp* subApp = State().CurrentSubApp();
        ReturnText(call, result, subApp != nullptr ? subApp->setup.code : std::string());
    });
}

void __stdcall GetCurSubAppPath(rt::RtString* result)
{
    Serve("GetCurSubAppPath", [&](ServiceCall& call) {
        const SubApp* subApp = State().CurrentSubApp();
        ReturnText(call, result, subApp != nullptr ? subApp->setup.folder : std::string());
    });
}

void __stdcall GetSubAppPath(const char* code, rt::RtString* result)
{
    Serve("GetSubAppPath", [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(code));
        const SubApp* subApp = State().FindSubApp(ArgumentText(code));
        ReturnText(call, result, subApp != nullptr ? subApp->setup.folder : std::string());
    });
}

void __stdcall GetAppPath(rt::RtString* result)
{
    Serve("GetAppPath", [&](ServiceCall& call) { ReturnText(call, result, State().AppPath()); });
}

rt::DataVO* __stdcall GetCurSubAppVo()
{
    return Serve("GetCurSubAppVo", static_cast<rt::DataVO*>(nullptr), [&](ServiceCall& call) {
        SubApp* subApp = State().CurrentSubApp();
        rt::DataVO* vo = subApp != nullptr ? subApp->vo.get() : nullptr;
        call.Result(VoForLog(vo, subApp != nullptr ? subApp->setup.code.c_str() : ""));
        return vo;
    });
}

rt::DataVO* __stdcall GetCompanyInfoVO()
{
    return Serve("GetCompanyInfoVO", static_cast<rt::DataVO*>(nullptr), [&](ServiceCall& call) {
        call.Result(VoForLog(&State().CompanyVo(), "company"));
        return &State().CompanyVo();
    });
}

rt::DataVO* __stdcall GetUserInfoVO()
{
    return Serve("GetUserInfoVO", static_cast<rt::DataVO*>(nullptr), [&](ServiceCall& call) {
        call.Result(VoForLog(&State().UserVo(), "user"));
        return &State().UserVo();
    });
}

const SubAppInfoRecord* __stdcall GetCurSubAppInfo()
{
    return Serve("GetCurSubAppInfo", static_cast<const SubAppInfoRecord*>(nullptr), [&](ServiceCall& call) {
        const SubApp* subApp = State().CurrentSubApp();
        call.Result(RecordForLog(subApp));
        return subApp != nullptr ? &subApp->record : nullptr;
    });
}

const SubAppInfoRecord* __stdcall GetpSubAppInfo(const char* code)
{
    return Serve("GetpSubAppInfo", static_cast<const SubAppInfoRecord*>(nullptr), [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(code));
        const SubApp* subApp = State().FindSubApp(ArgumentText(code));
        call.Result(RecordForLog(subApp));
        return subApp != nullptr ? &subApp->record : nullptr;
    });
}

void __stdcall GetCurFuncCode(rt::RtString* result)
{
    Serve("GetCurFuncCode", [&](ServiceCall& call) { ReturnText(call, result, State().CurrentFunction()); });
}

rt::WindowHandle __stdcall GetAppHandle()
{
    return Serve("GetAppHandle", static_cast<rt::WindowHandle>(nullptr), [&](ServiceCall& call) {
        call.Result(PointerForLog(State().AppWindow()));
        return State().AppWindow();
    });
}

rt::WindowHandle __stdcall GetMainFrameHandle()
{
    return Serve("GetMainFrameHandle", static_cast<rt::WindowHandle>(nullptr), [&](ServiceCall& call) {
        call.Result(PointerForLog(State().MainFrameWindow()));
        return State().MainFrameWindow();
    });
}

void* __stdcall GetCurParentForm()
{
    return Serve("GetCurParentForm", static_cast<void*>(nullptr), [&](ServiceCall& call) {
        call.Result(PointerForLog(State().CurrentParentForm()));
        return State().CurrentParentForm();
    });
}

void* __stdcall GetgsMainFrameParentForm()
{
    return Serve("GetgsMainFrameParentForm", static_cast<void*>(nullptr), [&](ServiceCall& call) {
        call.Result(PointerForLog(State().MainFrameParentForm()));
        return State().MainFrameParentForm();
    });
}

void __stdcall GetSubAppIndividuationParam(const char* code, const char* key, const char* defaultValue,
                                           rt::RtString* result)
{
    Serve("GetSubAppIndividuationParam", [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(code) + ", " + QuotedForLog(key) + ", " + QuotedForLog(defaultValue));
        const std::optional<std::string> value = State().IndividuationValue(ArgumentText(code), ArgumentText(key));
        ReturnText(call, result, value ? *value : ArgumentText(defaultValue));
    });
}

void __stdcall GetUserConfigParam(const char* section, const char* key, const char* defaultValue,
                                  rt::RtString* result)
{
    Serve("GetUserConfigParam", [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(section) + ", " + QuotedForLog(key) + ", " + QuotedForLog(defaultValue));
        const std::optional<std::string> value = State().UserConfigValue(ArgumentText(section), ArgumentText(key));
        ReturnText(call, result, value ? *value : ArgumentText(defaultValue));
    });
}

void __stdcall ReadIniValueStr(const char* file, const char* section, const char* key, const char* defaultValue,
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

void __stdcall WriteIniValueString(const char* file, const char* section, const char* key, const char* value)
{
    Serve("WriteIniValueString", [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(file) + ", " + QuotedForLog(section) + ", " + QuotedForLog(key) + ", " +
                       QuotedForLog(value));
        const bool written =
            WriteIniString(ArgumentText(file), ArgumentText(section), ArgumentText(key), ArgumentText(value));
        call.Result(written ? "written" : "not written");
    });
}
