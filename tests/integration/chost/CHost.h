/* The C host's two halves, its services (CHostServices.c) and its program
   (CHostProgram.c), in one DLL named ModuleLib.dll. */
#ifndef CHOST_H
#define CHOST_H

#include <windows.h>

#include <stdio.h>

#include "sqlite3.h"
#include "wscbs/wscbs.h"

struct CHostState {
    char installation[MAX_PATH];  /* ends with "\" */
    char hostFolder[MAX_PATH];
    char profile[MAX_PATH];
    char code[64];
    char subAppFolder[MAX_PATH];
    char database[MAX_PATH];
    char databaseScript[MAX_PATH];
    char currentFunction[64];
    WscbsValueObject* company;
    WscbsValueObject* user;
    WscbsValueObject* subApp;
    WscbsSubAppInfo record;
    HWND mainWindow;
    WscbsContainer* container;
    sqlite3* db;
    FILE* log;
    const char* period; /* what the period function "005-01" stores */
};

extern struct CHostState host;

/* Appends to the service log. */
void CHostLog(const char* format, ...);
/* The settings of the installation's host profile; 0 when it has none. */
int CHostReadSettings(const char* installation);

/* The host program: loads the module from the installation's host folder,
   initialises it, embeds its view in a window of its own, clicks the
   period link, closes the view and unloads the module; the service log
   goes to logFile, the rest to standard output. Exit status: 0 when every
   step went as the contract says. */
__declspec(dllexport) int __cdecl CHostRun(const char* installation, const char* logFile, const char* period);

#endif
