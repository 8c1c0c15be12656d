#pragma once
// The Windows private-profile (INI) functions for the module's own files,
// with buffers grown until a whole list fits. Paths are full GBK paths.
#include "profile/ProfileDocument.h"

#include <optional>
#include <string>
#include <vector>

namespace profile {

// An INI file read at once and whole, as the profile functions read it (a
// byte-order mark of UTF-8 or UTF-16 decides the encoding, the text comes as
// GBK). The profile functions answer a file they cannot read like one
// without sections or keys; this tells the two apart. None when there is no
// file at the path (nothing, or a directory); rt::IoError "无法读取配置文件
// <file>（系统错误<n>）" when there is one that cannot be read.
std::optional<ProfileDocument> ReadProfileDocument(const std::string& file);

// The section names of the file in file order; empty when the file is
// missing or unreadable.
std::vector<std::string> ReadIniSectionNames(const std::string& file);

// The key=value lines of one section in file order (comments and blank lines
// left out by the system); empty when the file or section is missing.
std::vector<std::string> ReadIniSectionLines(const std::string& file, const std::string& section);

// The value of a key, or `defaultValue` when the file, section or key is
// missing. Values of any length are read whole.
std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                              const std::string& defaultValue);

// Writes one value, creating the file, section or key when missing. False
// when the system could not write it.
bool TryWriteIniString(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& value);

// The same, raising rt::IoError when the value could not be written. The
// profile functions rewrite the file in place and, on a full disk, report
// success and leave it cut short: for a file whose loss matters, see below.
void WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value);

// Writes values through the profile functions (which keep the file's
// encoding) and then reads the file back whole: on a full disk the profile
// functions report success and leave the file cut short or empty. Raises
// rt::IoError when a value could not be written or the file does not hold,
// after, every entry it held before (or the value written in its place)
// and every value written. Meant for a copy that replaces the real file
// once it is whole (util::ReplaceFileBy).
struct IniValue {
    std::string section;
    std::string key;
    std::string value;
};
void WriteIniStringsChecked(const std::string& file, const std::vector<IniValue>& values);

} // namespace profile
