/* wscbs.h: what a host shell and the sub-application module wscbs.dll agree
 * on. The module, the host's services library (ModuleLib.dll), the reference
 * shell and the tests all compile against this one header.
 *
 * C (C99 or later; the size checks use C11's _Static_assert where there is
 * one) and C++. Built for 32-bit Windows (the product) and, from the same
 * declarations, for 64-bit Windows: there handles and pointers are 8 bytes
 * and the exchange records below widen the fields that hold one; each
 * record says which.
 *
 * Conventions at the boundary
 *  - Every function of both lists is extern "C", __stdcall (WSCBS_STDCALL;
 *    64-bit Windows has one calling convention and ignores it), exported by
 *    its undecorated name. In the 32-bit build each argument is one 32-bit
 *    stack slot.
 *  - A Boolean is one byte, WSCBS_BOOL: 1 true, 0 false.
 *  - Texts are 8-bit GBK (code page 936), NUL-terminated.
 *  - One thread: the host's user-interface thread, the one that created the
 *    host's main window, calls the exports, runs the module's forms and
 *    answers the host services. The module starts no threads, sets no
 *    timers and takes no locks; it sends its messages, never posts them.
 */
#ifndef WSCBS_WSCBS_H
#define WSCBS_WSCBS_H

#include <stddef.h>
#include <stdint.h>

/* ---- calling convention, linkage, checks ---------------------------------- */

#if defined(_MSC_VER)
#define WSCBS_STDCALL __stdcall
#elif defined(_WIN32) && defined(__GNUC__)
#define WSCBS_STDCALL __attribute__((__stdcall__))
#else
/* Not Windows: the OS-free core built for tests; there is no DLL boundary. */
#define WSCBS_STDCALL
#endif

#if defined(_WIN32)
#define WSCBS_DLLIMPORT __declspec(dllimport)
#define WSCBS_DLLEXPORT __declspec(dllexport)
#else
#define WSCBS_DLLIMPORT
#define WSCBS_DLLEXPORT
#endif

/* The module's own build defines WSCBS_BUILDING_MODULE; the host's services
 * library defines WSCBS_BUILDING_HOST_SERVICES (it exports by a .def list).
 * Everybody else imports. */
#if defined(WSCBS_BUILDING_MODULE)
#define WSCBS_MODULE_API WSCBS_DLLEXPORT
#else
#define WSCBS_MODULE_API WSCBS_DLLIMPORT
#endif
#if defined(WSCBS_BUILDING_HOST_SERVICES)
#define WSCBS_HOST_API
#else
#define WSCBS_HOST_API WSCBS_DLLIMPORT
#endif

#define WSCBS_JOIN2_(a, b) a##b
#define WSCBS_JOIN_(a, b) WSCBS_JOIN2_(a, b)
#if defined(__cplusplus)
#define WSCBS_STATIC_ASSERT(condition, what) static_assert(condition, what)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define WSCBS_STATIC_ASSERT(condition, what) _Static_assert(condition, what)
#else
#define WSCBS_STATIC_ASSERT(condition, what) \
    typedef char WSCBS_JOIN_(wscbs_static_assert_, __LINE__)[(condition) ? 1 : -1]
#endif

/* 4 in the 32-bit product, 8 in the 64-bit build. */
#if UINTPTR_MAX == 0xFFFFFFFFu
#define WSCBS_POINTER_BYTES 4
#else
#define WSCBS_POINTER_BYTES 8
#endif

/* ---- types at the boundary ------------------------------------------------- */

/* A Boolean: one byte, 1 true, 0 false. */
typedef unsigned char WSCBS_BOOL;
/* A window handle (an HWND), pointer-wide. */
typedef void* WscbsWindowHandle;
/* A colour of the host's skin: 0x00BBGGRR. */
typedef uint32_t WscbsColour;

/* Objects of the runtime that host and module share (SharedRt.dll). They
 * are passed by address only; C sees incomplete types, C++ the runtime's
 * own classes, so that both sides use these very prototypes.
 *  - WscbsString: the reference-counted 8-bit string. Its storage is one
 *    pointer to NUL-terminated characters (null for the empty text); the
 *    32-bit length sits in the 4 bytes before the characters and the
 *    32-bit reference count in the 4 before that, in a block of the shared
 *    heap. A text result of a host service replaces the contents of the
 *    caller's string.
 *  - WscbsValueObject: the host's value object (class reference, then the
 *    list of ParamItem pointers), owned by the host.
 *  - WscbsQuery: a query object that the module creates for one statement. */
