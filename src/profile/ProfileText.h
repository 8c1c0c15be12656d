#pragma once
// The texts of the private-profile (INI) functions: the NUL-separated lists
// they fill and the key=value lines of a section.
#include <string>
#include <string_view>
#include <vector>

namespace text {
class GbkConverter;
}

namespace profile {

// The items of a list of NUL-terminated texts ended by an empty one (the
// buffer of GetPrivateProfileSectionNames or GetPrivateProfileSection).
// Stops at the end of `buffer` when the final NUL is missing.
std::vector<std::string> SplitProfileList(std::string_view buffer);

struct ProfileEntry {
    std::string key;
    std::string value;
};

// An INI file's bytes as the profile functions read them, in GBK: a
// byte-order mark of UTF-8 or UTF-16 (little or big endian) says how the
// text is written and is dropped, and the text is converted; without one
// the bytes stand as they are. UTF-16 that is not well-formed gives '?'
// where it breaks.
std::string ProfileTextAsGbk(std::string_view bytes, const text::GbkConverter& converter);

// A section line split at its first '=': the key before it, the value after
// it (which may hold further '='). A line without '=' is a key with an empty
// value.
ProfileEntry SplitProfileLine(std::string_view line);

} // namespace profile
