#pragma once
// A small PNG writer: 8-bit RGB, no compression (stored deflate blocks).
#ifdef _WIN32
#include "sharedrt/Export.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace rt::ui {

// `pixels` holds width*height values 0x00RRGGBB, rows from the top.
SHAREDRT_API std::vector<std::uint8_t> EncodePng(int width, int height,
                                                  const std::vector<std::uint32_t>& pixels);
// Writes EncodePng's result to a file (GBK path); throws rt::IoError.
SHAREDRT_API void WritePngFile(const std::string& path, int width, int height,
                               const std::vector<std::uint32_t>& pixels);

SHAREDRT_API std::uint32_t Crc32(const std::uint8_t* data, std::size_t size,
                                 std::uint32_t crc = 0) noexcept;
SHAREDRT_API std::uint32_t Adler32(const std::uint8_t* data, std::size_t size) noexcept;

} // namespace rt::ui
#endif
