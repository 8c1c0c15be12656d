/* A host written in C, from the installed kit alone: its own ModuleLib.dll
   with the 30 host services, exported by their undecorated names
   (lib/ModuleLib.def of the kit), over the shared runtime's C functions;
   its own window with a container for the module's view; its own
   database connection (SQLite, linked in). Its settings are the sample
   installation's host profile (host\MainFrame.ini), read with the
   private-profile functions, so that it answers as the reference host does.

   The host program is CHostRun (CHostProgram.c, in this DLL too), called by
   chost.exe, which loads this DLL before the module so that the module's
   imports of ModuleLib.dll bind to it. Every service call is logged as the
   reference shell reports it: "  during STEP:" headings, then
   "    Service(arguments) -> answer". */
#define WSCBS_BUILDING_HOST_SERVICES
#include <windows.h>

#include <inttypes.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "CHost.h"
#include "sqlite3.h"

#define TEXT_MAX 8192

/* ---- the host's state ----------------------------------------------------------- */

struct CHostState host;

/* ---- the call log ---------------------------------------------------------------- */

void CHostLog(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    vfprintf(host.log, format, arguments);
    va_end(arguments);
    fflush(host.log);
}

/* A text as a C literal, GBK characters whole (their second byte may look
   like '\'); NULL as null. `out` holds TEXT_MAX bytes. */
static const char* Quoted(const char* text, char* out)
{
    size_t n = 0;
    if (text == NULL)
        return strcpy(out, "null");
    out[n++] = '"';
    for (; *text != '\0' && n < TEXT_MAX - 8; ++text) {
        const unsigned char c = (unsigned char)*text;
        if (c >= 0x81 && c <= 0xFE && text[1] != '\0') {
            out[n++] = *text++;
            out[n++] = *text;
            continue;
        }
        switch (c) {
        case '\r': out[n++] = '\\'; out[n++] = 'r'; break;
        case '\n': out[n++] = '\\'; out[n++] = 'n'; break;
        case '\t': out[n++] = '\\'; out[n++] = 't'; break;
        case '"': out[n++] = '\\'; out[n++] = '"'; break;
        case '\\': out[n++] = '\\'; out[n++] = '\\'; break;
        default: out[n++] = (char)c;
        }
    }
    out[n++] = '"';
    out[n] = '\0';
    return out;
}

static const char* Pointer(const void* p, char* out)
{
    if (p == NULL)
        return strcpy(out, "null");
    sprintf(out, "0x%08" PRIxPTR, (uintptr_t)p);
    return out;
}

static const char* VoName(const WscbsValueObject* vo, char* out)
{
    if (vo == NULL)
        return strcpy(out, "null");
    sprintf(out, "VO(%s)", vo == host.company ? "company" : vo == host.user ? "user" : host.code);
    return out;
}

/* A text result: into the caller's string, and into the log. */
static void ReturnText(WscbsString* result, const char* text, const char* call)
{
    char quoted[TEXT_MAX];
    if (result != NULL)
        WscbsStringAssign(result, text);
    CHostLog("    %s -> %s\n", call, Quoted(text, quoted));
}

/* ---- settings: the host profile ------------------------------------------------------ */

static void ProfileText(const char* section, const char* key, char* value, DWORD size)
{
    GetPrivateProfileStringA(section, key, "", value, size, host.profile);
}

/* The items of a profile section, in order, into a value object. */
static void FillFromSection(WscbsValueObject* vo, const char* section)
{
    static char lines[32768];
    const char* line;
    GetPrivateProfileSectionA(section, lines, sizeof lines, host.profile);
    for (line = lines; *line != '\0'; line += strlen(line) + 1) {
        char name[256];
        const char* equals = strchr(line, '=');
        size_t length;
        if (equals == NULL || (length = (size_t)(equals - line)) > 255)
            continue;
        memcpy(name, line, length);
        name[length] = '\0';
        WscbsValueObjectSetString(vo, name, equals + 1);
    }
}

static void FullPath(const char* base, const char* path, char* out)
{
    char joined[MAX_PATH * 2];
    if (path[0] != '\0' && (path[1] == ':' || path[0] == '\\'))
        strcpy(joined, path);
    else
        sprintf(joined, "%s%s", base, path);
    GetFullPathNameA(joined, MAX_PATH, out, NULL);
}

