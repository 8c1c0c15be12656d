#include "support/CallFaults.h"

#include "support/ImportPatch.h"

#include "hostmodel/ModuleLibApi.h"
#include "sharedrt/RtString.h"

#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <fstream>

namespace faults {
namespace {

// The replacements, in table order. The same list gives the hook numbers.
#define FAULT_KERNEL32_HOOKS(X)                                                                                  \
    X(CopyFileA) X(CreateDirectoryA) X(CreateFileA) X(CreateFileW) X(DeleteFileA) X(DeleteFileW) X(FindFirstFileA) \
    X(FindNextFileA) X(FlushFileBuffers) X(GetFileAttributesA) X(GetFileAttributesW) X(GetFileAttributesExW)      \
    X(GetFileSize) X(GetFileSizeEx) X(GetPrivateProfileSectionA) X(GetPrivateProfileSectionNamesA)                \
    X(GetPrivateProfileStringA) X(WritePrivateProfileStringA) X(MoveFileA) X(MoveFileExA) X(ReadFile) X(WriteFile) \
    X(SetEndOfFile) X(SetFilePointer) X(LockFile) X(LockFileEx) X(UnlockFile) X(UnlockFileEx)                       \
    X(GetSystemDirectoryA) X(GetModuleFileNameA) X(GetFullPathNameA) X(GetFullPathNameW) X(GetTempPathA)           \
    X(GetTempPathW) X(GetDiskFreeSpaceA) X(GetDiskFreeSpaceW) X(CreateFileMappingW) X(MapViewOfFile)               \
    X(FlushViewOfFile) X(CloseHandle)
#define FAULT_ADVAPI32_HOOKS(X) X(RegOpenKeyExA) X(RegQueryValueExA)
#define FAULT_SHELL32_HOOKS(X) X(ShellExecuteA)
#define FAULT_MSVCRT_HOOKS(X) X(fwrite) X(fputc) X(vfprintf)
// The host services hooked are every one of the contract header's list
// (WSCBS_HOST_SERVICES): each needs its Hook_ below.
enum HookId : int {
#define FAULT_ID(name) k##name,
#define FAULT_SERVICE_ID(result, name, parameters) FAULT_ID(name)
    FAULT_KERNEL32_HOOKS(FAULT_ID) FAULT_ADVAPI32_HOOKS(FAULT_ID) FAULT_SHELL32_HOOKS(FAULT_ID)
        FAULT_MSVCRT_HOOKS(FAULT_ID) WSCBS_HOST_SERVICES(FAULT_SERVICE_ID)
#undef FAULT_SERVICE_ID
#undef FAULT_ID
    kFilebufOpen,
    kHookCount
};

// libstdc++'s std::basic_filebuf<char>::open(const char*, ios_base::openmode),
// which ModuleLib.dll imports for reading its database script.
constexpr const char kFilebufOpenName[] = "_ZNSt13basic_filebufIcSt11char_traitsIcEE4openEPKcSt13_Ios_Openmode";
#if defined(__i386__)
#define FAULTS_THISCALL __attribute__((thiscall))
#else
#define FAULTS_THISCALL
#endif
using Filebuf = std::basic_filebuf<char>;
using FilebufOpenFunction = Filebuf*(FAULTS_THISCALL*)(Filebuf*, const char*, std::ios_base::openmode);

CallFaults& Faults() { return CallFaults::Instance(); }

template <typename Function>
Function Original(int hook, const void* caller)
{
    return reinterpret_cast<Function>(Faults().Original(hook, caller));
}

template <typename Value>
Value FailWith(Value value, DWORD error)
{
    SetLastError(error);
    return value;
}

std::string Text(const char* text) { return text != nullptr ? text : ""; }

std::string Text(const wchar_t* text)
{
    if (text == nullptr)
        return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_ACP, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

bool Writes(DWORD access) { return (access & (GENERIC_WRITE | FILE_WRITE_DATA | FILE_APPEND_DATA)) != 0; }

// An empty double-NUL list, the answer of the profile list functions to a
// file they cannot read.
DWORD EmptyList(char* buffer, DWORD size)
{
    if (buffer != nullptr && size >= 2)
        buffer[0] = buffer[1] = '\0';
    else if (buffer != nullptr && size == 1)
        buffer[0] = '\0';
    return 0;
}

#define CALLER __builtin_return_address(0)

// --- kernel32 --------------------------------------------------------------------

BOOL WINAPI Hook_CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists)
{
    if (Faults().Enter(kCopyFileA, CALLER, Text(to)))
        return FailWith(FALSE, ERROR_DISK_FULL);
    return Original<decltype(&CopyFileA)>(kCopyFileA, CALLER)(from, to, failIfExists);
}

BOOL WINAPI Hook_CreateDirectoryA(LPCSTR path, LPSECURITY_ATTRIBUTES security)
{
    if (Faults().Enter(kCreateDirectoryA, CALLER, Text(path)))
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    return Original<decltype(&CreateDirectoryA)>(kCreateDirectoryA, CALLER)(path, security);
}

HANDLE WINAPI Hook_CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (Faults().Enter(kCreateFileA, CALLER, Text(name)))
        return FailWith(INVALID_HANDLE_VALUE, Writes(access) ? ERROR_ACCESS_DENIED : ERROR_SHARING_VIOLATION);
    const HANDLE handle = Original<decltype(&CreateFileA)>(kCreateFileA, CALLER)(name, access, share, security,
                                                                                disposition, flags, templateFile);
    if (handle != INVALID_HANDLE_VALUE)
        Faults().NoteHandle(handle, Text(name));
    return handle;
}

HANDLE WINAPI Hook_CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile)
{
    if (Faults().Enter(kCreateFileW, CALLER, Text(name)))
        return FailWith(INVALID_HANDLE_VALUE, Writes(access) ? ERROR_ACCESS_DENIED : ERROR_SHARING_VIOLATION);
    const HANDLE handle = Original<decltype(&CreateFileW)>(kCreateFileW, CALLER)(name, access, share, security,
                                                                                disposition, flags, templateFile);
    if (handle != INVALID_HANDLE_VALUE)
        Faults().NoteHandle(handle, Text(name));
    return handle;
}

