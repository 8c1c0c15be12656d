/* A host's side of the sub-application module: load it, initialise it once,
   show its launcher view, answer its notices, and leave.
     host-example [<folder of wscbs.dll>\wscbs.dll]
   The host's services library (ModuleLib.dll, the 30 services) must already
   answer for the sub-application: the module imports it by name. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

typedef unsigned char Bool8; /* 1 true, 0 false */
typedef Bool8(__stdcall *InitSubAppProc)(HWND appWindow, char **hostBuffer);
typedef Bool8(__stdcall *ShowFrmViewProc)(HWND appWindow, void *container, char **hostText);
typedef Bool8(__stdcall *FreeDLLProcProc)(unsigned int first, unsigned int second);
typedef void *(*SharedHeapAllocZeroedProc)(size_t size);
typedef void (*SharedHeapFreeProc)(void *block);

/* The module finds the host's main window by this class when the host's
   services give no main window handle. */
static const char kMainWindowClass[] = "Tfrm_MainFrame";

static LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT *data = (const COPYDATASTRUCT *)lParam;
        if (data->dwData == 1282) /* a form was shown: "ModalFormMsg|handle|help|option" */
            printf("shown: %s\n", (const char *)data->lpData);
        else if (data->dwData == 1302) { /* a form was destroyed: its function code */
            printf("closed: %s\n", (const char *)data->lpData);
            PostQuitMessage(0);
        }
        return TRUE;
    }
    if (message == 1296) { /* F1 in a module form */
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
    InitSubAppProc initSubApp = (InitSubAppProc)(void (*)(void))GetProcAddress(module, "InitSubApp");
    ShowFrmViewProc showFrmView = (ShowFrmViewProc)(void (*)(void))GetProcAddress(module, "ShowFrmView");
    FreeDLLProcProc freeDllProc = (FreeDLLProcProc)(void (*)(void))GetProcAddress(module, "FreeDLLProc");
    HMODULE runtime = GetModuleHandleA("SharedRt.dll");
    SharedHeapAllocZeroedProc sharedAlloc =
        (SharedHeapAllocZeroedProc)(void (*)(void))GetProcAddress(runtime, "SharedHeapAllocZeroed");
    SharedHeapFreeProc sharedFree = (SharedHeapFreeProc)(void (*)(void))GetProcAddress(runtime, "SharedHeapFree");
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
          "ModalFormMsg", notice 1282 follows), or NULL for a free-standing
          view. The text is only read. */
    char showText[] = "SubAppCode=WSCBS";
    char *showPointer = showText;
    ShowWindow(mainWindow, SW_SHOW);
    showFrmView(mainWindow, NULL, &showPointer);

    /* 4. The host's message loop runs the view's events until the user
          closes the view (closing destroys it: notice 1302). */
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
