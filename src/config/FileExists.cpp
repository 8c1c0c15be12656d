#include "config/FileExists.h"

#include <windows.h>

#include <string>

namespace config {

bool FileExists(std::string_view path)
{
    const std::string text(path);
    const DWORD attributes = GetFileAttributesA(text.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace config