BOOL WINAPI Hook_DeleteFileA(LPCSTR path)
{
    if (Faults().Enter(kDeleteFileA, CALLER, Text(path)))
        return FailWith(FALSE, ERROR_SHARING_VIOLATION);
    return Original<decltype(&DeleteFileA)>(kDeleteFileA, CALLER)(path);
}

BOOL WINAPI Hook_DeleteFileW(LPCWSTR path)
{
    if (Faults().Enter(kDeleteFileW, CALLER, Text(path)))
        return FailWith(FALSE, ERROR_SHARING_VIOLATION);
    return Original<decltype(&DeleteFileW)>(kDeleteFileW, CALLER)(path);
}

HANDLE WINAPI Hook_FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA data)
{
    if (Faults().Enter(kFindFirstFileA, CALLER, Text(pattern)))
        return FailWith(INVALID_HANDLE_VALUE, ERROR_ACCESS_DENIED);
    const HANDLE handle = Original<decltype(&FindFirstFileA)>(kFindFirstFileA, CALLER)(pattern, data);
    if (handle != INVALID_HANDLE_VALUE)
        Faults().NoteHandle(handle, Text(pattern));
    return handle;
}

BOOL WINAPI Hook_FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA data)
{
    if (Faults().Enter(kFindNextFileA, CALLER, Faults().HandleSubject(find)))
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    return Original<decltype(&FindNextFileA)>(kFindNextFileA, CALLER)(find, data);
}

BOOL WINAPI Hook_FlushFileBuffers(HANDLE file)
{
    if (Faults().Enter(kFlushFileBuffers, CALLER, Faults().HandleSubject(file)))
        return FailWith(FALSE, ERROR_DISK_FULL);
    return Original<decltype(&FlushFileBuffers)>(kFlushFileBuffers, CALLER)(file);
}

DWORD WINAPI Hook_GetFileAttributesA(LPCSTR path)
{
    if (Faults().Enter(kGetFileAttributesA, CALLER, Text(path)))
        return FailWith(INVALID_FILE_ATTRIBUTES, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetFileAttributesA)>(kGetFileAttributesA, CALLER)(path);
}

DWORD WINAPI Hook_GetFileAttributesW(LPCWSTR path)
{
    if (Faults().Enter(kGetFileAttributesW, CALLER, Text(path)))
        return FailWith(INVALID_FILE_ATTRIBUTES, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetFileAttributesW)>(kGetFileAttributesW, CALLER)(path);
}

