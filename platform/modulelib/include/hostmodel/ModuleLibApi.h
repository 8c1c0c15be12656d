#pragma once
// ModuleLib.dll: the host's 30 services, as the host defines them.
//
// extern "C", __stdcall, exported by undecorated name (ModuleLib.def linked
// with --kill-at); each argument one slot of the build's width (32 bits in
// the product); Booleans one byte (1 true,
// 0 false). Each answers from the host model (hostmodel/HostModel.h) and
// appends one entry to its call log. No C++ exception leaves any of them: a
// failure inside gives the neutral result (empty text, null, 0, false) and
// is noted in the call log.
//
// Conventions: text arguments are NUL-terminated GBK; null reads as the
// empty text. Text results replace the contents of the caller's runtime
// string; a null result string is ignored. Folders end with "\". Value
// objects, records and controls returned are the host's and stay valid until
// the host model is reset or reconfigured.
#include "hostmodel/SubAppInfoRecord.h"
#include "sharedrt/Export.h"
#include "sharedrt/RtQuery.h"
#include "sharedrt/RtString.h"
#include "sharedrt/ValueLayout.h"

#include <cstdint>

#ifdef MODULELIB_BUILDING
#define MODULELIB_API extern "C"
#else
#define MODULELIB_API extern "C" __declspec(dllimport)
#endif

// --- the running sub-application -----------------------------------------------

// Code of the current sub-application; empty when none is current.
MODULELIB_API void __stdcall GetCurSubAppCode(rt::RtString* result);
// Folder of the current sub-application; empty when none is current.
MODULELIB_API void __stdcall GetCurSubAppPath(rt::RtString* result);
// Folder of the sub-application with `code` (ASCII case ignored); empty when
// the host knows no such sub-application.
MODULELIB_API void __stdcall GetSubAppPath(const char* code, rt::RtString* result);
// Folder of the host program: as configured, else the folder of the
// process's executable.
MODULELIB_API void __stdcall GetAppPath(rt::RtString* result);
// The current sub-application's value object; null when none is current.
MODULELIB_API rt::DataVO* __stdcall GetCurSubAppVo();
// The company value object (always there; empty after a reset).
MODULELIB_API rt::DataVO* __stdcall GetCompanyInfoVO();
// The signed-in user's value object (always there; empty after a reset).
MODULELIB_API rt::DataVO* __stdcall GetUserInfoVO();
// The current sub-application's record; null when none is current.
MODULELIB_API const hostmodel::SubAppInfoRecord* __stdcall GetCurSubAppInfo();
// The record of the sub-application with `code`; null when unknown.
MODULELIB_API const hostmodel::SubAppInfoRecord* __stdcall GetpSubAppInfo(const char* code);
// The host function code set as current; empty when none.
MODULELIB_API void __stdcall GetCurFuncCode(rt::RtString* result);

// --- windows and controls of the host -----------------------------------------------

// The configured application window and main window; 0 when none.
MODULELIB_API rt::WindowHandle __stdcall GetAppHandle();
MODULELIB_API rt::WindowHandle __stdcall GetMainFrameHandle();
// The configured host controls; null when none.
MODULELIB_API void* __stdcall GetCurParentForm();
MODULELIB_API void* __stdcall GetgsMainFrameParentForm();

// --- parameters and configuration -------------------------------------------------------

// The individuation parameter `key` (ASCII case ignored) of the
// sub-application `code`; `defaultValue` when the sub-application is unknown
// or the key is missing or has an empty value.
MODULELIB_API void __stdcall GetSubAppIndividuationParam(const char* code, const char* key,
                                                         const char* defaultValue, rt::RtString* result);
// The user configuration value of `section`/`key` (ASCII case ignored);
// `defaultValue` when missing.
MODULELIB_API void __stdcall GetUserConfigParam(const char* section, const char* key, const char* defaultValue,
                                                rt::RtString* result);
// GetPrivateProfileStringA of `file`; `defaultValue` when the file, section
// or key is missing, or when `file`, `section` or `key` is empty (so that it
// never lists sections or keys instead of reading a value).
MODULELIB_API void __stdcall ReadIniValueStr(const char* file, const char* section, const char* key,
                                             const char* defaultValue, rt::RtString* result);