static void WithBackslash(char* folder)
{
    const size_t length = strlen(folder);
    if (length > 0 && folder[length - 1] != '\\')
        strcat(folder, "\\");
}

/* "major.minor.patch" of the module's version resource: the version of the
   host's record comes from the module itself. */
static void ModuleVersion(const char* file, char* version)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(file, &handle);
    void* data;
    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    version[0] = '\0';
    if (size == 0 || (data = malloc(size)) == NULL)
        return;
    if (GetFileVersionInfoA(file, 0, size, data) && VerQueryValueA(data, "\\", (void**)&fixed, &length) &&
        fixed != NULL)
        sprintf(version, "%u.%u.%u", (unsigned)HIWORD(fixed->dwFileVersionMS),
                (unsigned)LOWORD(fixed->dwFileVersionMS), (unsigned)HIWORD(fixed->dwFileVersionLS));
    free(data);
}

static void ShortText(unsigned char* field, const char* text)
{
    const size_t length = strlen(text) > 255 ? 255 : strlen(text);
    field[0] = (unsigned char)length;
    memcpy(field + 1, text, length);
}

int CHostReadSettings(const char* installation)
{
    char section[128], folder[MAX_PATH], file[MAX_PATH], version[64];
    strcpy(host.installation, installation);
    WithBackslash(host.installation);
    sprintf(host.hostFolder, "%shost\\", host.installation);
    sprintf(host.profile, "%sMainFrame.ini", host.hostFolder);
    if (GetFileAttributesA(host.profile) == INVALID_FILE_ATTRIBUTES)
        return 0;
    ProfileText("Host", "CurrentSubApp", host.code, sizeof host.code);
    ProfileText("Host", "CurrentFunction", host.currentFunction, sizeof host.currentFunction);
    sprintf(section, "SubApp %s", host.code);
    ProfileText(section, "Folder", folder, sizeof folder);
    FullPath(host.hostFolder, folder, host.subAppFolder);
    WithBackslash(host.subAppFolder);
    ProfileText(section, "Database", file, sizeof file);
    FullPath(host.subAppFolder, file, host.database);
    ProfileText(section, "DatabaseScript", file, sizeof file);
    if (file[0] != '\0')
        FullPath(host.subAppFolder, file, host.databaseScript);

    host.company = WscbsValueObjectCreate();
    host.user = WscbsValueObjectCreate();
    host.subApp = WscbsValueObjectCreate();
    if (host.company == NULL || host.user == NULL || host.subApp == NULL)
        return 0;
    FillFromSection(host.company, "Company");
    FillFromSection(host.user, "User");

    sprintf(file, "%swscbs.dll", host.hostFolder);
    ModuleVersion(file, version);
    ShortText(host.record.HostData, host.code);
    ShortText(host.record.Version, version);
    return 1;
}

static int IsCurrentCode(const char* code) { return code != NULL && lstrcmpiA(code, host.code) == 0; }

/* ---- the services: where the module runs -------------------------------------------------- */

void WSCBS_STDCALL GetCurSubAppCode(WscbsString* result) { ReturnText(result, host.code, "GetCurSubAppCode()"); }

void WSCBS_STDCALL GetCurSubAppPath(WscbsString* result) { ReturnText(result, host.subAppFolder, "GetCurSubAppPath()"); }

void WSCBS_STDCALL GetSubAppPath(const char* code, WscbsString* result)
{
    char call[TEXT_MAX], quoted[TEXT_MAX];
    sprintf(call, "GetSubAppPath(%s)", Quoted(code, quoted));
    ReturnText(result, IsCurrentCode(code) ? host.subAppFolder : "", call);
}

void WSCBS_STDCALL GetAppPath(WscbsString* result) { ReturnText(result, host.hostFolder, "GetAppPath()"); }

static WscbsValueObject* ReturnVo(WscbsValueObject* vo, const char* name)
{
    char text[64];
    CHostLog("    %s() -> %s\n", name, VoName(vo, text));
    return vo;
}