BOOL WINAPI Hook_GetFileAttributesExW(LPCWSTR path, GET_FILEEX_INFO_LEVELS level, LPVOID information)
{
    if (Faults().Enter(kGetFileAttributesExW, CALLER, Text(path)))
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetFileAttributesExW)>(kGetFileAttributesExW, CALLER)(path, level, information);
}

DWORD WINAPI Hook_GetFileSize(HANDLE file, LPDWORD high)
{
    if (Faults().Enter(kGetFileSize, CALLER, Faults().HandleSubject(file)))
        return FailWith(INVALID_FILE_SIZE, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetFileSize)>(kGetFileSize, CALLER)(file, high);
}

BOOL WINAPI Hook_GetFileSizeEx(HANDLE file, PLARGE_INTEGER size)
{
    if (Faults().Enter(kGetFileSizeEx, CALLER, Faults().HandleSubject(file)))
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetFileSizeEx)>(kGetFileSizeEx, CALLER)(file, size);
}

DWORD WINAPI Hook_GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file)
{
    if (Faults().Enter(kGetPrivateProfileSectionA, CALLER, Text(file)))
        return FailWith(EmptyList(buffer, size), ERROR_SHARING_VIOLATION);
    return Original<decltype(&GetPrivateProfileSectionA)>(kGetPrivateProfileSectionA, CALLER)(section, buffer, size,
                                                                                              file);
}

DWORD WINAPI Hook_GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR file)
{
    if (Faults().Enter(kGetPrivateProfileSectionNamesA, CALLER, Text(file)))
        return FailWith(EmptyList(buffer, size), ERROR_SHARING_VIOLATION);
    return Original<decltype(&GetPrivateProfileSectionNamesA)>(kGetPrivateProfileSectionNamesA, CALLER)(buffer, size,
                                                                                                        file);
}

// A file the call cannot read gives the default, as a missing one does.
DWORD WINAPI Hook_GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                                           LPCSTR file)
{
    if (Faults().Enter(kGetPrivateProfileStringA, CALLER, Text(file))) {
        DWORD length = 0;
        if (buffer != nullptr && size > 0) {
            const std::string fallback = Text(defaultValue);
            length = static_cast<DWORD>(std::min<std::size_t>(fallback.size(), size - 1));
            fallback.copy(buffer, length);
            buffer[length] = '\0';
        }
        return FailWith(length, ERROR_SHARING_VIOLATION);
    }
    return Original<decltype(&GetPrivateProfileStringA)>(kGetPrivateProfileStringA, CALLER)(
        section, key, defaultValue, buffer, size, file);
}

BOOL WINAPI Hook_WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file)
{
    if (Faults().Enter(kWritePrivateProfileStringA, CALLER, Text(file)))
        return FailWith(FALSE, ERROR_DISK_FULL);
    return Original<decltype(&WritePrivateProfileStringA)>(kWritePrivateProfileStringA, CALLER)(section, key, value,
                                                                                                file);
}

BOOL WINAPI Hook_MoveFileA(LPCSTR from, LPCSTR to)
{
    if (Faults().Enter(kMoveFileA, CALLER, Text(to)))
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    return Original<decltype(&MoveFileA)>(kMoveFileA, CALLER)(from, to);
}

BOOL WINAPI Hook_MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags)
{
    if (Faults().Enter(kMoveFileExA, CALLER, Text(to)))
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    return Original<decltype(&MoveFileExA)>(kMoveFileExA, CALLER)(from, to, flags);
}

BOOL WINAPI Hook_ReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD read, LPOVERLAPPED overlapped)
{
    if (Faults().Enter(kReadFile, CALLER, Faults().HandleSubject(file))) {
        if (read != nullptr)
            *read = 0;
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    }
    return Original<decltype(&ReadFile)>(kReadFile, CALLER)(file, buffer, size, read, overlapped);
}

BOOL WINAPI Hook_WriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED overlapped)
{
    if (Faults().Enter(kWriteFile, CALLER, Faults().HandleSubject(file))) {
        if (written != nullptr)
            *written = 0;
        return FailWith(FALSE, ERROR_DISK_FULL);
    }
    return Original<decltype(&WriteFile)>(kWriteFile, CALLER)(file, buffer, size, written, overlapped);
}