#if defined(__cplusplus)
namespace rt {
class RtString;
class DataVO;
class RtQuery;
} /* namespace rt */
typedef rt::RtString WscbsString;
typedef rt::DataVO WscbsValueObject;
typedef rt::RtQuery WscbsQuery;
#else
typedef struct WscbsString WscbsString;
typedef struct WscbsValueObject WscbsValueObject;
typedef struct WscbsQuery WscbsQuery;
#endif

#if defined(__cplusplus)
extern "C" {
#endif

/* ---- the module's exports --------------------------------------------------

   WSCBS_EXPORTS(X) lists them as X(result type, name, (parameters)); the
   module's export table holds exactly these names, undecorated.

   InitSubApp(appHandle, hostBuffer): prepares the sub-application. Call it
     once, before the first ShowFrmView. appHandle becomes the handle of the
     shared application object, which then owns every window the module
     creates. hostBuffer is the address of the host's own pointer to a
     NUL-terminated parameter text: name=value pairs joined by ';', with '='
     and ';' inside a value written "&eq%" and "&lim%". The module follows
     it to the buffer and never changes the host's pointer.
     Result 1: initialisation finished; the buffer holds the text byte for
     byte as it came. Result 0: the buffer now holds the text with a
     "ResultMsgStr" entry carrying the reason.
     Write-back: the module writes its text back into the host's buffer and
     never past its end. When the buffer is a block of the shared heap
     (WSCBS_SHARED_HEAP_ALLOC_ZEROED) the copy is bounded by the block's
     size; otherwise by the length of the text the host passed in plus its
     NUL. A text that does not fit is cut at a whole GBK character, and the
     buffer is always NUL-terminated. A host that wants the whole
     "ResultMsgStr" entry back allocates the buffer from the shared heap with
     room for it (the reference shell gives 1024 bytes more than its text).

   ShowFrmView(appHandle, container, hostText): shows the launcher view.
     appHandle becomes the handle of the shared application object. The view
     is created by the first call (and again after the old one was
     destroyed) and reused by later calls. container is a windowed control
     of the shared runtime (rt::ui::WinControl*), not a window handle: the
     view becomes its borderless child filling it. With NULL the view is
     shown free-standing, on top, centred over the application's main form.
     hostText is read only; when its parameter text has a "ModalFormMsg"
     entry and a container was given, the host's main window receives the
     shown notice (WSCBS_CD_FORM_SHOWN). Result 1; 0 when the view could not
     be created or embedded, the error then shown by the application's
     default error display.

   FreeDLLProc(first, second): does nothing and returns 1; both arguments
     are 32 bits at either width and ignored. The view stays.

   Unloading: the shared application object owns the view, and the view's
   code lives in the module. Before FreeLibrary the host frees the forms the
   application owns (rt::Application::FreeOwnedForms) or destroys the
   container and with it the view. At unload the module puts back the
   runtime's application and screen objects that it recorded at load. */
#define WSCBS_EXPORTS(X)                                                             \
    X(WSCBS_BOOL, InitSubApp, (WscbsWindowHandle appHandle, char** hostBuffer))      \
    X(WSCBS_BOOL, ShowFrmView, (WscbsWindowHandle appHandle, void* container, char** hostText)) \
    X(WSCBS_BOOL, FreeDLLProc, (uint32_t first, uint32_t second))

#define WSCBS_DECLARE_EXPORT_(result, name, parameters) \
    WSCBS_MODULE_API result WSCBS_STDCALL name parameters;
WSCBS_EXPORTS(WSCBS_DECLARE_EXPORT_)
#undef WSCBS_DECLARE_EXPORT_

/* Pointer types for a host that finds the exports with GetProcAddress:
   WscbsInitSubAppProc, WscbsShowFrmViewProc, WscbsFreeDLLProcProc. */
#define WSCBS_EXPORT_PROC_(result, name, parameters) \
    typedef result(WSCBS_STDCALL* Wscbs##name##Proc) parameters;
WSCBS_EXPORTS(WSCBS_EXPORT_PROC_)
#undef WSCBS_EXPORT_PROC_

/* The shared heap for a host written in C, exported by SharedRt.dll under
   these names (cdecl): a zero-filled block, NULL when there is no memory,
   and its release (NULL is ignored). */
#define WSCBS_SHARED_HEAP_ALLOC_ZEROED "SharedHeapAllocZeroed"
#define WSCBS_SHARED_HEAP_FREE "SharedHeapFree"
typedef void* (*WscbsSharedHeapAllocZeroedProc)(size_t size);
typedef void (*WscbsSharedHeapFreeProc)(void* block);

/* ---- window messages between module forms and the host's main window --------

   The module finds the host's main window with GetMainFrameHandle and, where
   noted, as the top-level window of class WSCBS_HOST_MAIN_WINDOW_CLASS. All
   messages are sent (SendMessageA), so the host has handled each one when
   the call returns; their results are not used. Without a host main window
   nothing is sent.

   form -> host, WM_COPYDATA (74): wParam the application window handle (the
     handle the host gave the exports), lParam a COPYDATASTRUCT whose dwData
     is the kind below, cbData the text's length + 1 and lpData the text with
     its NUL (valid only during the call):
     WSCBS_CD_FORM_SHOWN   a form was placed into a container and shown, and
                           the parameter text named a "ModalFormMsg". Text:
                           four fields joined by "|": the "ModalFormMsg"
                           value; the form's window handle as an unsigned
                           decimal number; "1" when help is on, else "0";
                           "1" when the first option is set, else "0". The
                           launcher view sends "<value>|<handle>|0|1".
     WSCBS_CD_FORM_CLOSED  a form was destroyed. Text: the host function code
                           that GetCurFuncCode gave when the form was created.
   form -> host, WSCBS_MSG_HELP_REQUEST: F1 was pressed in a form; wParam 0,
     lParam 0. Found also by the window class.
   form -> host, WM_NCACTIVATE (134): after every WM_ACTIVATE a form
     receives, activation and deactivation alike; wParam 1
     (WSCBS_NCACTIVATE_WPARAM), lParam 0: the host draws its title bar as
     active. Sent only to the window GetMainFrameHandle gives.
   host -> form, WSCBS_MSG_CLOSE_FORM: the form closes, and closing destroys
     it (the closed notice follows once the message loop has released it).
     wParam and lParam are ignored.
   host -> form, WSCBS_MSG_SKIN_CHANGED: the form applies the host's skin
     values again and sets up the input method of edits added since.
     wParam and lParam are ignored. */
#define WSCBS_MSG_CLOSE_FORM 1280u   /* 0x500, host -> form */
#define WSCBS_CD_FORM_SHOWN 1282u    /* 0x502, copy-data kind, form -> host */
#define WSCBS_MSG_HELP_REQUEST 1296u /* 0x510, form -> host */
#define WSCBS_CD_FORM_CLOSED 1302u   /* 0x516, copy-data kind, form -> host */
#define WSCBS_MSG_SKIN_CHANGED 1303u /* 0x517, host -> form */
#define WSCBS_WM_COPYDATA 0x004Au    /* WM_COPYDATA */
#define WSCBS_WM_NCACTIVATE 0x0086u  /* WM_NCACTIVATE */
#define WSCBS_NCACTIVATE_WPARAM 1
#define WSCBS_HOST_MAIN_WINDOW_CLASS "Tfrm_MainFrame"
#define WSCBS_FORM_SHOWN_SEPARATOR "|"

/* ---- exchange records ---------------------------------------------------------

   Host and module are built separately and touch these records in the same
   memory, so every size and offset is fixed and checked below, for each
   width. A string field holds a WscbsString's storage: a pointer to the
   characters, null for the empty text. */

/* Type code of a value-object item (ParamItem.ValueType). */
#define WSCBS_PARAM_STRING 0  /* StringValue */
#define WSCBS_PARAM_INTEGER 1 /* IntegerValue */
#define WSCBS_PARAM_FLOAT 2   /* FloatValue */
#define WSCBS_PARAM_BOOLEAN 3 /* BooleanValue */
#define WSCBS_PARAM_OBJECT 7  /* ObjectValue, owned by the value object */
#define WSCBS_PARAM_POINTER 8 /* PointerValue, borrowed: never released through the item */

/* Bytes of an OLE VARIANT: 16 in the 32-bit layout; 24 in the 64-bit one,
   where its record member is two pointers wide. */
#define WSCBS_VARIANT_BYTES (WSCBS_POINTER_BYTES == 4 ? 16 : 24)

/* TParamValue, the value cell: a new one for every assignment, from the
   shared heap. 32 bytes in the 32-bit layout. In the 64-bit layout
   StringValue widens to 8 bytes (no unused word follows it), the variant to
   24 bytes and the scalar moves to 32: 40 bytes. */
typedef struct WscbsParamValue {
    char* StringValue; /* 0 */
#if WSCBS_POINTER_BYTES == 4
    uint32_t Unused; /* 4 */
#endif
    unsigned char VariantValue[WSCBS_VARIANT_BYTES]; /* 8: left empty by the module */
    union {                                          /* 24 (64-bit: 32) */
        int32_t IntegerValue;
        unsigned char BooleanValue; /* 0 false */
        double FloatValue;
        void* PointerValue;
        void* ObjectValue;
        unsigned char ScalarBytes[8];
    } Scalar;
} WscbsParamValue;

/* ParamItem, one named item of a value object: 264 bytes in the 32-bit
   layout. In the 64-bit layout the cell pointer widens to 8 bytes at its
   natural offset 264: 272 bytes. Name is a length-prefixed text (byte 0 the
   length 0-255, then the characters, no terminator). */
typedef struct WscbsParamItem {
    unsigned char Name[256];                     /* 0 */
    unsigned char ValueType;                     /* 256: a WSCBS_PARAM_ code */
    unsigned char Unused[WSCBS_POINTER_BYTES - 1]; /* 257 */
    WscbsParamValue* Value;                      /* 260 (64-bit: 264) */
} WscbsParamItem;

/* TErrorMsg, one record of the error catalogue that the module publishes as
   the pointer item "Global_Errlist" of the sub-application's value object.
   Packed: 29 bytes in the 32-bit layout; in the 64-bit layout the five
   strings widen to 8 bytes each: 49 bytes. */
#pragma pack(push, 1)
typedef struct WscbsErrorMsg {
    int32_t SeqNo;              /* 0: position in the catalogue, from 1 */
    int32_t Code;               /* 4 */
    char* Msg;                  /* 8 */
    char* ReservedText1;        /* 12 (64-bit: 16), empty */
    char* ReservedText2;        /* 16 (64-bit: 24), empty */
    unsigned char ReservedByte; /* 20 (64-bit: 32), 0 */
    char* ModuleType;           /* 21 (64-bit: 33) */
    char* InsideCode;           /* 25 (64-bit: 41) */
} WscbsErrorMsg;
#pragma pack(pop)

/* The catalogue is a counted array: this header, then the records back to
   back. "Global_Errlist" addresses the first record, so the element count
   is the 32-bit word just before it; an empty catalogue is a null pointer.
   8 bytes at both widths. The module owns the array until it is unloaded. */
typedef struct WscbsCountedArrayHeader {
    int32_t RefCount;
    int32_t Count;
} WscbsCountedArrayHeader;

/* The host's record of a sub-application (GetCurSubAppInfo,
   GetpSubAppInfo). The module reads only the version: a length-prefixed text
   at byte 256. The rest is the host's. No pointer: the same at both
   widths. */
typedef struct WscbsSubAppInfo {
    unsigned char HostData[256]; /* 0: the host's own */
    unsigned char Version[256];  /* 256: length byte, then up to 255 bytes */
} WscbsSubAppInfo;

WSCBS_STATIC_ASSERT(offsetof(WscbsParamValue, StringValue) == 0, "TParamValue.StringValue");
WSCBS_STATIC_ASSERT(offsetof(WscbsParamValue, VariantValue) == 8, "TParamValue.VariantValue");
WSCBS_STATIC_ASSERT(offsetof(WscbsParamItem, ValueType) == 256, "ParamItem.ValueType");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, Code) == 4, "TErrorMsg.Code");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, Msg) == 8, "TErrorMsg.Msg");
WSCBS_STATIC_ASSERT(sizeof(WscbsCountedArrayHeader) == 8, "counted array header");
WSCBS_STATIC_ASSERT(offsetof(WscbsCountedArrayHeader, Count) == 4, "counted array element count");
WSCBS_STATIC_ASSERT(offsetof(WscbsSubAppInfo, Version) == 256, "sub-application record version");
#if WSCBS_POINTER_BYTES == 4
WSCBS_STATIC_ASSERT(sizeof(WscbsParamValue) == 32, "TParamValue is 32 bytes");
WSCBS_STATIC_ASSERT(offsetof(WscbsParamValue, Scalar) == 24, "TParamValue scalar");
WSCBS_STATIC_ASSERT(sizeof(WscbsParamItem) == 264, "ParamItem is 264 bytes");
WSCBS_STATIC_ASSERT(offsetof(WscbsParamItem, Value) == 260, "ParamItem.Value");
WSCBS_STATIC_ASSERT(sizeof(WscbsErrorMsg) == 29, "TErrorMsg is 29 bytes");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, ReservedText1) == 12, "TErrorMsg.ReservedText1");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, ReservedText2) == 16, "TErrorMsg.ReservedText2");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, ReservedByte) == 20, "TErrorMsg.ReservedByte");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, ModuleType) == 21, "TErrorMsg.ModuleType");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, InsideCode) == 25, "TErrorMsg.InsideCode");
#else
WSCBS_STATIC_ASSERT(sizeof(WscbsParamValue) == 40, "TParamValue is 40 bytes at 64 bits");
WSCBS_STATIC_ASSERT(offsetof(WscbsParamValue, Scalar) == 32, "TParamValue scalar at 64 bits");
WSCBS_STATIC_ASSERT(sizeof(WscbsParamItem) == 272, "ParamItem is 272 bytes at 64 bits");
WSCBS_STATIC_ASSERT(offsetof(WscbsParamItem, Value) == 264, "ParamItem.Value at 64 bits");
WSCBS_STATIC_ASSERT(sizeof(WscbsErrorMsg) == 49, "TErrorMsg is 49 bytes at 64 bits");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, ReservedText1) == 16, "TErrorMsg.ReservedText1 at 64 bits");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, ReservedText2) == 24, "TErrorMsg.ReservedText2 at 64 bits");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, ReservedByte) == 32, "TErrorMsg.ReservedByte at 64 bits");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, ModuleType) == 33, "TErrorMsg.ModuleType at 64 bits");
WSCBS_STATIC_ASSERT(offsetof(WscbsErrorMsg, InsideCode) == 41, "TErrorMsg.InsideCode at 64 bits");
#endif