WscbsValueObject* WSCBS_STDCALL GetCurSubAppVo(void) { return ReturnVo(host.subApp, "GetCurSubAppVo"); }
WscbsValueObject* WSCBS_STDCALL GetCompanyInfoVO(void) { return ReturnVo(host.company, "GetCompanyInfoVO"); }
WscbsValueObject* WSCBS_STDCALL GetUserInfoVO(void) { return ReturnVo(host.user, "GetUserInfoVO"); }

static const WscbsSubAppInfo* ReturnRecord(const WscbsSubAppInfo* record, const char* call)
{
    if (record == NULL)
        CHostLog("    %s -> null\n", call);
    else
        CHostLog("    %s -> record(%.*s, version %.*s)\n", call, record->HostData[0], (const char*)record->HostData + 1,
            record->Version[0], (const char*)record->Version + 1);
    return record;
}

const WscbsSubAppInfo* WSCBS_STDCALL GetCurSubAppInfo(void) { return ReturnRecord(&host.record, "GetCurSubAppInfo()"); }

const WscbsSubAppInfo* WSCBS_STDCALL GetpSubAppInfo(const char* code)
{
    char call[TEXT_MAX], quoted[TEXT_MAX];
    sprintf(call, "GetpSubAppInfo(%s)", Quoted(code, quoted));
    return ReturnRecord(IsCurrentCode(code) ? &host.record : NULL, call);
}

void WSCBS_STDCALL GetCurFuncCode(WscbsString* result) { ReturnText(result, host.currentFunction, "GetCurFuncCode()"); }

static void* ReturnPointer(void* p, const char* name)
{
    char text[32];
    CHostLog("    %s() -> %s\n", name, Pointer(p, text));
    return p;
}

WscbsWindowHandle WSCBS_STDCALL GetAppHandle(void) { return ReturnPointer(host.mainWindow, "GetAppHandle"); }
WscbsWindowHandle WSCBS_STDCALL GetMainFrameHandle(void) { return ReturnPointer(host.mainWindow, "GetMainFrameHandle"); }
void* WSCBS_STDCALL GetCurParentForm(void) { return ReturnPointer(host.container, "GetCurParentForm"); }
void* WSCBS_STDCALL GetgsMainFrameParentForm(void) { return ReturnPointer(host.container, "GetgsMainFrameParentForm"); }

void WSCBS_STDCALL GetSubAppIndividuationParam(const char* code, const char* key, const char* defaultValue,
                                              WscbsString* result)
{
    char call[TEXT_MAX], a[TEXT_MAX], b[TEXT_MAX], c[TEXT_MAX], section[128], value[TEXT_MAX];
    sprintf(call, "GetSubAppIndividuationParam(%s, %s, %s)", Quoted(code, a), Quoted(key, b), Quoted(defaultValue, c));
    value[0] = '\0';
    if (code != NULL && key != NULL && key[0] != '\0') {
        sprintf(section, "Individuation %s", code);
        ProfileText(section, key, value, sizeof value);
    }
    ReturnText(result, value[0] != '\0' ? value : (defaultValue != NULL ? defaultValue : ""), call);
}

void WSCBS_STDCALL GetUserConfigParam(const char* section, const char* key, const char* defaultValue,
                                     WscbsString* result)
{
    char call[TEXT_MAX], a[TEXT_MAX], b[TEXT_MAX], c[TEXT_MAX], name[256], value[TEXT_MAX];
    sprintf(call, "GetUserConfigParam(%s, %s, %s)", Quoted(section, a), Quoted(key, b), Quoted(defaultValue, c));
    value[0] = '\0';
    if (section != NULL && key != NULL && key[0] != '\0' && strlen(section) < 200) {
        sprintf(name, "UserConfig %s", section);
        GetPrivateProfileStringA(name, key, "\x01", value, sizeof value, host.profile);
    }
    ReturnText(result, value[0] != '\0' && value[0] != '\x01' ? value : (defaultValue != NULL ? defaultValue : ""),
               call);
}