BOOL WINAPI Hook_SetEndOfFile(HANDLE file)
{
    if (Faults().Enter(kSetEndOfFile, CALLER, Faults().HandleSubject(file)))
        return FailWith(FALSE, ERROR_DISK_FULL);
    return Original<decltype(&SetEndOfFile)>(kSetEndOfFile, CALLER)(file);
}

DWORD WINAPI Hook_SetFilePointer(HANDLE file, LONG distance, PLONG high, DWORD method)
{
    if (Faults().Enter(kSetFilePointer, CALLER, Faults().HandleSubject(file)))
        return FailWith(INVALID_SET_FILE_POINTER, ERROR_ACCESS_DENIED);
    return Original<decltype(&SetFilePointer)>(kSetFilePointer, CALLER)(file, distance, high, method);
}

BOOL WINAPI Hook_LockFile(HANDLE file, DWORD offsetLow, DWORD offsetHigh, DWORD lengthLow, DWORD lengthHigh)
{
    if (Faults().Enter(kLockFile, CALLER, Faults().HandleSubject(file)))
        return FailWith(FALSE, ERROR_LOCK_VIOLATION);
    return Original<decltype(&LockFile)>(kLockFile, CALLER)(file, offsetLow, offsetHigh, lengthLow, lengthHigh);
}

BOOL WINAPI Hook_LockFileEx(HANDLE file, DWORD flags, DWORD reserved, DWORD lengthLow, DWORD lengthHigh,
                            LPOVERLAPPED overlapped)
{
    if (Faults().Enter(kLockFileEx, CALLER, Faults().HandleSubject(file)))
        return FailWith(FALSE, ERROR_LOCK_VIOLATION);
    return Original<decltype(&LockFileEx)>(kLockFileEx, CALLER)(file, flags, reserved, lengthLow, lengthHigh,
                                                                overlapped);
}

BOOL WINAPI Hook_UnlockFile(HANDLE file, DWORD offsetLow, DWORD offsetHigh, DWORD lengthLow, DWORD lengthHigh)
{
    if (Faults().Enter(kUnlockFile, CALLER, Faults().HandleSubject(file)))
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    return Original<decltype(&UnlockFile)>(kUnlockFile, CALLER)(file, offsetLow, offsetHigh, lengthLow, lengthHigh);
}

BOOL WINAPI Hook_UnlockFileEx(HANDLE file, DWORD reserved, DWORD lengthLow, DWORD lengthHigh,
                              LPOVERLAPPED overlapped)
{
    if (Faults().Enter(kUnlockFileEx, CALLER, Faults().HandleSubject(file)))
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    return Original<decltype(&UnlockFileEx)>(kUnlockFileEx, CALLER)(file, reserved, lengthLow, lengthHigh,
                                                                    overlapped);
}

UINT WINAPI Hook_GetSystemDirectoryA(LPSTR buffer, UINT size)
{
    if (Faults().Enter(kGetSystemDirectoryA, CALLER, {}))
        return FailWith(0u, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetSystemDirectoryA)>(kGetSystemDirectoryA, CALLER)(buffer, size);
}

DWORD WINAPI Hook_GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size)
{
    if (Faults().Enter(kGetModuleFileNameA, CALLER, {}))
        return FailWith(DWORD{0}, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetModuleFileNameA)>(kGetModuleFileNameA, CALLER)(module, buffer, size);
}

DWORD WINAPI Hook_GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR* filePart)
{
    if (Faults().Enter(kGetFullPathNameA, CALLER, Text(path)))
        return FailWith(DWORD{0}, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetFullPathNameA)>(kGetFullPathNameA, CALLER)(path, size, buffer, filePart);
}

DWORD WINAPI Hook_GetFullPathNameW(LPCWSTR path, DWORD size, LPWSTR buffer, LPWSTR* filePart)
{
    if (Faults().Enter(kGetFullPathNameW, CALLER, Text(path)))
        return FailWith(DWORD{0}, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetFullPathNameW)>(kGetFullPathNameW, CALLER)(path, size, buffer, filePart);
}

DWORD WINAPI Hook_GetTempPathA(DWORD size, LPSTR buffer)
{
    if (Faults().Enter(kGetTempPathA, CALLER, {}))
        return FailWith(DWORD{0}, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetTempPathA)>(kGetTempPathA, CALLER)(size, buffer);
}

