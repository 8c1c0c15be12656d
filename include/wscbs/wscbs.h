/* wscbs.h: what a host shell and the sub-application module wscbs.dll agree
 * on. The module, the host's services library (ModuleLib.dll), the shared
 * runtime (SharedRt.dll), the reference shell and the tests all compile
 * against this one header.
 *
 * Languages: C89/C90, C99, C11 and C17, and C++98 to C++20, with GCC
 * (MinGW-w64), clang and MSVC, for 32-bit Windows (the product) and, from
 * the same declarations, for 64-bit Windows: there handles and pointers are
 * 8 bytes and the exchange records below widen the fields that hold one;
 * each record says which. The size checks are C11's _Static_assert or
 * C++11's static_assert where the language has them, a negative array size
 * otherwise. The declarations need no <stdint.h>: their fixed-width types
 * are the header's own (WscbsInt32, WscbsUInt32); in C99 and C++11 and
 * later the header includes it all the same, for the code around it.
 *
 * Conventions at the boundary
 *  - The module's exports and the host services are extern "C", __stdcall
 *    (WSCBS_STDCALL; 64-bit Windows has one calling convention and ignores
 *    it), exported by their undecorated names. In the 32-bit build each
 *    argument is one 32-bit stack slot.
 *  - The shared runtime's C functions are extern "C", __cdecl (WSCBS_CDECL),
 *    exported by SharedRt.dll under their own names.
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
#if (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L) || \
    (defined(__cplusplus) && (__cplusplus >= 201103L || (defined(_MSVC_LANG) && _MSVC_LANG >= 201103L)))
#include <stdint.h>
#endif

/* ---- calling convention, linkage, checks ---------------------------------- */

#if defined(_MSC_VER)
#define WSCBS_STDCALL __stdcall
#define WSCBS_CDECL __cdecl
#elif defined(_WIN32) && defined(__GNUC__)
#define WSCBS_STDCALL __attribute__((__stdcall__))
#define WSCBS_CDECL __attribute__((__cdecl__))
#else
/* Not Windows: the OS-free core built for tests; there is no DLL boundary. */
#define WSCBS_STDCALL
#define WSCBS_CDECL
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
/* The shared runtime's own build defines WSCBS_BUILDING_RUNTIME; a static
   runtime (the OS-free tests) has no DLL boundary either. */
#if defined(WSCBS_BUILDING_RUNTIME)
#define WSCBS_RUNTIME_API WSCBS_DLLEXPORT
#else
#define WSCBS_RUNTIME_API WSCBS_DLLIMPORT
#endif

#define WSCBS_JOIN2_(a, b) a##b
#define WSCBS_JOIN_(a, b) WSCBS_JOIN2_(a, b)
#if defined(__cplusplus) && (__cplusplus >= 201103L || (defined(_MSVC_LANG) && _MSVC_LANG >= 201103L))
#define WSCBS_STATIC_ASSERT(condition, what) static_assert(condition, what)
#elif !defined(__cplusplus) && defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define WSCBS_STATIC_ASSERT(condition, what) _Static_assert(condition, what)
#else
#define WSCBS_STATIC_ASSERT(condition, what) \
    typedef char WSCBS_JOIN_(wscbs_static_assert_, __LINE__)[(condition) ? 1 : -1]
#endif

/* 4 in the 32-bit product, 8 in the 64-bit build (and in a 64-bit native
   build of the OS-free core). Told by the compiler's own macros, so that no
   64-bit constant appears in a C89 or C++98 translation unit. */
#if defined(_WIN64) || defined(__LP64__) || (defined(__SIZEOF_POINTER__) && __SIZEOF_POINTER__ == 8)
#define WSCBS_POINTER_BYTES 8
#else
#define WSCBS_POINTER_BYTES 4
#endif

/* Fixed-width integers without <stdint.h>: int is 32 bits on every
   Windows compiler and data model (ILP32, LLP64) and on the native builds. */
typedef int WscbsInt32;
typedef unsigned int WscbsUInt32;
WSCBS_STATIC_ASSERT(sizeof(WscbsInt32) == 4 && sizeof(WscbsUInt32) == 4, "32-bit integers");
WSCBS_STATIC_ASSERT(sizeof(void*) == WSCBS_POINTER_BYTES, "pointer width");

/* ---- types at the boundary ------------------------------------------------- */

/* A Boolean: one byte, 1 true, 0 false. */
typedef unsigned char WSCBS_BOOL;
/* A window handle (an HWND), pointer-wide. */
typedef void* WscbsWindowHandle;
/* A colour of the host's skin: 0x00BBGGRR. */
typedef WscbsUInt32 WscbsColour;