void WSCBS_STDCALL ReadIniValueStr(const char* file, const char* section, const char* key, const char* defaultValue,
                                  WscbsString* result)
{
    char call[TEXT_MAX * 2], a[TEXT_MAX], b[TEXT_MAX], c[TEXT_MAX], d[TEXT_MAX], value[TEXT_MAX];
    const char* fallback = defaultValue != NULL ? defaultValue : "";
    sprintf(call, "ReadIniValueStr(%s, %s, %s, %s)", Quoted(file, a), Quoted(section, b), Quoted(key, c),
            Quoted(defaultValue, d));
    /* An empty file, section or key would list names instead of reading a value. */
    if (file == NULL || section == NULL || key == NULL || !file[0] || !section[0] || !key[0])
        strcpy(value, fallback);
    else
        GetPrivateProfileStringA(section, key, fallback, value, sizeof value, file);
    ReturnText(result, value, call);
}

void WSCBS_STDCALL WriteIniValueString(const char* file, const char* section, const char* key, const char* value)
{
    char a[TEXT_MAX], b[TEXT_MAX], c[TEXT_MAX], d[TEXT_MAX];
    /* Never a deletion: an empty file, section or key writes nothing. */
    const int written = file != NULL && section != NULL && key != NULL && file[0] && section[0] && key[0] &&
                        WritePrivateProfileStringA(section, key, value != NULL ? value : "", file);
    CHostLog("    WriteIniValueString(%s, %s, %s, %s) -> %s\n", Quoted(file, a), Quoted(section, b), Quoted(key, c),
        Quoted(value, d), written ? "written" : "not written");
}

/* ---- the services: what the module asks the host to do ----------------------------------------- */

WSCBS_BOOL WSCBS_STDCALL CheckFunctionCanUse(const char* functionCode)
{
    char quoted[TEXT_MAX], allowed[8] = "";
    if (functionCode != NULL && functionCode[0] != '\0')
        ProfileText("Rights", functionCode, allowed, sizeof allowed);
    CHostLog("    CheckFunctionCanUse(%s) -> %d\n", Quoted(functionCode, quoted), strcmp(allowed, "1") == 0);
    return strcmp(allowed, "1") == 0;
}

/* The host's functions: the start of the panel ("004-00-01") and the period
   change ("005-01"), which stores the chosen period, yyyymm, as
   "Global_curkjny" of the sub-application's value object. */
WSCBS_BOOL WSCBS_STDCALL ExecuteFunc(void* owner, const char* functionCode, char** buffer)
{
    char a[32], b[TEXT_MAX], c[TEXT_MAX], text[500] = "";
    const char* suffix = functionCode != NULL && strlen(functionCode) > strlen(host.code) ? functionCode + strlen(host.code) : "";
    WSCBS_BOOL done = 0;
    if (buffer != NULL && *buffer != NULL)
        strncpy(text, *buffer, sizeof text - 1);
    CHostLog("    ExecuteFunc(%s, %s, %s)", Pointer(owner, a), Quoted(functionCode, b), Quoted(text, c));
    if (functionCode != NULL && strlen(functionCode) > strlen(host.code)) {
        char prefix[64];
        memcpy(prefix, functionCode, strlen(host.code));
        prefix[strlen(host.code)] = '\0';
        if (!IsCurrentCode(prefix))
            suffix = "";
        if (strcmp(suffix, "004-00-01") == 0)
            done = 1;
        else if (strcmp(suffix, "005-01") == 0)
            done = WscbsValueObjectSetString(host.subApp, "Global_curkjny", host.period);
    }
    if (done)
        CHostLog(" -> 1, text %s\n", Quoted(text, c));
    else
        CHostLog(" -> 0 (no host function)\n");
    return done;
}

/* SQLite takes UTF-8; the module's statements are GBK. */
static char* Utf8(const char* gbk)
{
    const int wide = MultiByteToWideChar(936, 0, gbk, -1, NULL, 0);
    WCHAR* buffer = (WCHAR*)malloc((size_t)wide * sizeof(WCHAR));
    char* out = NULL;
    if (buffer != NULL && MultiByteToWideChar(936, 0, gbk, -1, buffer, wide) > 0) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, buffer, -1, NULL, 0, NULL, NULL);
        out = (char*)malloc((size_t)bytes);
        if (out != NULL)
            WideCharToMultiByte(CP_UTF8, 0, buffer, -1, out, bytes, NULL, NULL);
    }
    free(buffer);
    return out;
}

