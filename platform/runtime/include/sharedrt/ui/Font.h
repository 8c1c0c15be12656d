#pragma once
// A font as controls describe it. Heights are character heights in pixels
// (the cell height without internal leading), as form designs give them.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/UniqueHandle.h"
#include "sharedrt/ui/Color.h"

#include <cstdint>
#include <string>

namespace rt::ui {

inline constexpr std::uint8_t kDefaultCharset = 1;  // DEFAULT_CHARSET
inline constexpr std::uint8_t kGb2312Charset = 134; // GB2312_CHARSET

struct Font {
    std::string face = "MS Sans Serif"; // GBK, e.g. "宋体"
    int height = 11;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::uint8_t charset = kDefaultCharset;
    Color color = kColorWindowText;

    friend bool operator==(const Font&, const Font&) = default;
};

// A new GDI font for `font` (colour is not part of a GDI font). Throws
// rt::Error when GDI refuses.
SHAREDRT_API unique_hfont CreateFontHandle(const Font& font);

} // namespace rt::ui
#endif
