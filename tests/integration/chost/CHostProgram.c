/* The C host's program: its window, the module's loading from another
   folder, the calls of the three exports, the view in a container of its
   own, the notices, the period link, the close and the unload. */
#include "CHost.h"

#include <stdlib.h>
#include <string.h>

static struct {
    int shown, closed, help, ncActivations, errors;
    char shownText[512];
    char closedText[512];
} notices;

static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* data = (const COPYDATASTRUCT*)lParam;
        const char* text = data->lpData != NULL ? (const char*)data->lpData : "";
        if (data->dwData == WSCBS_CD_FORM_SHOWN) {
            ++notices.shown;
            strncpy(notices.shownText, text, sizeof notices.shownText - 1);
        } else if (data->dwData == WSCBS_CD_FORM_CLOSED) {
            ++notices.closed;
            strncpy(notices.closedText, text, sizeof notices.closedText - 1);
        }
        printf("notice %lu: \"%s\" (%lu bytes, sender %s)\n", (unsigned long)data->dwData, text,
               (unsigned long)data->cbData, (HWND)wParam == window ? "the host window" : "another window");
        return TRUE;
    }
    if (message == WSCBS_MSG_HELP_REQUEST) {
        ++notices.help;
        return 0;
    }
    if (message == WM_NCACTIVATE && wParam == WSCBS_NCACTIVATE_WPARAM && lParam == 0)
        ++notices.ncActivations;
    return DefWindowProcA(window, message, wParam, lParam);
}

static void WSCBS_STDCALL ShowError(void* context, const char* gbkMessage)
{
    (void)context;
    ++notices.errors;
    printf("error shown: %s\n", gbkMessage);
}

/* Handles what the message loop has, as a host's loop would between
   events. */
