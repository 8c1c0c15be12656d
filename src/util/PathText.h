#pragma once
// Windows path texts (GBK, "\" as the separator) handled as plain text.
// A "\" counts as a separator only when it is a character of its own: the
// trail byte of a double-byte character (such as 0x82 0x5C) can be 0x5C too.
#include <string>
#include <string_view>

namespace util {

inline constexpr char kPathSeparator = '\\';

// True when the last character of `path` is a "\" of its own.
bool EndsWithPathSeparator(std::string_view path) noexcept;

// The path trimmed (bytes <= 0x20 removed at both ends), with "\" appended
// unless it is empty or already ends with a separator.
std::string EnsureTrailingSeparator(std::string_view path);

// The path with one trailing separator removed, if it has one.
std::string_view RemoveTrailingSeparator(std::string_view path) noexcept;

// The path up to and including its last separator; empty when it has none.
// "C:\a\b" gives "C:\a\"; "C:\a\" gives itself.
std::string_view ExtractParentPath(std::string_view path) noexcept;

// directory + "\" + name, without doubling a separator the directory
// already ends with. An empty directory gives the name alone.
std::string JoinPath(std::string_view directory, std::string_view name);

} // namespace util
