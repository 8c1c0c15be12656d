#pragma once
// INI files through the Windows private-profile functions.
#include <string>

namespace hostmodel {

// The value of `key` in `section` of `file`; `defaultValue` when the file,
// section or key is missing, or when any of the three names is empty (the
// private-profile call would list names instead of reading a value).
std::string ReadIniString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& defaultValue);

// Stores `value` under `key` in `section` of `file`, creating what is
// missing. Writes nothing and returns false when a name is empty (the call
// would delete a key or a whole section) or when Windows refuses the write.
// The file is never rewritten in place, and not by the system's profile
// functions, which report success when the disk took nothing: the changed
// text (SetProfileValue, in the file's own encoding) is written whole
// beside it, flushed, and moved into its place; so the file is old or new,
// whatever fails, and false says when it is old.
bool WriteIniString(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& value);

} // namespace hostmodel
