#pragma once
// The texts of the private-profile (INI) functions: the NUL-separated lists
// they fill and the key=value lines of a section.
#include <string>
#include <string_view>
#include <vector>

namespace config {

// The items of a list of NUL-terminated texts ended by an empty one (the
// buffer of GetPrivateProfileSectionNames or GetPrivateProfileSection).
// Stops at the end of `buffer` when the final NUL is missing.
std::vector<std::string> SplitProfileList(std::string_view buffer);

struct ProfileEntry {
    std::string key;
    std::string value;
};

// A section line split at its first '=': the key before it, the value after
// it (which may hold further '='). A line without '=' is a key with an empty
// value.
ProfileEntry SplitProfileLine(std::string_view line);

} // namespace config
