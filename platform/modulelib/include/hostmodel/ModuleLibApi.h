#pragma once
// ModuleLib.dll: the host's 30 services. Their names, signatures and
// calling convention are the contract header's (WSCBS_HOST_SERVICES in
// wscbs/wscbs.h), which also makes the export list (the .def the build
// generates from it, linked with --kill-at). This file says how the
// reference host answers each one.
//
// Each answers from the host model (hostmodel/HostModel.h) and appends one
// entry to its call log. No C++ exception leaves any of them: a failure
// inside gives the neutral result (empty text, null, 0, false) and is noted
// in the call log. Text arguments that are null read as the empty text; a
// null result string is ignored. Value objects, records and controls
// returned are the host's and stay valid until the host model is reset or
// reconfigured.
//
// The running sub-application
//  - GetCurSubAppCode, GetCurSubAppPath: empty when none is current.
//  - GetSubAppPath: by code, ASCII case ignored; empty when unknown.
//  - GetAppPath: as configured, else the folder of the process's executable.
//  - GetCurSubAppVo: null when none is current. GetCompanyInfoVO,
//    GetUserInfoVO: always there (empty after a reset).
//  - GetCurSubAppInfo, GetpSubAppInfo: the host's record
//    (hostmodel::SubAppInfoRecord: code, version, caption, each a
//    length-prefixed text), null when none is current or the code is
//    unknown.
//  - GetCurFuncCode: the function code set as current; empty when none.
// Windows and controls
//  - GetAppHandle, GetMainFrameHandle, GetCurParentForm,
//    GetgsMainFrameParentForm: as configured; null when none.
// Parameters and configuration
//  - GetSubAppIndividuationParam: key with ASCII case ignored; the default
//    when the sub-application is unknown or the key is missing or empty.
//  - GetUserConfigParam: section and key with ASCII case ignored; the
//    default when missing.
//  - ReadIniValueStr: GetPrivateProfileStringA; the default when the file,
//    section or key is missing, or when file, section or key is empty (so
//    that it never lists sections or keys instead of reading a value).
//  - WriteIniValueString: WritePrivateProfileStringA. A null value is
//    written as the empty text (never a deletion of the key); an empty file,
//    section or key writes nothing (never a deletion of a whole section).
// Functions, database, messages
//  - CheckFunctionCanUse: true when the configured rights hold the code
//    (ASCII case ignored).
//  - ExecuteFunc: runs the host function registered for the code with the
//    text found in *buffer (read up to its NUL, at most 499 bytes); writes
//    the text the function leaves back into *buffer, cut to 499 bytes at a
//    whole GBK character, NUL-terminated. False when no function is
//    registered, when it reports failure or when it raises an error (the
//    buffer then stays as it was). Every call is recorded. Rights are the
//    caller's business; a null buffer or *buffer runs the function with the
//    empty text and writes nothing back.
//  - ExecADOQueryMsg: one SQL statement on the connection "WSCBSMainCon"
//    (ASCII case ignored): the current sub-application's SQLite file,
//    created (from its script, when one is configured) when missing. True
//    when SQLite carried the statement out; message gets SQLite's error
//    text, or the host's own text for an unknown connection, a database that
//    cannot be opened, an empty text or more than one statement; empty on
//    success. The statement and the rows it changed are recorded in **query
//    when given. "ALTER TABLE t ALTER COLUMN c Text(n)" (keywords in any
//    case) is carried out as a table rebuild that keeps the data, indexes,
//    triggers and views; a missing table or column gives false with a
//    message. reserved and reservedFlag are ignored.
//    False means the statement did not take effect (its transaction rolled
//    back): one whose commit reached the file is reported done even when
//    SQLite ended it with an error, such as a lock it could not take back
//    afterwards. The module's upgrade journal relies on this, since a
//    statement reported failed is run again at the next start.
//  - InforMsg: the message registered for the code in the error catalogue
//    that the current sub-application published as "Global_Errlist"
//    ("code N" when it has none), followed on a new line by the text when
//    that is not empty. Recorded always; shown as a message box only when
//    the model says so.
// Skin
//  - gcl*, gi*: the configured values. SetSkinSchemeCtrls records the form;
//    the reference host has no skin scheme beyond the values.
// Help
//  - FetchHeadstrTrim: the head field before the first separator, trimmed
//    of blanks and control characters (all of the text, trimmed, when the
//    separator is absent or empty). With removeHead set, the field and its
//    separator are removed from the text (which becomes empty when there is
//    no separator). A null text reads as empty and is left alone.
//  - SetgsHelpHtml: notes the page (HostModel::HelpPage).
#include "hostmodel/SubAppInfoRecord.h"
#include "sharedrt/Export.h"
#include "sharedrt/RtQuery.h"
#include "sharedrt/RtString.h"
#include "sharedrt/ValueLayout.h"
#include "wscbs/wscbs.h"