static int HasTables(void)
{
    sqlite3_stmt* statement = NULL;
    int found = 0;
    if (sqlite3_prepare_v2(host.db, "SELECT 1 FROM sqlite_master WHERE type = 'table'", -1, &statement, NULL) ==
        SQLITE_OK)
        found = sqlite3_step(statement) == SQLITE_ROW;
    sqlite3_finalize(statement);
    return found;
}

/* Opens the database, seeding one without tables from the script. */
static const char* OpenDatabase(void)
{
    FILE* script;
    if (host.db != NULL)
        return NULL;
    if (sqlite3_open(host.database, &host.db) != SQLITE_OK)
        return "the database cannot be opened";
    if (!HasTables() && host.databaseScript[0] != '\0' && (script = fopen(host.databaseScript, "rb")) != NULL) {
        static char text[1 << 20];
        const size_t length = fread(text, 1, sizeof text - 1, script);
        fclose(script);
        text[length] = '\0';
        if (sqlite3_exec(host.db, text, NULL, NULL, NULL) != SQLITE_OK)
            return sqlite3_errmsg(host.db);
    }
    return NULL;
}

/* "alter table T alter column C Text(n)" of the Access dialect: SQLite
   bounds no text length, so the host takes it as done when T has C.
   *isAlter tells whether the statement is one. */
static int AlterColumn(const char* sql, int* isAlter)
{
    char w1[16], w2[16], table[128], w4[16], w5[16], column[128], type[64], query[400];
    sqlite3_stmt* statement = NULL;
    int found = 0;
    *isAlter = sscanf(sql, "%15s %15s %127s %15s %15s %127s %63s", w1, w2, table, w4, w5, column, type) == 7 &&
               lstrcmpiA(w1, "alter") == 0 && lstrcmpiA(w2, "table") == 0 && lstrcmpiA(w4, "alter") == 0 &&
               lstrcmpiA(w5, "column") == 0;
    if (!*isAlter || strchr(table, '\'') != NULL || strchr(column, '\'') != NULL)
        return 0;
    sprintf(query, "SELECT 1 FROM pragma_table_info('%s') WHERE name = '%s' COLLATE NOCASE", table, column);
    if (sqlite3_prepare_v2(host.db, query, -1, &statement, NULL) == SQLITE_OK)
        found = sqlite3_step(statement) == SQLITE_ROW;
    sqlite3_finalize(statement);
    return found;
}

WSCBS_BOOL WSCBS_STDCALL ExecADOQueryMsg(const char* connection, const char* sql, WscbsQuery** query,
                                        WscbsString* message, WscbsInt32 reserved, WSCBS_BOOL reservedFlag)
{
    char a[TEXT_MAX], b[TEXT_MAX], c[32], d[TEXT_MAX];
    WscbsQuery* target = query != NULL ? *query : NULL;
    const char* problem = NULL;
    int changes = 0, done = 0, alter = 0;
    CHostLog("    ExecADOQueryMsg(%s, %s, %s, %d, %d)", Quoted(connection, a), Quoted(sql, b), Pointer(target, c),
        (int)reserved, (int)reservedFlag);
    if (connection == NULL || lstrcmpiA(connection, "WSCBSMainCon") != 0) {
        problem = "no such connection";
    } else if ((problem = OpenDatabase()) == NULL && sql != NULL) {
        const int found = AlterColumn(sql, &alter);
        if (alter) {
            done = found;
            problem = found ? NULL : "no such table or column";
        } else {
            char* utf8 = Utf8(sql);
            const int before = sqlite3_total_changes(host.db);
            done = utf8 != NULL && sqlite3_exec(host.db, utf8, NULL, NULL, NULL) == SQLITE_OK;
            changes = sqlite3_total_changes(host.db) - before;
            problem = done ? NULL : sqlite3_errmsg(host.db);
            free(utf8);
        }
    }
    if (target != NULL)
        WscbsQuerySetResult(target, sql, changes);
    if (message != NULL)
        WscbsStringAssign(message, problem != NULL ? problem : "");
    if (done)
        CHostLog(" -> 1, %d rows\n", changes);
    else
        CHostLog(" -> 0, %s\n", Quoted(problem, d));
    return (WSCBS_BOOL)done;
}

/* The message of the module's error catalogue ("Global_Errlist": the
   address of the first packed record, the count in the word before it). */
