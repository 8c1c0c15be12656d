#pragma once
// Text rules of the host: ASCII-only case folding, GBK-safe cuts, trimming,
// length-prefixed fields and the GBK/UTF-8 edge to SQLite.
#include "sharedrt/GbkText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hostmodel {

// GBK texts: equal when they differ only in the case of ASCII letters that
// begin a character (a trail byte is never folded).
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept;
std::string AsciiUpper(std::string_view text);

// UTF-8 texts (SQLite's names and statements), as SQLite compares names:
// every byte that is an ASCII letter is folded; the bytes of a multi-byte
// character are never letters.
bool Utf8EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) noexcept;
std::string Utf8AsciiUpper(std::string_view text);

// The first position of `part` in `text` that starts a character (never
// inside a double-byte GBK character); npos when none or `part` is empty.
std::size_t FindInGbk(std::string_view text, std::string_view part) noexcept;

// Without leading and trailing bytes up to and including the blank
// (blanks, tabs, line breaks, other control characters).
std::string TrimBlanks(std::string_view text);

// `folder` with a trailing "\" (an empty folder stays empty).
std::string WithTrailingBackslash(std::string_view folder);

// A length-prefixed field of 256 bytes: length byte, then the text, cut to
// 255 bytes at a whole GBK character.
void WriteShortText(std::uint8_t (&field)[256], std::string_view text) noexcept;
std::string ReadShortText(const std::uint8_t (&field)[256]);

// Code page 936 and UTF-8 (SQLite's text). Bytes that do not convert become
// the code page's default character. Windows' conversion in the product
// (WinTextConversion.cpp), glibc's iconv in the native build, where a byte
// that does not convert becomes '?'.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);

// A quoted, escaped rendering of a text for the call log: "a\r\nb", null as
// null.
std::string QuotedForLog(const char* text);
std::string QuotedForLog(std::string_view text);
// A pointer for the call log: null or 0x1234abcd.
std::string PointerForLog(const void* p);

} // namespace hostmodel
