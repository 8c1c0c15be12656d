#include "sharedrt/ui/Font.h"

#include "sharedrt/RtError.h"

#include <cstring>

namespace rt::ui {

unique_hfont CreateFontHandle(const Font& font)
{
    LOGFONTA log{};
    log.lfHeight = -font.height; // negative: character height, as designs give it
    log.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    log.lfItalic = font.italic ? TRUE : FALSE;
    log.lfUnderline = font.underline ? TRUE : FALSE;
    log.lfCharSet = font.charset;
    log.lfOutPrecision = OUT_DEFAULT_PRECIS;
    log.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    log.lfQuality = DEFAULT_QUALITY;
    log.lfPitchAndFamily = DEFAULT_PITCH;
    std::strncpy(log.lfFaceName, font.face.c_str(), LF_FACESIZE - 1);
    unique_hfont handle(CreateFontIndirectA(&log));
    if (!handle)
        throw Error("无法创建字体：" + font.face);
    return handle;
}

} // namespace rt::ui
