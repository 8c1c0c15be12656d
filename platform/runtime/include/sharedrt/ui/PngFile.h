#pragma once
// Pictures as PNG files, through the system's image codecs (WIC): compressed
// as any PNG is, and read back the same way.
#ifdef _WIN32
#include "sharedrt/Export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rt::ui {

// Writes `pixels` (width*height values 0x00RRGGBB, rows from the top) as an
// 8-bit RGB PNG file at `path` (GBK). The file is written beside and moved
// into place, so a failure leaves no part of a picture behind. Throws
// rt::Error for sizes that do not match, rt::IoError when the file cannot
// be written.
SHAREDRT_API void WritePngFile(const std::string& path, int width, int height,
                               const std::vector<std::uint32_t>& pixels);

struct PngPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows from the top
};

// Reads a picture file that the system's codecs know. Throws rt::IoError.
SHAREDRT_API PngPicture ReadPictureFile(const std::string& path);

} // namespace rt::ui
#endif