static void Pump(void)
{
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

static void During(const char* step) { CHostLog("  during %s:\n", step); }

/* The view's main area (its largest panel, "Pnl_main"), where the period
   link "更改" lies at 229, 13, 24 x 12. */
static HWND g_largest;
static LONG g_largestArea;
static BOOL CALLBACK LargestPanel(HWND window, LPARAM view)
{
    char name[32];
    RECT r;
    if (GetParent(window) == (HWND)view && GetClassNameA(window, name, sizeof name) && strcmp(name, "TPanel") == 0 &&
        GetWindowRect(window, &r) && (r.right - r.left) * (r.bottom - r.top) > g_largestArea) {
        g_largest = window;
        g_largestArea = (r.right - r.left) * (r.bottom - r.top);
    }
    return TRUE;
}

static void ClickPeriodLink(HWND view)
{
    const LPARAM at = MAKELPARAM(229 + 12, 13 + 6);
    g_largest = NULL;
    g_largestArea = 0;
    EnumChildWindows(view, LargestPanel, (LPARAM)view);
    if (g_largest == NULL) {
        printf("the view has no main area\n");
        return;
    }
    SendMessageA(g_largest, WM_MOUSEMOVE, 0, at);
    SendMessageA(g_largest, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(g_largest, WM_LBUTTONUP, 0, at);
}

static void PrintPublished(void)
{
    const WscbsErrorMsg* first = (const WscbsErrorMsg*)WscbsValueObjectGetPointer(host.subApp, "Global_Errlist", NULL);
    WscbsInt32 count = 0;
    if (first != NULL)
        memcpy(&count, (const char*)first - sizeof count, sizeof count);
    printf("Global_curkjny=%s\n", WscbsValueObjectGetString(host.subApp, "Global_curkjny", "(none)"));
    printf("Global_company=%s\n", WscbsValueObjectGetString(host.subApp, "Global_company", "(none)"));
    printf("Global_cbsreader=%s\n", WscbsValueObjectGetString(host.subApp, "Global_cbsreader", "(none)"));
    printf("Global_Errlist=%d records, the first code %d\n", (int)count, count > 0 ? (int)first[0].Code : 0);
}

int __cdecl CHostRun(const char* installation, const char* logFile, const char* period)
{
    WNDCLASSA windowClass;
    char modulePath[MAX_PATH], servicesPath[MAX_PATH], initText[] = "SubAppCode=WSCBS;UserCode=001;RunMode=1";
    char showText[] = "SubAppCode=WSCBS", modalText[] = "SubAppCode=WSCBS;ModalFormMsg=WSCBS";
    char *buffer, *pointer, *showPointer = showText, *modalPointer = modalText;
    HMODULE module, services;
    WscbsInitSubAppProc initSubApp;
    WscbsShowFrmViewProc showFrmView;
    WscbsFreeDLLProcProc freeDllProc;
    HWND view;
    int status = 0;

    host.period = period;
    host.log = fopen(logFile, "wb");
    if (host.log == NULL || !CHostReadSettings(installation)) {
        printf("no host profile in %s\n", installation);
        return 2;
    }
    fprintf(host.log, "host services called by the module:\n");

    memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = WSCBS_HOST_MAIN_WINDOW_CLASS;
    RegisterClassA(&windowClass);
    host.mainWindow = CreateWindowA(WSCBS_HOST_MAIN_WINDOW_CLASS, "C host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                    40, 40, 820, 480, NULL, NULL, windowClass.hInstance, NULL);
    if (host.mainWindow == NULL) {
        printf("no main window (error %lu)\n", (unsigned long)GetLastError());
        return 2;
    }
    host.container = WscbsContainerCreate(host.mainWindow);
    if (host.container == NULL) {
        printf("no container in the main window (error %lu)\n", (unsigned long)GetLastError());
        return 2;
    }
    ShowWindow(host.mainWindow, SW_SHOW);
    UpdateWindow(host.mainWindow);
    Pump();
    WscbsSetErrorDisplay(ShowError, NULL);

    /* The module from the installation's folder: its imports are looked for
       there; ModuleLib.dll is this DLL, loaded already, which wins. */
    sprintf(modulePath, "%swscbs.dll", host.hostFolder);
    module = LoadLibraryExA(modulePath, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == NULL) {
        printf("cannot load %s (error %lu)\n", modulePath, (unsigned long)GetLastError());
        return 2;
    }
    services = GetModuleHandleA("ModuleLib.dll");
    GetModuleFileNameA(services, servicesPath, sizeof servicesPath);
    printf("ModuleLib.dll in use: %s\n", servicesPath);
    initSubApp = (WscbsInitSubAppProc)(void (*)(void))GetProcAddress(module, "InitSubApp");
    showFrmView = (WscbsShowFrmViewProc)(void (*)(void))GetProcAddress(module, "ShowFrmView");
    freeDllProc = (WscbsFreeDLLProcProc)(void (*)(void))GetProcAddress(module, "FreeDLLProc");
    if (initSubApp == NULL || showFrmView == NULL || freeDllProc == NULL) {
        printf("wscbs.dll lacks an export\n");
        return 2;
    }

    During("InitSubApp");
    buffer = (char*)SharedHeapAllocZeroed(sizeof initText + 1024);
    memcpy(buffer, initText, sizeof initText);
    pointer = buffer;
    printf("InitSubApp -> %d: %s\n", initSubApp(host.mainWindow, &pointer), buffer);
    SharedHeapFree(buffer);
    PrintPublished();

    During("ShowFrmView");
    printf("ShowFrmView -> %d\n", showFrmView(host.mainWindow, host.container, &showPointer));
    During("the message loop");
    Pump();
    /* Shown again, now with a "ModalFormMsg": the shown notice follows. */
    During("ShowFrmView with ModalFormMsg");
    printf("ShowFrmView -> %d\n", showFrmView(host.mainWindow, host.container, &modalPointer));
    Pump();
    view = GetWindow((HWND)WscbsContainerWindow(host.container), GW_CHILD);
    {
        /* The view's window as the shown notice names it: "WSCBS|<handle>|0|1". */
        const char* bar = strchr(notices.shownText, '|');
        const unsigned long long named = bar != NULL ? strtoull(bar + 1, NULL, 10) : 0;
        printf("the container's child window %s the view the shown notice names\n",
               view != NULL && (unsigned long long)(uintptr_t)view == named ? "is" : "is not");
    }

    During("the click on the period link");
    ClickPeriodLink(view);
    Pump();
    PrintPublished();

    /* F1 in the view: the help request to the host's main window. */
    During("F1");
    SendMessageA(view, WM_KEYDOWN, VK_F1, 1);
    SendMessageA(view, WM_KEYUP, VK_F1, (LPARAM)0xC0000001u);
    Pump();

    /* Unloading: the host's close, the loop until the closed notice, then
       FreeLibrary. */
    SendMessageA(view, WSCBS_MSG_CLOSE_FORM, 0, 0);
    while (notices.closed == 0) {
        MSG message;
        if (GetMessageA(&message, NULL, 0, 0) <= 0)
            break;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    printf("FreeDLLProc -> %d\n", freeDllProc(0, 0));
    printf("FreeLibrary -> %d\n", FreeLibrary(module) != 0);
    printf("wscbs.dll still loaded: %s\n", GetModuleHandleA("wscbs.dll") != NULL ? "yes" : "no");
    printf("notices: %d shown, %d closed, %d help requests, %d errors\n", notices.shown, notices.closed,
           notices.help, notices.errors);
    WscbsContainerDestroy(host.container);
    DestroyWindow(host.mainWindow);
    WscbsValueObjectDestroy(host.company);
    WscbsValueObjectDestroy(host.user);
    WscbsValueObjectDestroy(host.subApp);
    if (host.db != NULL)
        sqlite3_close(host.db);
    fclose(host.log);
    return status;
}
