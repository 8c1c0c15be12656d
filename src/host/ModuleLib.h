#pragma once
// The host's services library, ModuleLib.dll, as this module uses it.
//
// Every function is imported by its undecorated name, __stdcall; each
// argument is one stack slot of the build's width (32 bits in the product).
// Conventions:
//  - Text arguments are the characters of a runtime string (RtString::Chars()
//    or CStr()): NUL-terminated GBK text; null means the empty text.
//  - Text results are written into a caller-owned runtime string given as the
//    last argument; whatever it held is replaced.
//  - Booleans are one byte: 1 true, 0 false.
//  - Folders that the host returns end with "\".
//  - Value objects, records and controls that the host returns are owned by
//    the host and only borrowed by the module.
#include "sharedrt/Export.h"
#include "sharedrt/RtQuery.h"
#include "sharedrt/RtString.h"
#include "sharedrt/ValueLayout.h"

#include <cstdint>

#define MODULELIB_IMPORT extern "C" __declspec(dllimport)

namespace host {
// The host's record of a sub-application. The module reads only the version:
// a length-prefixed text (length byte, then up to 255 bytes) at byte 256.
struct SubAppInfo;
inline constexpr std::size_t kSubAppInfoVersionOffset = 256;
using Colour = std::uint32_t;  // 0x00BBGGRR
} // namespace host

// --- the running sub-application -------------------------------------------

// Code of the running sub-application; a function code is this code
// immediately followed by a fixed suffix.
MODULELIB_IMPORT void __stdcall GetCurSubAppCode(rt::RtString* result);
// Folder of the running sub-application.
MODULELIB_IMPORT void __stdcall GetCurSubAppPath(rt::RtString* result);
// Folder of the sub-application with the given code.
MODULELIB_IMPORT void __stdcall GetSubAppPath(const char* code, rt::RtString* result);
// Folder of the host program.
MODULELIB_IMPORT void __stdcall GetAppPath(rt::RtString* result);
// The running sub-application's own value object.
MODULELIB_IMPORT rt::DataVO* __stdcall GetCurSubAppVo();
// The enterprise's registration data ("QYSBH", "ZONECODE", "XZQHDM", ...).
MODULELIB_IMPORT rt::DataVO* __stdcall GetCompanyInfoVO();
// The signed-in user.
MODULELIB_IMPORT rt::DataVO* __stdcall GetUserInfoVO();
// The host's record of the running sub-application.
MODULELIB_IMPORT const host::SubAppInfo* __stdcall GetCurSubAppInfo();
// The host's record of the sub-application with the given code; null when
// the host knows no such sub-application.
MODULELIB_IMPORT const host::SubAppInfo* __stdcall GetpSubAppInfo(const char* code);
// The host function code current when it is asked.
MODULELIB_IMPORT void __stdcall GetCurFuncCode(rt::RtString* result);

// --- windows and controls of the host ---------------------------------------

// The host's application window; 0 when there is none.
MODULELIB_IMPORT rt::WindowHandle __stdcall GetAppHandle();
// The host's main window (class "Tfrm_MainFrame"); 0 when there is none.
MODULELIB_IMPORT rt::WindowHandle __stdcall GetMainFrameHandle();
// Host controls a module form may keep; the module does not use them.
MODULELIB_IMPORT void* __stdcall GetCurParentForm();
MODULELIB_IMPORT void* __stdcall GetgsMainFrameParentForm();

// --- parameters and configuration ---------------------------------------------

// The sub-application's individuation parameter `key`, or `defaultValue`
// when the key has no value.
MODULELIB_IMPORT void __stdcall GetSubAppIndividuationParam(const char* code, const char* key,
                                                            const char* defaultValue, rt::RtString* result);
// The user configuration value, or `defaultValue`.
MODULELIB_IMPORT void __stdcall GetUserConfigParam(const char* section, const char* key,
                                                   const char* defaultValue, rt::RtString* result);
// Private-profile read of an INI file; `defaultValue` when the file, section
// or key is missing.
MODULELIB_IMPORT void __stdcall ReadIniValueStr(const char* file, const char* section, const char* key,
                                                const char* defaultValue, rt::RtString* result);
// Private-profile write; creates the file, section or key when missing.
MODULELIB_IMPORT void __stdcall WriteIniValueString(const char* file, const char* section, const char* key,
                                                    const char* value);

// --- functions, database, messages -------------------------------------------

// True when the current user may use the function.
MODULELIB_IMPORT rt::Bool8 __stdcall CheckFunctionCanUse(const char* functionCode);
// Runs a host function with `owner` (a windowed control, or null) as the
// parent of its window. `*buffer` is the caller's 500-byte parameter block;
// the host may write back a NUL-terminated text of at most 499 bytes. True
// when the function ran and succeeded.
MODULELIB_IMPORT rt::Bool8 __stdcall ExecuteFunc(void* owner, const char* functionCode, char** buffer);
// Runs one SQL statement on the named connection with the caller's query
// object. `message` receives the host's own text about the statement. True
// when the statement was carried out.
MODULELIB_IMPORT rt::Bool8 __stdcall ExecADOQueryMsg(const char* connection, const char* sql, rt::RtQuery** query,
                                                     rt::RtString* message, std::int32_t reserved,
                                                     rt::Bool8 reservedFlag);
// Shows the message registered for `code`.
MODULELIB_IMPORT void __stdcall InforMsg(std::int32_t code, const char* text, rt::Bool8 flag);

// --- skin ---------------------------------------------------------------------

MODULELIB_IMPORT host::Colour __stdcall gclSysFontColor();
MODULELIB_IMPORT host::Colour __stdcall gclModuleBackColor();
MODULELIB_IMPORT host::Colour __stdcall gclModuleToolBarColor();
MODULELIB_IMPORT std::int32_t __stdcall giSysFontSize();
MODULELIB_IMPORT std::int32_t __stdcall giSysFontCharSet();
// The host applies its skin scheme to the controls of a module form.
MODULELIB_IMPORT void __stdcall SetSkinSchemeCtrls(void* form);

// --- help -----------------------------------------------------------------------

// Splits the head field off `text` at the first `separator`: the result is
// the field before it, trimmed (all of `text` when there is no separator).
// With `removeHead` set, the field and its separator are also removed from
// `text`.
MODULELIB_IMPORT void __stdcall FetchHeadstrTrim(rt::Bool8 removeHead, const char* separator, rt::RtString* text,
                                                 rt::RtString* result);
// Notes the help page of the form being shown.
MODULELIB_IMPORT void __stdcall SetgsHelpHtml(const char* pageName);
