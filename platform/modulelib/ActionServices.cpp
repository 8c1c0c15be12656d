// The services that act for the module: rights, host functions, the
// database, messages, skin and help.
#include "AlterColumn.h"
#include "ErrorMessages.h"
#include "ServiceCall.h"
#include "hostmodel/ModuleLibApi.h"
#include "sharedrt/RtError.h"

#include <windows.h>

#include <cstring>

using namespace hostmodel;

namespace {

// The parameter block of ExecuteFunc: 500 bytes, so at most 499 of text.
constexpr std::size_t kParameterBlockSize = 500;
constexpr std::size_t kParameterTextMax = kParameterBlockSize - 1;

std::string BoolForLog(bool value) { return value ? "1" : "0"; }

} // namespace

rt::Bool8 WSCBS_STDCALL CheckFunctionCanUse(const char* functionCode)
{
    return Serve("CheckFunctionCanUse", rt::Bool8{0}, [&](ServiceCall& call) -> rt::Bool8 {
        call.Arguments(QuotedForLog(functionCode));
        const bool allowed = State().Allows(ArgumentText(functionCode));
        call.Result(BoolForLog(allowed));
        return allowed ? 1 : 0;
    });
}

rt::Bool8 WSCBS_STDCALL ExecuteFunc(void* owner, const char* functionCode, char** buffer)
{
    return Serve("ExecuteFunc", rt::Bool8{0}, [&](ServiceCall& call) -> rt::Bool8 {
        const std::string code = ArgumentText(functionCode);
        char* block = buffer != nullptr ? *buffer : nullptr;
        std::string textIn;
        if (block != nullptr) {
            textIn.assign(block, strnlen(block, kParameterBlockSize));
            textIn.resize(rt::GbkPrefixLength(textIn, kParameterTextMax));
        }
        call.Arguments(PointerForLog(owner) + ", " + QuotedForLog(code) + ", " + QuotedForLog(textIn));

        ExecuteCall record;
        record.owner = owner;
        record.functionCode = code;
        record.textIn = textIn;
        record.textOut = textIn;
        const HostFunction function = State().FindHostFunction(code);
        record.registered = static_cast<bool>(function);
        const HostState::RecordSlot slot = State().BeginExecute(record);
        if (!function) {
            call.Result("0 (no host function)");
            return 0;
        }

        std::string text = textIn;
        try {
            record.result = function(owner, code, text);
        } catch (const std::exception& e) {
            record.error = e.what();
        } catch (...) {
            record.error = "unknown error";
        }
        if (!record.error.empty()) {
            record.result = false;
        } else if (block != nullptr) {
            const std::size_t length = rt::GbkPrefixLength(text, kParameterTextMax);
            std::memcpy(block, text.data(), length);
            block[length] = '\0';
            record.textOut.assign(text, 0, length);
        }
        if (ExecuteCall* entry = State().ExecuteAt(slot))
            *entry = record;
        call.Result(BoolForLog(record.result) + (record.error.empty() ? "" : " (failed: " + record.error + ")") +
                    ", text " + QuotedForLog(record.textOut));
        return record.result ? 1 : 0;
    });
}

rt::Bool8 WSCBS_STDCALL ExecADOQueryMsg(const char* connection, const char* sql, rt::RtQuery** query,
                                    rt::RtString* message, std::int32_t reserved, rt::Bool8 reservedFlag)
{
    return Serve("ExecADOQueryMsg", rt::Bool8{0}, [&](ServiceCall& call) -> rt::Bool8 {
        const std::string name = ArgumentText(connection);
        const std::string statement = ArgumentText(sql);
        rt::RtQuery* target = query != nullptr ? *query : nullptr;
        call.Arguments(QuotedForLog(name) + ", " + QuotedForLog(statement) + ", " + PointerForLog(target) + ", " +
                       std::to_string(reserved) + ", " + std::to_string(reservedFlag));

        StatementOutcome outcome;
        if (!EqualsIgnoringAsciiCase(name, kMainConnection)) {
            outcome.message = "数据库连接" + name + "不存在";
        } else {
            try {
                outcome = RunHostStatement(State().Database(), statement);
            } catch (const rt::Error& e) {
                outcome.message = e.what();
            }
        }
        if (target != nullptr) {
            target->LastStatement = statement;
            target->RowsAffected = outcome.rowsAffected;
        }
        if (message != nullptr)
            *message = outcome.message;
        call.Result(outcome.done ? "1, " + std::to_string(outcome.rowsAffected) + " rows"
                                 : "0, " + QuotedForLog(outcome.message));
        return outcome.done ? 1 : 0;
    });
}