// WritePrivateProfileStringA of `file`. A null value is written as the empty
// text (never a deletion of the key); an empty file, section or key writes
// nothing (never a deletion of a whole section).
MODULELIB_API void __stdcall WriteIniValueString(const char* file, const char* section, const char* key,
                                                 const char* value);

// --- functions, database, messages ----------------------------------------------------

// True when the configured rights hold `functionCode` (ASCII case ignored).
MODULELIB_API rt::Bool8 __stdcall CheckFunctionCanUse(const char* functionCode);
// Runs the host function registered for `functionCode` with the text found
// in `*buffer` (read up to its NUL, at most 499 bytes); writes the text the
// function leaves back into `*buffer`, cut to 499 bytes at a whole GBK
// character, NUL-terminated. False when no function is registered, when it
// reports failure or when it raises an error (the buffer then stays as it
// was). Every call is recorded. Rights are the caller's business
// (CheckFunctionCanUse); a null `buffer` or `*buffer` runs the function with
// the empty text and writes nothing back.
MODULELIB_API rt::Bool8 __stdcall ExecuteFunc(void* owner, const char* functionCode, char** buffer);
// Runs one SQL statement on the connection "WSCBSMainCon" (ASCII case
// ignored): the current sub-application's SQLite file, created (from its
// script, when one is configured) when missing. True when SQLite carried the
// statement out; `message` gets SQLite's error text, or the host's own text
// for an unknown connection, a database that cannot be opened, an empty
// text or more than one statement; empty on success. The statement and the
// rows it changed are recorded in `**query` when given.
// "ALTER TABLE t ALTER COLUMN c Text(n)" (keywords in any case) is carried
// out as a table rebuild that keeps the data, indexes, triggers and views;
// a missing table or column gives false with a message. `reserved` and
// `reservedFlag` are ignored.
// False means the statement did not take effect (its transaction rolled
// back): one whose commit reached the file is reported done even when SQLite
// ended it with an error, such as a lock it could not take back afterwards.
// The module's upgrade journal relies on this, since a statement reported
// failed is run again at the next start.
MODULELIB_API rt::Bool8 __stdcall ExecADOQueryMsg(const char* connection, const char* sql, rt::RtQuery** query,
                                                  rt::RtString* message, std::int32_t reserved,
                                                  rt::Bool8 reservedFlag);
// Shows the message registered for `code` in the error catalogue that the
// current sub-application published as "Global_Errlist" ("code N" when it
// has none), followed on a new line by `text` when that is not empty.
// Recorded always; shown as a message box only when the model says so.
MODULELIB_API void __stdcall InforMsg(std::int32_t code, const char* text, rt::Bool8 flag);

// --- skin ---------------------------------------------------------------------------------

// The configured skin values (colours 0x00BBGGRR).
MODULELIB_API std::uint32_t __stdcall gclSysFontColor();
MODULELIB_API std::uint32_t __stdcall gclModuleBackColor();
MODULELIB_API std::uint32_t __stdcall gclModuleToolBarColor();
MODULELIB_API std::int32_t __stdcall giSysFontSize();
MODULELIB_API std::int32_t __stdcall giSysFontCharSet();
// Records the form; the reference host has no skin scheme beyond the values.
MODULELIB_API void __stdcall SetSkinSchemeCtrls(void* form);

// --- help -------------------------------------------------------------------------------------

// Splits the head field off `text` at the first `separator`: the result is
// the field before it, trimmed of blanks and control characters (all of
// `text`, trimmed, when the separator is absent or empty). With `removeHead`
// set, the field and its separator are removed from `text` (which becomes
// empty when there is no separator). A null `text` reads as empty and is
// left alone.
MODULELIB_API void __stdcall FetchHeadstrTrim(rt::Bool8 removeHead, const char* separator, rt::RtString* text,
                                              rt::RtString* result);
// Notes the help page of the form being shown (HostModel::HelpPage).
MODULELIB_API void __stdcall SetgsHelpHtml(const char* pageName);
