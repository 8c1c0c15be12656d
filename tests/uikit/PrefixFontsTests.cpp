// The fonts that the test prefix gives the module's texts: the Chinese
// system font, "MS Sans Serif" and the system's dialog font (tool tips,
// message boxes) drawn with the bitmap-hinted CJK face, whose small sizes
// keep every stroke, and Wine's own symbol font for the title-bar buttons.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The face that the system really selects for a request of `face`.
std::string SelectedFace(const char* face, int height, BYTE charset = DEFAULT_CHARSET)
{
    HFONT font = CreateFontA(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    // The face name answers with the name asked for; the font file's own
    // family name tells which face was found for it.
    std::string name;
    if (const UINT size = GetOutlineTextMetricsA(dc, 0, nullptr)) {
        std::string buffer(size, '\0');
        auto* metrics = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer.data());
        if (GetOutlineTextMetricsA(dc, size, metrics))
            name = buffer.data() + reinterpret_cast<std::uintptr_t>(metrics->otmpFamilyName);
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(font);
    return name;
}

} // namespace

TEST(PrefixFonts, SmallChineseTextUsesTheBitmapHintedFace)
{
    for (const char* face : {"\xcb\xce\xcc\xe5" /* 宋体 */, "SimSun", "MS Sans Serif"}) {
        SCOPED_TRACE(face);
        // The family's English name, or its Chinese one (文泉驿点阵正黑) in a
        // Chinese locale; the outline face is 文泉驿正黑.
        const std::string family = SelectedFace(face, 12);
        EXPECT_TRUE(family == "WenQuanYi Zen Hei Sharp" ||
                    family == "\xce\xc4\xc8\xaa\xe6\xe4\xb5\xe3\xd5\xf3\xd5\xfd\xba\xda")
            << family;
    }
}

// The pixels of `text` drawn with `font` (black on white, 200 x 40).
std::vector<std::uint32_t> Drawn(const LOGFONTA& font, const char* text)
{
    HFONT handle = CreateFontIndirectA(&font);
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -40, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, handle);
    RECT all{0, 0, 200, 40};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, 4, 4, text, static_cast<int>(std::strlen(text)));
    GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + 200 * 40);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DeleteObject(handle);
    return pixels;
}

TEST(PrefixFonts, TheSystemDialogFontDrawsChineseWithTheBitmapHintedFace)
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    // Tool tips use the status font, message boxes the message font.
    for (const LOGFONTA* font : {&metrics.lfStatusFont, &metrics.lfMessageFont}) {
        SCOPED_TRACE(font->lfFaceName);
        LOGFONTA sharp = *font;
        std::strcpy(sharp.lfFaceName, "WenQuanYi Zen Hei Sharp");
        const char* text = "\xbd\xab\xbf\xa8"; // 将卡
        EXPECT_EQ(Drawn(*font, text), Drawn(sharp, text));
    }
    for (const char* face : {"MS Shell Dlg", "MS Shell Dlg 2"}) {
        const std::string family = SelectedFace(face, 12);
        EXPECT_TRUE(family == "WenQuanYi Zen Hei Sharp" ||
                    family == "\xce\xc4\xc8\xaa\xe6\xe4\xb5\xe3\xd5\xf3\xd5\xfd\xba\xda")
            << face << ": " << family;
    }
}

TEST(PrefixFonts, TheTitleBarSymbolFontIsInstalled)
{
    // As the title bar asks for it.
    EXPECT_EQ(SelectedFace("Marlett", 13, SYMBOL_CHARSET), "Marlett");
}
