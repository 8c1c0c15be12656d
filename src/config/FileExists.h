#pragma once
// Existence of a plain file (not a directory) at a GBK path.
#include <string_view>

namespace config {

// True when `path` names an existing file; false for a directory, a missing
// path and a path whose attributes cannot be read.
bool FileExists(std::string_view path);

} // namespace config