void WSCBS_STDCALL InforMsg(std::int32_t code, const char* text, rt::Bool8 flag)
{
    Serve("InforMsg", [&](ServiceCall& call) {
        InforMessage message;
        message.code = code;
        message.text = ArgumentText(text);
        message.flag = flag != 0;
        call.Arguments(std::to_string(code) + ", " + QuotedForLog(message.text) + ", " + BoolForLog(message.flag));
        const SubApp* subApp = State().CurrentSubApp();
        message.shownText =
            InforMsgText(FindErrorMessage(subApp != nullptr ? subApp->vo.get() : nullptr, code), code, message.text);
        call.Result(QuotedForLog(message.shownText));
        State().RecordMessage(message);
        if (State().MessageBoxes()) {
            HWND owner = static_cast<HWND>(State().MainFrameWindow() != nullptr ? State().MainFrameWindow()
                                                                                 : State().AppWindow());
            MessageBoxA(owner, message.shownText.c_str(), "提示",
                        MB_OK | (message.flag ? MB_ICONERROR : MB_ICONINFORMATION));
        }
    });
}

std::uint32_t WSCBS_STDCALL gclSysFontColor()
{
    return Serve("gclSysFontColor", std::uint32_t{0}, [&](ServiceCall& call) {
        call.Result(std::to_string(State().SkinValues().fontColor));
        return State().SkinValues().fontColor;
    });
}

std::uint32_t WSCBS_STDCALL gclModuleBackColor()
{
    return Serve("gclModuleBackColor", std::uint32_t{0}, [&](ServiceCall& call) {
        call.Result(std::to_string(State().SkinValues().moduleBackColor));
        return State().SkinValues().moduleBackColor;
    });
}

std::uint32_t WSCBS_STDCALL gclModuleToolBarColor()
{
    return Serve("gclModuleToolBarColor", std::uint32_t{0}, [&](ServiceCall& call) {
        call.Result(std::to_string(State().SkinValues().moduleToolBarColor));
        return State().SkinValues().moduleToolBarColor;
    });
}

std::int32_t WSCBS_STDCALL giSysFontSize()
{
    return Serve("giSysFontSize", std::int32_t{0}, [&](ServiceCall& call) {
        call.Result(std::to_string(State().SkinValues().fontSize));
        return State().SkinValues().fontSize;
    });
}

std::int32_t WSCBS_STDCALL giSysFontCharSet()
{
    return Serve("giSysFontCharSet", std::int32_t{0}, [&](ServiceCall& call) {
        call.Result(std::to_string(State().SkinValues().fontCharSet));
        return State().SkinValues().fontCharSet;
    });
}

void WSCBS_STDCALL SetSkinSchemeCtrls(void* form)
{
    Serve("SetSkinSchemeCtrls", [&](ServiceCall& call) {
        call.Arguments(PointerForLog(form));
        State().RecordSkinnedForm(form);
    });
}

void WSCBS_STDCALL FetchHeadstrTrim(rt::Bool8 removeHead, const char* separator, rt::RtString* text,
                                rt::RtString* result)
{
    Serve("FetchHeadstrTrim", [&](ServiceCall& call) {
        const std::string whole = text != nullptr ? text->ToStdString() : std::string();
        const std::string mark = ArgumentText(separator);
        call.Arguments(BoolForLog(removeHead != 0) + ", " + QuotedForLog(mark) + ", " + QuotedForLog(whole));
        const std::size_t at = FindInGbk(whole, mark);
        const std::string head = TrimBlanks(at == std::string::npos ? whole : whole.substr(0, at));
        if (removeHead != 0 && text != nullptr)
            *text = at == std::string::npos ? std::string_view() : std::string_view(whole).substr(at + mark.size());
        ReturnText(call, result, head);
    });
}

void WSCBS_STDCALL SetgsHelpHtml(const char* pageName)
{
    Serve("SetgsHelpHtml", [&](ServiceCall& call) {
        call.Arguments(QuotedForLog(pageName));
        State().SetHelpPage(ArgumentText(pageName));
    });
}
