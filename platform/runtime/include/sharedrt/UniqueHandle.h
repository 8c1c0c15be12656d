#pragma once
// One owner type per Win32 handle kind, all from one template: the close
// function and the invalid value belong to the type. Move-only; get, release,
// reset. Closing keeps GetLastError intact, so a failure code read after an
// owner went out of scope is still the failing call's.
#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace rt {

template <typename Handle, auto Close, Handle Invalid()>
class UniqueHandle {
public:
    UniqueHandle() noexcept : handle_(Invalid()) {}
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    bool valid() const noexcept { return handle_ != Invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    Handle release() noexcept { return std::exchange(handle_, Invalid()); }

    void reset(Handle handle = Invalid()) noexcept
    {
        const Handle old = std::exchange(handle_, handle);
        if (old != Invalid()) {
            const DWORD lastError = GetLastError();
            Close(old);
            SetLastError(lastError);
        }
    }

    // For APIs that fill a handle through a pointer.
    Handle* put() noexcept
    {
        reset();
        return &handle_;
    }

private:
    Handle handle_;
};

namespace handle_detail {
template <typename T>
constexpr T Null() { return nullptr; }
inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }
inline void CloseFind(HANDLE h) { FindClose(h); }
inline void CloseFile(HANDLE h) { CloseHandle(h); }
inline void CloseKey(HKEY h) { RegCloseKey(h); }
inline void CloseLocal(HLOCAL h) { LocalFree(h); }
inline void CloseWindow(HWND h) { DestroyWindow(h); }
inline void CloseGdi(HGDIOBJ h) { DeleteObject(h); }
inline void CloseDc(HDC h) { DeleteDC(h); }
inline void CloseModule(HMODULE h) { FreeLibrary(h); }
inline void CloseImageList(HIMAGELIST h) { ImageList_Destroy(h); }
} // namespace handle_detail

using unique_hfile = UniqueHandle<HANDLE, handle_detail::CloseFile, handle_detail::InvalidHandleValue>;
using unique_handle = UniqueHandle<HANDLE, handle_detail::CloseFile, handle_detail::Null<HANDLE>>;
using unique_hfind = UniqueHandle<HANDLE, handle_detail::CloseFind, handle_detail::InvalidHandleValue>;
using unique_hkey = UniqueHandle<HKEY, handle_detail::CloseKey, handle_detail::Null<HKEY>>;
using unique_hlocal = UniqueHandle<HLOCAL, handle_detail::CloseLocal, handle_detail::Null<HLOCAL>>;
using unique_hwnd = UniqueHandle<HWND, handle_detail::CloseWindow, handle_detail::Null<HWND>>;
using unique_hgdiobj = UniqueHandle<HGDIOBJ, handle_detail::CloseGdi, handle_detail::Null<HGDIOBJ>>;
using unique_hbitmap = UniqueHandle<HBITMAP, handle_detail::CloseGdi, handle_detail::Null<HBITMAP>>;
using unique_hfont = UniqueHandle<HFONT, handle_detail::CloseGdi, handle_detail::Null<HFONT>>;
using unique_hbrush = UniqueHandle<HBRUSH, handle_detail::CloseGdi, handle_detail::Null<HBRUSH>>;
using unique_hpen = UniqueHandle<HPEN, handle_detail::CloseGdi, handle_detail::Null<HPEN>>;
using unique_hdc = UniqueHandle<HDC, handle_detail::CloseDc, handle_detail::Null<HDC>>;
using unique_hmodule = UniqueHandle<HMODULE, handle_detail::CloseModule, handle_detail::Null<HMODULE>>;
// Needs comctl32.
using unique_himagelist = UniqueHandle<HIMAGELIST, handle_detail::CloseImageList, handle_detail::Null<HIMAGELIST>>;

} // namespace rt
#endif