/* Objects of the runtime that host and module share (SharedRt.dll). They
 * are passed by address only; C sees incomplete types, C++ the runtime's
 * own classes, so that both sides use these very prototypes. A C host makes,
 * reads and releases them with the runtime's C functions below.
 *  - WscbsString: the reference-counted 8-bit string. Its storage is one
 *    pointer to NUL-terminated characters (null for the empty text); the
 *    32-bit length sits in the 4 bytes before the characters and the
 *    32-bit reference count in the 4 before that, in a block of the shared
 *    heap. A text result of a host service replaces the contents of the
 *    caller's string (WscbsStringAssign, which also releases the old text).
 *  - WscbsValueObject: the host's value object (class reference, then the
 *    list of ParamItem pointers), owned by the host.
 *  - WscbsQuery: a query object that the module creates for one statement.
 *  - WscbsContainer: a windowed control of the runtime that a view can be
 *    embedded in (ShowFrmView's container); WscbsContainerCreate makes one
 *    inside any window. */
#if defined(__cplusplus)
namespace rt {
class RtString;
class DataVO;
class RtQuery;
namespace ui {
class WinControl;
} /* namespace ui */
} /* namespace rt */
typedef rt::RtString WscbsString;
typedef rt::DataVO WscbsValueObject;
typedef rt::RtQuery WscbsQuery;
typedef rt::ui::WinControl WscbsContainer;
#else
typedef struct WscbsString WscbsString;
typedef struct WscbsValueObject WscbsValueObject;
typedef struct WscbsQuery WscbsQuery;
typedef struct WscbsContainer WscbsContainer;
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
     of the shared runtime (a WscbsContainer* made by WscbsContainerCreate
     inside any window, or a C++ host's rt::ui::WinControl*), not a window
     handle: the view becomes its borderless child filling it. With NULL the
     view is
     shown free-standing, on top, centred over the application's main form.
     hostText is read only; when its parameter text has a "ModalFormMsg"
     entry and a container was given, the host's main window receives the
     shown notice (WSCBS_CD_FORM_SHOWN). Result 1; 0 when the view could not
     be created or embedded, the error then shown by the application's
     default error display.

   FreeDLLProc(first, second): does nothing and returns 1; both arguments
     are 32 bits at either width and ignored. The view stays.

   Unloading: the view's code lives in the module, so no view of it may be
   left when the host calls FreeLibrary. The host sends the view
   WSCBS_MSG_CLOSE_FORM (the view's window is the handle in the shown
   notice, or the container's child window), lets its message loop run until
   the closed notice (WSCBS_CD_FORM_CLOSED) has come (the close only posts
   the view's release), and then calls FreeLibrary. Destroying the container
   (WscbsContainerDestroy) destroys the view with it at once, the closed
   notice coming during that call; a C++ host may also free the forms the
   application owns (rt::Application::FreeOwnedForms). At unload the module
   puts back the runtime's application and screen objects that it recorded
   at load. */
#define WSCBS_EXPORTS(X)                                                             \
    X(WSCBS_BOOL, InitSubApp, (WscbsWindowHandle appHandle, char** hostBuffer))      \
    X(WSCBS_BOOL, ShowFrmView, (WscbsWindowHandle appHandle, void* container, char** hostText)) \
    X(WSCBS_BOOL, FreeDLLProc, (WscbsUInt32 first, WscbsUInt32 second))

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
    WscbsUInt32 Unused; /* 4 */
#endif
    unsigned char VariantValue[WSCBS_VARIANT_BYTES]; /* 8: left empty by the module */
    union {                                          /* 24 (64-bit: 32) */
        WscbsInt32 IntegerValue;
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
    WscbsInt32 SeqNo;           /* 0: position in the catalogue, from 1 */
    WscbsInt32 Code;            /* 4 */
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
    WscbsInt32 RefCount;
    WscbsInt32 Count;
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

/* ---- the shared runtime's C functions: SharedRt.dll ---------------------------

   What a host written in C needs of the runtime it shares with the module,
   as X(result type, name, (parameters)): SharedRt.dll exports each under
   its own name, __cdecl, and its import library (SharedRt.lib) lists them.
   None raises an error into the caller: a function that cannot do its work
   answers 0 or NULL and changes nothing. All of them belong on the host's
   user-interface thread, as the module's calls do.

   The shared heap
     SharedHeapAllocZeroed: a zero-filled block of size bytes, NULL when there
       is no memory. The module knows the size of such a block: a buffer
       given to InitSubApp comes from here. SharedHeapFree releases it (NULL
       is ignored).
   Strings (WscbsString, the module's and the host services' text type)
     WscbsStringCreate: a new string holding text (NULL: the empty text);
       WscbsStringDestroy releases it and its text. A string that the module
       passes to a host service is the module's: the service only assigns.
     WscbsStringAssign: replaces the string's text by a copy of text (NULL:
       the empty text), releasing the old text; 0 when there is no memory
       (the old text then stays). WscbsStringAssignBytes: the same with
       length bytes, which may hold NUL bytes.
     WscbsStringText: the characters, NUL-terminated ("" for the empty text
       and for NULL), valid until the string changes. WscbsStringLength: the
       number of bytes.
   Value objects (WscbsValueObject, the host's named values)
     WscbsValueObjectCreate: a new, empty value object; NULL when there is no
       memory. WscbsValueObjectDestroy releases it with every item, cell and
       string, and every object of an object item (type 7); the memory of a
       pointer item (type 8) is left alone.
     WscbsValueObjectCount, WscbsValueObjectItem: the number of items and
       item index (0-based, in the order added; NULL out of range), read
       with the WscbsParamItem layout. WscbsValueObjectFind: the first item
       whose name equals name, ASCII letters compared without case; NULL
       when none.
     WscbsValueObjectSetString, ...SetInteger, ...SetFloat, ...SetBoolean,
       ...SetPointer, ...SetObject: add an item of that type (a new item at
       the end), or give the item of that name a new cell of that type where
       it stands, keeping the name as first written. The old cell is
       released; an object item's object is destroyed unless the same
       object is set again as an object; a pointer item's memory is never
       touched. SetObject takes over an object made by this interface
       (WscbsValueObjectCreate, WscbsQueryCreate), which the value object
       then destroys; anything else is refused. 0 when value object or name
       is NULL, the name is longer than 255 bytes (it could never be found
       again), or there is no memory; the value object is then unchanged.
     WscbsValueObjectGetString, ...GetInteger, ...GetFloat, ...GetBoolean,
       ...GetPointer: the value of the first item of that name and type,
       else defaultValue. GetPointer reads pointer and object items.
       GetString's text is valid until the item is set again.
   Query objects (WscbsQuery, what ExecADOQueryMsg is given)
     WscbsQueryCreate, WscbsQueryDestroy: a new query object, and its
       release. WscbsQuerySetResult: what the host records in the caller's
       query object after a statement: the statement and the rows it
       changed; 0 when there is no memory. WscbsQueryStatement,
       WscbsQueryRowsAffected: what the last statement recorded ("" and 0
       for a new one).
   Containers (where ShowFrmView embeds the view)
     WscbsContainerCreate: a borderless child window of parent that fills
       parent's client area and follows its size, as a windowed control of
       the runtime: the container ShowFrmView takes. NULL when parent is no
       window. The host destroys it before its parent window
       (WscbsContainerDestroy), which destroys an embedded view with it.
       WscbsContainerWindow: the container's own window.
   Errors the runtime shows
     WscbsSetErrorDisplay: from now on the application's default error
       display hands the host every error that reaches the user-interface
       layer (a failed event handler of a view, a failed ShowFrmView)
       instead of showing a message box: display(context, GBK message)
       during the call. NULL puts the message box back. */
typedef void(WSCBS_STDCALL* WscbsErrorDisplayProc)(void* context, const char* gbkMessage);
#define WSCBS_RUNTIME_FUNCTIONS(X)                                                                    \
    X(void*, SharedHeapAllocZeroed, (size_t size))                                                    \
    X(void, SharedHeapFree, (void* block))                                                            \
    X(WscbsString*, WscbsStringCreate, (const char* text))                                            \
    X(void, WscbsStringDestroy, (WscbsString* string))                                                \
    X(WSCBS_BOOL, WscbsStringAssign, (WscbsString* string, const char* text))                        \
    X(WSCBS_BOOL, WscbsStringAssignBytes, (WscbsString* string, const char* bytes, size_t length))   \
    X(const char*, WscbsStringText, (const WscbsString* string))                                      \
    X(size_t, WscbsStringLength, (const WscbsString* string))                                         \
    X(WscbsValueObject*, WscbsValueObjectCreate, (void))                                              \
    X(void, WscbsValueObjectDestroy, (WscbsValueObject* valueObject))                                 \
    X(WscbsInt32, WscbsValueObjectCount, (const WscbsValueObject* valueObject))                       \
    X(WscbsParamItem*, WscbsValueObjectItem, (const WscbsValueObject* valueObject, WscbsInt32 index)) \
    X(WscbsParamItem*, WscbsValueObjectFind, (const WscbsValueObject* valueObject, const char* name)) \
    X(WSCBS_BOOL, WscbsValueObjectSetString,                                                          \
      (WscbsValueObject* valueObject, const char* name, const char* value))                           \
    X(WSCBS_BOOL, WscbsValueObjectSetInteger, (WscbsValueObject* valueObject, const char* name, WscbsInt32 value)) \
    X(WSCBS_BOOL, WscbsValueObjectSetFloat, (WscbsValueObject* valueObject, const char* name, double value)) \
    X(WSCBS_BOOL, WscbsValueObjectSetBoolean,                                                         \
      (WscbsValueObject* valueObject, const char* name, WSCBS_BOOL value))                            \
    X(WSCBS_BOOL, WscbsValueObjectSetPointer, (WscbsValueObject* valueObject, const char* name, void* value)) \
    X(WSCBS_BOOL, WscbsValueObjectSetObject, (WscbsValueObject* valueObject, const char* name, void* object)) \
    X(const char*, WscbsValueObjectGetString,                                                         \
      (const WscbsValueObject* valueObject, const char* name, const char* defaultValue))              \
    X(WscbsInt32, WscbsValueObjectGetInteger,                                                         \
      (const WscbsValueObject* valueObject, const char* name, WscbsInt32 defaultValue))               \
    X(double, WscbsValueObjectGetFloat, (const WscbsValueObject* valueObject, const char* name, double defaultValue)) \
    X(WSCBS_BOOL, WscbsValueObjectGetBoolean,                                                         \
      (const WscbsValueObject* valueObject, const char* name, WSCBS_BOOL defaultValue))               \
    X(void*, WscbsValueObjectGetPointer,                                                              \
      (const WscbsValueObject* valueObject, const char* name, void* defaultValue))                    \
    X(WscbsQuery*, WscbsQueryCreate, (void))                                                          \
    X(void, WscbsQueryDestroy, (WscbsQuery* query))                                                   \
    X(WSCBS_BOOL, WscbsQuerySetResult, (WscbsQuery* query, const char* statement, WscbsInt32 rowsAffected)) \
    X(const char*, WscbsQueryStatement, (const WscbsQuery* query))                                    \
    X(WscbsInt32, WscbsQueryRowsAffected, (const WscbsQuery* query))                                  \
    X(WscbsContainer*, WscbsContainerCreate, (WscbsWindowHandle parent))                              \
    X(void, WscbsContainerDestroy, (WscbsContainer* container))                                       \
    X(WscbsWindowHandle, WscbsContainerWindow, (const WscbsContainer* container))                     \
    X(void, WscbsSetErrorDisplay, (WscbsErrorDisplayProc display, void* context))

#define WSCBS_DECLARE_RUNTIME_FUNCTION_(result, name, parameters) \
    WSCBS_RUNTIME_API result WSCBS_CDECL name parameters;
WSCBS_RUNTIME_FUNCTIONS(WSCBS_DECLARE_RUNTIME_FUNCTION_)
#undef WSCBS_DECLARE_RUNTIME_FUNCTION_

/* Pointer types for a host that finds them with GetProcAddress:
   SharedHeapAllocZeroedProc, WscbsStringAssignProc, ... (name + Proc). */
#define WSCBS_RUNTIME_PROC_(result, name, parameters) \
    typedef result(WSCBS_CDECL* name##Proc) parameters;
WSCBS_RUNTIME_FUNCTIONS(WSCBS_RUNTIME_PROC_)
#undef WSCBS_RUNTIME_PROC_

/* The heap functions' names and pointer types as earlier hosts use them. */
#define WSCBS_SHARED_HEAP_ALLOC_ZEROED "SharedHeapAllocZeroed"
#define WSCBS_SHARED_HEAP_FREE "SharedHeapFree"
typedef SharedHeapAllocZeroedProc WscbsSharedHeapAllocZeroedProc;
typedef SharedHeapFreeProc WscbsSharedHeapFreeProc;

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
                                    WscbsString* message, WscbsInt32 reserved,              \
                                    WSCBS_BOOL reservedFlag))                               \
    /* Shows the host's message registered for the code. */                                 \
    X(void, InforMsg, (WscbsInt32 code, const char* text, WSCBS_BOOL flag))                 \
    /* The host's skin: colours, font size in points, font character set. */                \
    X(WscbsColour, gclSysFontColor, (void))                                                 \
    X(WscbsColour, gclModuleBackColor, (void))                                              \
    X(WscbsColour, gclModuleToolBarColor, (void))                                           \
    X(WscbsInt32, giSysFontSize, (void))                                                    \
    X(WscbsInt32, giSysFontCharSet, (void))                                                 \
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