DWORD WINAPI Hook_GetTempPathW(DWORD size, LPWSTR buffer)
{
    if (Faults().Enter(kGetTempPathW, CALLER, {}))
        return FailWith(DWORD{0}, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetTempPathW)>(kGetTempPathW, CALLER)(size, buffer);
}

BOOL WINAPI Hook_GetDiskFreeSpaceA(LPCSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                                   LPDWORD freeClusters, LPDWORD totalClusters)
{
    if (Faults().Enter(kGetDiskFreeSpaceA, CALLER, Text(root)))
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetDiskFreeSpaceA)>(kGetDiskFreeSpaceA, CALLER)(root, sectorsPerCluster,
                                                                              bytesPerSector, freeClusters,
                                                                              totalClusters);
}

BOOL WINAPI Hook_GetDiskFreeSpaceW(LPCWSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                                   LPDWORD freeClusters, LPDWORD totalClusters)
{
    if (Faults().Enter(kGetDiskFreeSpaceW, CALLER, Text(root)))
        return FailWith(FALSE, ERROR_ACCESS_DENIED);
    return Original<decltype(&GetDiskFreeSpaceW)>(kGetDiskFreeSpaceW, CALLER)(root, sectorsPerCluster,
                                                                              bytesPerSector, freeClusters,
                                                                              totalClusters);
}

HANDLE WINAPI Hook_CreateFileMappingW(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect, DWORD sizeHigh,
                                      DWORD sizeLow, LPCWSTR name)
{
    if (Faults().Enter(kCreateFileMappingW, CALLER, Faults().HandleSubject(file)))
        return FailWith(HANDLE{nullptr}, ERROR_DISK_FULL);
    return Original<decltype(&CreateFileMappingW)>(kCreateFileMappingW, CALLER)(file, security, protect, sizeHigh,
                                                                                sizeLow, name);
}

LPVOID WINAPI Hook_MapViewOfFile(HANDLE mapping, DWORD access, DWORD offsetHigh, DWORD offsetLow, SIZE_T size)
{
    if (Faults().Enter(kMapViewOfFile, CALLER, {}))
        return FailWith(LPVOID{nullptr}, ERROR_ACCESS_DENIED);
    return Original<decltype(&MapViewOfFile)>(kMapViewOfFile, CALLER)(mapping, access, offsetHigh, offsetLow, size);
}

BOOL WINAPI Hook_FlushViewOfFile(LPCVOID address, SIZE_T size)
{
    if (Faults().Enter(kFlushViewOfFile, CALLER, {}))
        return FailWith(FALSE, ERROR_DISK_FULL);
    return Original<decltype(&FlushViewOfFile)>(kFlushViewOfFile, CALLER)(address, size);
}

// Closing a file can report a write that the system had deferred: the handle
// is closed all the same.
BOOL WINAPI Hook_CloseHandle(HANDLE handle)
{
    const std::string subject = Faults().HandleSubject(handle);
    const bool fail = Faults().Enter(kCloseHandle, CALLER, subject);
    Faults().ForgetHandle(handle);
    const BOOL closed = Original<decltype(&CloseHandle)>(kCloseHandle, CALLER)(handle);
    if (fail && closed)
        return FailWith(FALSE, ERROR_DISK_FULL);
    return closed;
}

// --- advapi32 and shell32 ----------------------------------------------------------

LSTATUS WINAPI Hook_RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result)
{
    if (Faults().Enter(kRegOpenKeyExA, CALLER, Text(subKey))) {
        if (result != nullptr)
            *result = nullptr;
        return ERROR_ACCESS_DENIED;
    }
    return Original<decltype(&RegOpenKeyExA)>(kRegOpenKeyExA, CALLER)(key, subKey, options, access, result);
}

LSTATUS WINAPI Hook_RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                     LPDWORD size)
{
    if (Faults().Enter(kRegQueryValueExA, CALLER, Text(name)))
        return ERROR_ACCESS_DENIED;
    return Original<decltype(&RegQueryValueExA)>(kRegQueryValueExA, CALLER)(key, name, reserved, type, data, size);
}