void WSCBS_STDCALL InforMsg(WscbsInt32 code, const char* text, WSCBS_BOOL flag)
{
    char a[TEXT_MAX], b[TEXT_MAX], shown[TEXT_MAX];
    const WscbsErrorMsg* first = (const WscbsErrorMsg*)WscbsValueObjectGetPointer(host.subApp, "Global_Errlist", NULL);
    WscbsInt32 count = 0, i;
    sprintf(shown, "code %d", (int)code);
    if (first != NULL)
        memcpy(&count, (const char*)first - sizeof count, sizeof count);
    for (i = 0; i < count; ++i)
        if (first[i].Code == code && first[i].Msg != NULL) {
            strncpy(shown, first[i].Msg, TEXT_MAX / 2);
            shown[TEXT_MAX / 2] = '\0';
            break;
        }
    if (text != NULL && text[0] != '\0' && strlen(text) < TEXT_MAX / 4)
        strcat(strcat(shown, "\r\n"), text);
    CHostLog("    InforMsg(%d, %s, %d) -> %s\n", (int)code, Quoted(text != NULL ? text : "", a), flag != 0, Quoted(shown, b));
}

static WscbsUInt32 SkinValue(const char* key, WscbsUInt32 fallback, const char* name)
{
    char text[32];
    char* end = NULL;
    unsigned long value;
    ProfileText("Skin", key, text, sizeof text);
    value = strtoul(text, &end, 0);
    if (text[0] == '\0' || end == NULL || *end != '\0')
        value = fallback;
    CHostLog("    %s() -> %lu\n", name, value);
    return (WscbsUInt32)value;
}

WscbsColour WSCBS_STDCALL gclSysFontColor(void) { return SkinValue("FontColor", 0x000000, "gclSysFontColor"); }
WscbsColour WSCBS_STDCALL gclModuleBackColor(void) { return SkinValue("ModuleBackColor", 0xFEF9F4, "gclModuleBackColor"); }
WscbsColour WSCBS_STDCALL gclModuleToolBarColor(void)
{
    return SkinValue("ModuleToolBarColor", 0xD8E8DA, "gclModuleToolBarColor");
}
WscbsInt32 WSCBS_STDCALL giSysFontSize(void) { return (WscbsInt32)SkinValue("FontSize", 9, "giSysFontSize"); }
WscbsInt32 WSCBS_STDCALL giSysFontCharSet(void) { return (WscbsInt32)SkinValue("FontCharSet", 134, "giSysFontCharSet"); }

void WSCBS_STDCALL SetSkinSchemeCtrls(void* form)
{
    char text[32];
    CHostLog("    SetSkinSchemeCtrls(%s)\n", Pointer(form, text));
}

void WSCBS_STDCALL FetchHeadstrTrim(WSCBS_BOOL removeHead, const char* separator, WscbsString* text,
                                   WscbsString* result)
{
    char whole[TEXT_MAX], head[TEXT_MAX], a[TEXT_MAX], b[TEXT_MAX], call[TEXT_MAX * 3];
    const char* at;
    size_t begin = 0, end;
    strncpy(whole, WscbsStringText(text), TEXT_MAX - 1);
    whole[TEXT_MAX - 1] = '\0';
    sprintf(call, "FetchHeadstrTrim(%d, %s, %s)", removeHead != 0, Quoted(separator, a), Quoted(whole, b));
    at = separator != NULL && separator[0] != '\0' ? strstr(whole, separator) : NULL;
    end = at != NULL ? (size_t)(at - whole) : strlen(whole);
    while (begin < end && (unsigned char)whole[begin] <= ' ')
        ++begin;
    while (end > begin && (unsigned char)whole[end - 1] <= ' ')
        --end;
    memcpy(head, whole + begin, end - begin);
    head[end - begin] = '\0';
    if (removeHead && text != NULL)
        WscbsStringAssign(text, at != NULL ? at + strlen(separator) : "");
    ReturnText(result, head, call);
}

void WSCBS_STDCALL SetgsHelpHtml(const char* pageName)
{
    char quoted[TEXT_MAX];
    CHostLog("    SetgsHelpHtml(%s)\n", Quoted(pageName, quoted));
}
