/* A host's side of the sub-application module: load it from its folder,
   initialise it once, embed its launcher view in a window of the host's
   own, answer its notices, close the view and unload the module.
     host-example <folder of wscbs.dll> [--close]
   --close closes the view as soon as it is shown, as a host does when it
   ends (the package's test runs the example so).
   The host services come from the ModuleLib.dll beside wscbs.dll: the
   reference one reads its settings from MainFrame.ini (or ModuleLib.ini)
   in that folder. include/wscbs/wscbs.h is the contract: the exports, the
   messages, the exchange records, the runtime's C functions and the host
   services. C99; no import library needed (every function is found with
   GetProcAddress), so the program can live in any folder. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "wscbs/wscbs.h"

static HWND g_view; /* the view's window, from the shown notice */
static int g_closed;

/* The module finds the host's main window by this class when the host's
   services give no main window handle (the reference ModuleLib.dll gives
   none to a host that did not configure it). */
static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT *data = (const COPYDATASTRUCT *)lParam;
        const char *text = (const char *)data->lpData;
        if (data->dwData == WSCBS_CD_FORM_SHOWN) { /* "ModalFormMsg|handle|help|option" */
            const char *bar = strchr(text, '|');
            g_view = bar != NULL ? (HWND)(UINT_PTR)strtoull(bar + 1, NULL, 10) : NULL;
            printf("shown: %s\n", text);
        } else if (data->dwData == WSCBS_CD_FORM_CLOSED) { /* the function code */
            printf("closed: %s\n", text);
            g_closed = 1;
        }
        return TRUE;
    }
    if (message == WSCBS_MSG_HELP_REQUEST) { /* F1 in a module form */
        printf("help requested\n");
        return 0;
    }
    if (message == WM_CLOSE && g_view != NULL && !g_closed) {
        /* The view goes first: it sends the closed notice when it is gone. */
        SendMessageA(g_view, WSCBS_MSG_CLOSE_FORM, 0, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

#define FIND(module, name) ((name##Proc)(void (*)(void))GetProcAddress(module, #name))

int main(int argc, char **argv)
{
    const int closeAtOnce = argc > 2 && strcmp(argv[2], "--close") == 0;
    char path[MAX_PATH];
    HMODULE module, runtime;
    WNDCLASSA windowClass;
    HWND mainWindow;
    MSG message;
    if (argc < 2) {
        fprintf(stderr, "usage: host-example <folder of wscbs.dll> [--close]\n");
        return 2;
    }

    /* 1. Load the module from its folder. LOAD_WITH_ALTERED_SEARCH_PATH
          looks for its imports (SharedRt.dll, XPKestrel.dll, ModuleLib.dll,
          the compiler's runtime) in that folder too; a plain LoadLibraryA
          would look beside this program and fail with error 126. A DLL of
          the same name already loaded wins over any file: a host with its
          own ModuleLib.dll loads that one first. */
    snprintf(path, sizeof path, "%s\\wscbs.dll", argv[1]);
    module = LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == NULL) {
        fprintf(stderr, "cannot load %s (error %lu)\n", path, (unsigned long)GetLastError());
        return 2;
    }
    runtime = GetModuleHandleA("SharedRt.dll");
    WscbsInitSubAppProc initSubApp = (WscbsInitSubAppProc)(void (*)(void))GetProcAddress(module, "InitSubApp");
    WscbsShowFrmViewProc showFrmView = (WscbsShowFrmViewProc)(void (*)(void))GetProcAddress(module, "ShowFrmView");
    WscbsFreeDLLProcProc freeDllProc = (WscbsFreeDLLProcProc)(void (*)(void))GetProcAddress(module, "FreeDLLProc");
    SharedHeapAllocZeroedProc sharedAlloc = FIND(runtime, SharedHeapAllocZeroed);
    SharedHeapFreeProc sharedFree = FIND(runtime, SharedHeapFree);
    WscbsContainerCreateProc containerCreate = FIND(runtime, WscbsContainerCreate);
    WscbsContainerDestroyProc containerDestroy = FIND(runtime, WscbsContainerDestroy);
    if (initSubApp == NULL || showFrmView == NULL || freeDllProc == NULL || sharedAlloc == NULL ||
        sharedFree == NULL || containerCreate == NULL || containerDestroy == NULL) {
        fprintf(stderr, "%s or SharedRt.dll lacks an export\n", path);
        return 2;
    }

    /* 2. The host's own window, and in it a container for the view. */
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
    windowClass.lpszClassName = WSCBS_HOST_MAIN_WINDOW_CLASS;
    RegisterClassA(&windowClass);
    mainWindow = CreateWindowA(WSCBS_HOST_MAIN_WINDOW_CLASS, "Host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                               CW_USEDEFAULT, CW_USEDEFAULT, 820, 480, NULL, NULL, windowClass.hInstance, NULL);
    WscbsContainer *container = containerCreate(mainWindow);
    if (container == NULL)
        return 2;
    ShowWindow(mainWindow, SW_SHOW);

    /* 3. InitSubApp, once. The buffer comes from the shared heap, with room
          for a "ResultMsgStr" entry: the module writes its text back within
          the block's size. */
    const char initText[] = "SubAppCode=WSCBS;UserCode=001;RunMode=1";
    char *buffer = (char *)sharedAlloc(sizeof initText + 1024);
    if (buffer == NULL)
        return 2;
    memcpy(buffer, initText, sizeof initText);
    char *pointer = buffer; /* the module follows &pointer; it never changes pointer */
    if (!initSubApp(mainWindow, &pointer)) {
        /* buffer: the text with ResultMsgStr=<reason> (GBK, '=' and ';'
           escaped as "&eq%" and "&lim%") */
        fprintf(stderr, "InitSubApp -> 0: %s\n", buffer);
        sharedFree(buffer);
        return 1;
    }
    printf("InitSubApp -> 1\n");
    sharedFree(buffer);

    /* 4. ShowFrmView into the container: the view becomes its borderless
          child, and with a "ModalFormMsg" in the text the shown notice
          names the view's window. The text is only read. */
    char showText[] = "SubAppCode=WSCBS;ModalFormMsg=WSCBS";
    char *showPointer = showText;
    printf("ShowFrmView -> %d\n", showFrmView(mainWindow, container, &showPointer));

    /* 5. The host's message loop runs the view's events. Closing the host's
          window (or --close) sends the view the host's close; closing
          destroys the view once the loop has handled its release, and the
          closed notice ends the loop. */
    if (closeAtOnce)
        PostMessageA(mainWindow, WM_CLOSE, 0, 0);
    while (!g_closed && GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    /* 6. No view is left: FreeDLLProc (it does nothing), then the unload. */
    freeDllProc(0, 0);
    containerDestroy(container);
    DestroyWindow(mainWindow);
    printf("FreeLibrary -> %d\n", FreeLibrary(module) != 0);
    return g_closed ? 0 : 1;
}