HINSTANCE WINAPI Hook_ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                    INT show)
{
    if (Faults().Enter(kShellExecuteA, CALLER, Text(file)))
        return FailWith(reinterpret_cast<HINSTANCE>(SE_ERR_ACCESSDENIED), ERROR_ACCESS_DENIED);
    return Original<decltype(&ShellExecuteA)>(kShellExecuteA, CALLER)(window, operation, file, parameters, directory,
                                                                      show);
}

// --- the C runtime ----------------------------------------------------------------

template <typename Value>
Value FailWithErrno(Value value, int error)
{
    errno = error;
    return value;
}

std::size_t Hook_fwrite(const void* data, std::size_t size, std::size_t count, FILE* stream)
{
    if (Faults().Enter(kfwrite, CALLER, {}))
        return FailWithErrno(std::size_t{0}, ENOSPC);
    return Original<decltype(&std::fwrite)>(kfwrite, CALLER)(data, size, count, stream);
}

int Hook_fputc(int c, FILE* stream)
{
    if (Faults().Enter(kfputc, CALLER, {}))
        return FailWithErrno(EOF, ENOSPC);
    return Original<decltype(&std::fputc)>(kfputc, CALLER)(c, stream);
}

int Hook_vfprintf(FILE* stream, const char* format, va_list arguments)
{
    if (Faults().Enter(kvfprintf, CALLER, {}))
        return FailWithErrno(-1, ENOSPC);
    return Original<int (*)(FILE*, const char*, va_list)>(kvfprintf, CALLER)(stream, format, arguments);
}

Filebuf* FAULTS_THISCALL Hook_FilebufOpen(Filebuf* self, const char* name, std::ios_base::openmode mode)
{
    if (Faults().Enter(kFilebufOpen, CALLER, Text(name)))
        return FailWithErrno(static_cast<Filebuf*>(nullptr), EACCES);
    return Original<FilebufOpenFunction>(kFilebufOpen, CALLER)(self, name, mode);
}

// --- the host's services -------------------------------------------------------------
// The host model lets no error out of a service: a failure inside gives the
// neutral result (empty text, null, 0, false) and nothing done.

void Neutral(rt::RtString* result)
{
    if (result != nullptr)
        *result = std::string_view();
}

