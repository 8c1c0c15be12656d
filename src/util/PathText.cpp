#include "util/PathText.h"

#include "sharedrt/GbkText.h"
#include "text/TextRules.h"

namespace util {

namespace {

// True when the byte at `offset` starts a character rather than being the
// trail byte of a double-byte one.
bool StartsCharacter(std::string_view path, std::size_t offset) noexcept
{
    return rt::GbkPrefixLength(path, offset) == offset;
}

// The offset of the last separator that is a character of its own, or npos.
std::size_t LastSeparatorOffset(std::string_view path) noexcept
{
    std::size_t at = path.rfind(kPathSeparator);
    while (at != std::string_view::npos && !StartsCharacter(path, at))
        at = at == 0 ? std::string_view::npos : path.rfind(kPathSeparator, at - 1);
    return at;
}

} // namespace

bool EndsWithPathSeparator(std::string_view path) noexcept
{
    return !path.empty() && path.back() == kPathSeparator && StartsCharacter(path, path.size() - 1);
}

std::string EnsureTrailingSeparator(std::string_view path)
{
    std::string result = text::TrimText(path);
    if (!result.empty() && !EndsWithPathSeparator(result))
        result += kPathSeparator;
    return result;
}

std::string_view RemoveTrailingSeparator(std::string_view path) noexcept
{
    if (EndsWithPathSeparator(path))
        path.remove_suffix(1);
    return path;
}

std::string_view ExtractParentPath(std::string_view path) noexcept
{
    const std::size_t last = LastSeparatorOffset(path);
    return last == std::string_view::npos ? std::string_view() : path.substr(0, last + 1);
}

std::string JoinPath(std::string_view directory, std::string_view name)
{
    std::string result(directory);
    if (!result.empty() && !EndsWithPathSeparator(result))
        result += kPathSeparator;
    result += name;
    return result;
}

} // namespace util
