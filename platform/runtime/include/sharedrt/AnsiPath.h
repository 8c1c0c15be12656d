#pragma once
// Paths the system gives, in the process's ANSI code page, whole or not at
// all. The ANSI functions stop short of their buffer without an error when
// its end falls inside a double-byte character (GetModuleFileNameA answers
// 259 for a path longer than 260 bytes whose 260th byte begins a
// character), so a "length below the size" test takes a cut path for a
// whole one. These ask the system's wide functions, which report a short
// buffer, and convert: a path that the code page cannot hold is refused
// rather than given with '?' in it. Header-only, so that the module and the
// host each carry their own.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace rt {

// `wide` in the ANSI code page; none when a character has no form there.
inline std::optional<std::string> AnsiFromWide(std::wstring_view wide)
{
    if (wide.empty())
        return std::string();
    const int length = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr, &lost);
    if (size <= 0 || lost)
        return std::nullopt;
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), length, ansi.data(), size, nullptr, &lost);
    return lost ? std::nullopt : std::optional<std::string>(std::move(ansi));
}

// `ansi` as the system's wide text.
inline std::wstring WideFromAnsi(std::string_view ansi)
{
    if (ansi.empty())
        return {};
    const int length = static_cast<int>(ansi.size());
    const int size = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), size);
    return wide;
}

// The full path of `module` (the program for null); none when the system
// cannot say or the path has no ANSI form.
inline std::optional<std::string> ModuleFileName(HMODULE module)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::nullopt;
        if (length < path.size()) {  // the wide function fills the buffer exactly when it is short
            path.resize(length);
            return AnsiFromWide(path);
        }
        if (path.size() >= 32768)
            return std::nullopt;
        path.resize(path.size() * 2);
    }
}

// The folder of `module` (the program for null), ending with "\"; none as
// for ModuleFileName.
inline std::optional<std::string> ModuleFolder(HMODULE module)
{
    std::optional<std::string> path = ModuleFileName(module);
    if (path) {
        const std::wstring wide = WideFromAnsi(*path);
        const std::size_t slash = wide.find_last_of(L"\\/");
        path = AnsiFromWide(std::wstring_view(wide).substr(0, slash == std::wstring::npos ? 0 : slash + 1));
    }
    return path;
}

// `path` made full ("." and ".." resolved, relative to the current
// folder); none when the system cannot say or the result has no ANSI form.
inline std::optional<std::string> FullPathName(std::string_view path)
{
    const std::wstring wide = WideFromAnsi(path);
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return std::nullopt;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return std::nullopt;
    full.resize(length);
    return AnsiFromWide(full);
}

} // namespace rt