/* ---- the host services: ModuleLib.dll ------------------------------------------

   The 30 functions of the host's services library that the module imports
   by name, as X(result type, name, (parameters)); ModuleLib.dll's export
   table holds exactly these names, undecorated.
   Text arguments are NUL-terminated GBK (NULL reads as the empty text); a
   text result replaces the contents of the caller's WscbsString given as
   the last argument. Folders end with "\". Value objects, records and
   controls that the host returns are the host's; the module borrows them.
   Controls (owner, form, container) are objects of the shared runtime. */
#define WSCBS_HOST_SERVICES(X)                                                               \
    /* Code of the running sub-application; + a suffix = a function code. */                \
    X(void, GetCurSubAppCode, (WscbsString* result))                                        \
    /* Folder of the running sub-application. */                                            \
    X(void, GetCurSubAppPath, (WscbsString* result))                                        \
    /* Folder of the sub-application with that code. */                                     \
    X(void, GetSubAppPath, (const char* code, WscbsString* result))                         \
    /* Folder of the host program. */                                                       \
    X(void, GetAppPath, (WscbsString* result))                                              \
    /* The running sub-application's value object: the module's globals go here. */        \
    X(WscbsValueObject*, GetCurSubAppVo, (void))                                            \
    /* The enterprise's registration data ("QYSBH", "ZONECODE", "XZQHDM"). */               \
    X(WscbsValueObject*, GetCompanyInfoVO, (void))                                          \
    /* The signed-in user. */                                                               \
    X(WscbsValueObject*, GetUserInfoVO, (void))                                             \
    /* The host's record of the running sub-application. */                                 \
    X(const WscbsSubAppInfo*, GetCurSubAppInfo, (void))                                     \
    /* The record of the sub-application with that code; NULL when unknown. */              \
    X(const WscbsSubAppInfo*, GetpSubAppInfo, (const char* code))                           \
    /* The host function code current now (a form keeps the one at its creation). */        \
    X(void, GetCurFuncCode, (WscbsString* result))                                          \
    /* The host's application window and main window; NULL when there is none. */           \
    X(WscbsWindowHandle, GetAppHandle, (void))                                              \
    X(WscbsWindowHandle, GetMainFrameHandle, (void))                                        \
    /* Host controls a module form keeps but does not use. */                               \
    X(void*, GetCurParentForm, (void))                                                      \
    X(void*, GetgsMainFrameParentForm, (void))                                              \
    /* An individuation parameter of a sub-application, or the default. */                  \
    X(void, GetSubAppIndividuationParam,                                                    \
      (const char* code, const char* key, const char* defaultValue, WscbsString* result))   \
    /* A value of the user configuration, or the default. */                                \
    X(void, GetUserConfigParam,                                                             \
      (const char* section, const char* key, const char* defaultValue, WscbsString* result)) \
    /* A private-profile read of an INI file, or the default. */                            \
    X(void, ReadIniValueStr,                                                                \
      (const char* file, const char* section, const char* key, const char* defaultValue,    \
       WscbsString* result))                                                                \
    /* A private-profile write of an INI file. */                                           \
    X(void, WriteIniValueString, (const char* file, const char* section, const char* key,   \
                                  const char* value))                                       \
    /* 1 when the current user may use the function. */                                     \
    X(WSCBS_BOOL, CheckFunctionCanUse, (const char* functionCode))                          \
    /* Runs a host function with owner (a windowed control, or NULL) as parent of its       \
       window. *buffer is the caller's 500-byte block; the host may write back a            \
       NUL-terminated text of at most 499 bytes and neither keeps nor frees the block. */   \
    X(WSCBS_BOOL, ExecuteFunc, (void* owner, const char* functionCode, char** buffer))      \
    /* One SQL statement on the named connection ("WSCBSMainCon") with the caller's query   \
       object; message receives the host's text about it. The module passes 0 and 0         \
       for the last two. 1 when the statement was carried out. */                           \
    X(WSCBS_BOOL, ExecADOQueryMsg, (const char* connection, const char* sql, WscbsQuery** query, \
                                    WscbsString* message, int32_t reserved,                 \
                                    WSCBS_BOOL reservedFlag))                               \
    /* Shows the host's message registered for the code. */                                 \
    X(void, InforMsg, (int32_t code, const char* text, WSCBS_BOOL flag))                    \
    /* The host's skin: colours, font size in points, font character set. */                \
    X(WscbsColour, gclSysFontColor, (void))                                                 \
    X(WscbsColour, gclModuleBackColor, (void))                                              \
    X(WscbsColour, gclModuleToolBarColor, (void))                                           \
    X(int32_t, giSysFontSize, (void))                                                       \
    X(int32_t, giSysFontCharSet, (void))                                                    \
    /* The host applies its skin scheme to the controls of a module form. */                \
    X(void, SetSkinSchemeCtrls, (void* form))                                               \
    /* The head field of text before the first separator, trimmed; with removeHead the      \
       field and its separator are taken off text as well. */                               \
    X(void, FetchHeadstrTrim, (WSCBS_BOOL removeHead, const char* separator, WscbsString* text, \
                               WscbsString* result))                                        \
    /* Notes the help page of the form being shown. */                                      \
    X(void, SetgsHelpHtml, (const char* pageName))

#define WSCBS_DECLARE_HOST_SERVICE_(result, name, parameters) \
    WSCBS_HOST_API result WSCBS_STDCALL name parameters;
WSCBS_HOST_SERVICES(WSCBS_DECLARE_HOST_SERVICE_)
#undef WSCBS_DECLARE_HOST_SERVICE_

#if defined(__cplusplus)
} /* extern "C" */
#endif

#endif /* WSCBS_WSCBS_H */