#define FAULT_TEXT_SERVICE(name, params, args, result)                    \
    void __stdcall Hook_##name params                                     \
    {                                                                     \
        if (Faults().Enter(k##name, CALLER, {}))                          \
            return Neutral(result);                                       \
        return Original<decltype(&::name)>(k##name, CALLER) args;         \
    }
#define FAULT_VALUE_SERVICE(name, type, neutral, params, args)            \
    type __stdcall Hook_##name params                                     \
    {                                                                     \
        if (Faults().Enter(k##name, CALLER, {}))                          \
            return neutral;                                               \
        return Original<decltype(&::name)>(k##name, CALLER) args;         \
    }
#define FAULT_VOID_SERVICE(name, params, args)                            \
    void __stdcall Hook_##name params                                     \
    {                                                                     \
        if (Faults().Enter(k##name, CALLER, {}))                          \
            return;                                                       \
        return Original<decltype(&::name)>(k##name, CALLER) args;         \
    }

FAULT_TEXT_SERVICE(GetCurSubAppCode, (rt::RtString * r), (r), r)
FAULT_TEXT_SERVICE(GetCurSubAppPath, (rt::RtString * r), (r), r)
FAULT_TEXT_SERVICE(GetSubAppPath, (const char* code, rt::RtString* r), (code, r), r)
FAULT_TEXT_SERVICE(GetAppPath, (rt::RtString * r), (r), r)
FAULT_TEXT_SERVICE(GetCurFuncCode, (rt::RtString * r), (r), r)
FAULT_TEXT_SERVICE(GetSubAppIndividuationParam,
                   (const char* code, const char* key, const char* fallback, rt::RtString* r),
                   (code, key, fallback, r), r)
FAULT_TEXT_SERVICE(GetUserConfigParam, (const char* section, const char* key, const char* fallback, rt::RtString* r),
                   (section, key, fallback, r), r)
FAULT_TEXT_SERVICE(ReadIniValueStr,
                   (const char* file, const char* section, const char* key, const char* fallback, rt::RtString* r),
                   (file, section, key, fallback, r), r)
FAULT_TEXT_SERVICE(FetchHeadstrTrim, (rt::Bool8 removeHead, const char* separator, rt::RtString* text,
                                      rt::RtString* r),
                   (removeHead, separator, text, r), r)
FAULT_VALUE_SERVICE(GetCurSubAppVo, rt::DataVO*, nullptr, (), ())
FAULT_VALUE_SERVICE(GetCompanyInfoVO, rt::DataVO*, nullptr, (), ())
FAULT_VALUE_SERVICE(GetUserInfoVO, rt::DataVO*, nullptr, (), ())
FAULT_VALUE_SERVICE(GetCurSubAppInfo, const WscbsSubAppInfo*, nullptr, (), ())
FAULT_VALUE_SERVICE(GetpSubAppInfo, const WscbsSubAppInfo*, nullptr, (const char* code), (code))
FAULT_VALUE_SERVICE(GetAppHandle, rt::WindowHandle, nullptr, (), ())
FAULT_VALUE_SERVICE(GetMainFrameHandle, rt::WindowHandle, nullptr, (), ())
FAULT_VALUE_SERVICE(GetCurParentForm, void*, nullptr, (), ())
FAULT_VALUE_SERVICE(GetgsMainFrameParentForm, void*, nullptr, (), ())
FAULT_VALUE_SERVICE(CheckFunctionCanUse, rt::Bool8, 0, (const char* code), (code))
FAULT_VALUE_SERVICE(ExecuteFunc, rt::Bool8, 0, (void* owner, const char* code, char** buffer),
                    (owner, code, buffer))
FAULT_VALUE_SERVICE(gclSysFontColor, std::uint32_t, 0, (), ())
FAULT_VALUE_SERVICE(gclModuleBackColor, std::uint32_t, 0, (), ())
FAULT_VALUE_SERVICE(gclModuleToolBarColor, std::uint32_t, 0, (), ())
FAULT_VALUE_SERVICE(giSysFontSize, std::int32_t, 0, (), ())
FAULT_VALUE_SERVICE(giSysFontCharSet, std::int32_t, 0, (), ())
FAULT_VOID_SERVICE(WriteIniValueString, (const char* file, const char* section, const char* key, const char* value),
                   (file, section, key, value))
FAULT_VOID_SERVICE(InforMsg, (std::int32_t code, const char* text, rt::Bool8 flag), (code, text, flag))
FAULT_VOID_SERVICE(SetSkinSchemeCtrls, (void* form), (form))
FAULT_VOID_SERVICE(SetgsHelpHtml, (const char* page), (page))

rt::Bool8 __stdcall Hook_ExecADOQueryMsg(const char* connection, const char* sql, rt::RtQuery** query,
                                         rt::RtString* message, std::int32_t reserved, rt::Bool8 reservedFlag)
{
    const std::string statement = Text(sql);
    Faults().NotifyStatement(statement, true, false);
    rt::Bool8 done = 0;
    if (!Faults().Enter(kExecADOQueryMsg, CALLER, statement))
        done = Original<decltype(&::ExecADOQueryMsg)>(kExecADOQueryMsg, CALLER)(connection, sql, query, message,
                                                                                reserved, reservedFlag);
    Faults().NotifyStatement(statement, false, done != 0);
    return done;
}

#undef CALLER

} // namespace

const std::vector<HookInfo>& Hooks()
{
    static const std::vector<HookInfo> hooks = [] {
        std::vector<HookInfo> table;
#define FAULT_ROW(dll, name) table.push_back({dll, #name, reinterpret_cast<void*>(&Hook_##name)});
#define FAULT_KERNEL32(name) FAULT_ROW("kernel32.dll", name)
#define FAULT_ADVAPI32(name) FAULT_ROW("advapi32.dll", name)
#define FAULT_SHELL32(name) FAULT_ROW("shell32.dll", name)
#define FAULT_MSVCRT(name) FAULT_ROW("msvcrt.dll", name)
#define FAULT_HOST(name) FAULT_ROW("ModuleLib.dll", name)
        FAULT_KERNEL32_HOOKS(FAULT_KERNEL32)
        FAULT_ADVAPI32_HOOKS(FAULT_ADVAPI32)
        FAULT_SHELL32_HOOKS(FAULT_SHELL32)
        FAULT_MSVCRT_HOOKS(FAULT_MSVCRT)
#define FAULT_SERVICE_ROW(result, name, parameters) FAULT_HOST(name)
        WSCBS_HOST_SERVICES(FAULT_SERVICE_ROW)
#undef FAULT_SERVICE_ROW
#undef FAULT_ROW
        table.push_back({"libstdc++-6.dll", kFilebufOpenName, reinterpret_cast<void*>(&Hook_FilebufOpen)});
        return table;
    }();
    return hooks;
}

const char* ImporterName(Importer importer)
{
    switch (importer) {
    case Importer::Module:
        return "wscbs.dll";
    case Importer::Host:
        return "ModuleLib.dll";
    default:
        return "?";
    }
}

CallFaults& CallFaults::Instance()
{
    static CallFaults* const instance = new CallFaults;
    return *instance;
}

void CallFaults::Install(HMODULE module, Importer importer)
{
    Remove(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const unsigned char*>(module) +
                                                               dos->e_lfanew);
    Installed entry{module, importer, reinterpret_cast<std::uintptr_t>(module),
                    reinterpret_cast<std::uintptr_t>(module) + nt->OptionalHeader.SizeOfImage, {}, {}};
    const std::vector<HookInfo>& hooks = Hooks();
    entry.originals.assign(hooks.size(), nullptr);
    for (std::size_t i = 0; i < hooks.size(); ++i) {
        testing_support::ImportSlot* slot = testing_support::FindImportSlot(module, hooks[i].dll, hooks[i].function);
        if (slot == nullptr)
            continue;
        entry.originals[i] = reinterpret_cast<void*>(*slot);
        entry.slots.emplace_back(static_cast<int>(i), reinterpret_cast<void**>(slot));
        testing_support::WriteImportSlot(slot, reinterpret_cast<testing_support::ImportSlot>(hooks[i].replacement));
    }
    installed_.push_back(std::move(entry));
}

void CallFaults::Remove(HMODULE module)
{
    for (auto it = installed_.begin(); it != installed_.end(); ++it) {
        if (it->module != module)
            continue;
        for (const auto& [hook, slot] : it->slots)
            testing_support::WriteImportSlot(reinterpret_cast<testing_support::ImportSlot*>(slot),
                                             reinterpret_cast<testing_support::ImportSlot>(it->originals[hook]));
        installed_.erase(it);
        return;
    }
}

void CallFaults::Begin(std::uint64_t failAt)
{
    calls_.clear();
    handles_.clear();
    failAt_ = failAt;
    fired_ = false;
    counting_ = true;
}

void CallFaults::End()
{
    counting_ = false;
}

const CallFaults::Installed* CallFaults::Owner(const void* address) const
{
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    for (const Installed& entry : installed_)
        if (at >= entry.base && at < entry.end)
            return &entry;
    return nullptr;
}

bool CallFaults::Enter(int hook, const void* returnAddress, std::string subject)
{
    if (!counting_)
        return false;
    const Installed* owner = Owner(returnAddress);
    CountedCall call;
    call.hook = hook;
    call.importer = owner != nullptr ? owner->importer : Importer::Unknown;
    call.callerOffset = owner != nullptr ? reinterpret_cast<std::uintptr_t>(returnAddress) - owner->base : 0;
    call.subject = std::move(subject);
    calls_.push_back(std::move(call));
    if (calls_.size() != failAt_)
        return false;
    fired_ = true;
    return true;
}

void* CallFaults::Original(int hook, const void* returnAddress) const
{
    if (const Installed* owner = Owner(returnAddress); owner != nullptr && owner->originals[hook] != nullptr)
        return owner->originals[hook];
    for (const Installed& entry : installed_)
        if (entry.originals[hook] != nullptr)
            return entry.originals[hook];
    // Only an installed table leads here.
    std::abort();
}

std::string CallFaults::HandleSubject(HANDLE handle) const
{
    const auto found = handles_.find(handle);
    return found != handles_.end() ? found->second : std::string();
}

void CallFaults::NoteHandle(HANDLE handle, const std::string& subject)
{
    if (counting_)
        handles_[handle] = subject;
}

void CallFaults::ForgetHandle(HANDLE handle)
{
    handles_.erase(handle);
}

void CallFaults::NotifyStatement(const std::string& statement, bool before, bool done)
{
    if (!observer_ || !counting_)
        return;
    counting_ = false;
    observer_(statement, before, done);
    counting_ = true;
}

} // namespace faults
