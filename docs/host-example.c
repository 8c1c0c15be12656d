/* A host's side of the sub-application module: load it, initialise it once,
   show its launcher view, answer its notices, and leave.
     host-example [<folder of wscbs.dll>\wscbs.dll]
   The host's services library (ModuleLib.dll, the 30 services) must already
   answer for the sub-application: the module imports it by name.
   include/wscbs/wscbs.h is the contract: the exports, the messages, the
   exchange records and the host services. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

#include "wscbs/wscbs.h"

/* The module finds the host's main window by this class when the host's
   services give no main window handle. */
static const char kMainWindowClass[] = WSCBS_HOST_MAIN_WINDOW_CLASS;

static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT *data = (const COPYDATASTRUCT *)lParam;
        if (data->dwData == WSCBS_CD_FORM_SHOWN) /* "ModalFormMsg|handle|help|option" */
            printf("shown: %s\n", (const char *)data->lpData);
        else if (data->dwData == WSCBS_CD_FORM_CLOSED) { /* its function code */
            printf("closed: %s\n", (const char *)data->lpData);
            PostQuitMessage(0);
        }
        return TRUE;
    }
    if (message == WSCBS_MSG_HELP_REQUEST) { /* F1 in a module form */
        printf("help requested\n");
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int main(int argc, char **argv)
{
    const char *modulePath = argc > 1 ? argv[1] : "wscbs.dll";
    WNDCLASSA windowClass;
    memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = GetModuleHandleA(NULL);
    windowClass.lpszClassName = kMainWindowClass;
    RegisterClassA(&windowClass);
    HWND mainWindow = CreateWindowA(kMainWindowClass, "Host", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                    800, 600, NULL, NULL, windowClass.hInstance, NULL);

    /* 1. Load the module; its imports (SharedRt.dll, XPKestrel.dll,
          ModuleLib.dll) load with it. */
    HMODULE module = LoadLibraryA(modulePath);
    if (module == NULL) {
        fprintf(stderr, "cannot load %s (error %lu)\n", modulePath, (unsigned long)GetLastError());
        return 2;
    }
    WscbsInitSubAppProc initSubApp = (WscbsInitSubAppProc)(void (*)(void))GetProcAddress(module, "InitSubApp");
    WscbsShowFrmViewProc showFrmView = (WscbsShowFrmViewProc)(void (*)(void))GetProcAddress(module, "ShowFrmView");
    WscbsFreeDLLProcProc freeDllProc = (WscbsFreeDLLProcProc)(void (*)(void))GetProcAddress(module, "FreeDLLProc");
    HMODULE runtime = GetModuleHandleA("SharedRt.dll");
    WscbsSharedHeapAllocZeroedProc sharedAlloc = (WscbsSharedHeapAllocZeroedProc)(void (*)(void))GetProcAddress(
        runtime, WSCBS_SHARED_HEAP_ALLOC_ZEROED);
    WscbsSharedHeapFreeProc sharedFree =
        (WscbsSharedHeapFreeProc)(void (*)(void))GetProcAddress(runtime, WSCBS_SHARED_HEAP_FREE);
    if (initSubApp == NULL || showFrmView == NULL || freeDllProc == NULL || sharedAlloc == NULL || sharedFree == NULL) {
        fprintf(stderr, "%s lacks an export\n", modulePath);
        return 2;
    }

    /* 2. InitSubApp, once. The buffer comes from the shared heap, with room
          for a "ResultMsgStr" entry: the module writes its text back within
          the block's size. */
    const char initText[] = "SubAppCode=WSCBS;UserCode=001;RunMode=1";
    const size_t size = sizeof initText + 1024;
    char *buffer = (char *)sharedAlloc(size);
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
    sharedFree(buffer);

    /* 3. ShowFrmView: a container control of the shared runtime (the view
          becomes its borderless child and, when the text names a
          "ModalFormMsg", the shown notice follows), or NULL for a free-standing
          view. The text is only read. */
    char showText[] = "SubAppCode=WSCBS";
    char *showPointer = showText;
    ShowWindow(mainWindow, SW_SHOW);
    showFrmView(mainWindow, NULL, &showPointer);

    /* 4. The host's message loop runs the view's events until the user
          closes the view (closing destroys it: the closed notice). */
    MSG message;
    while (GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }

    /* 5. FreeDLLProc does nothing; the module may be unloaded once no form
          of it is left. */
    freeDllProc(0, 0);
    FreeLibrary(module);
    DestroyWindow(mainWindow);
    return 0;
}
