#include "UiTestSupport.h"

#include "support/TempFolder.h"

#include "sharedrt/RtError.h"

using namespace rt::ui;

namespace {

// Draws with `draw` into a green 40 x 20 memory bitmap and returns it.
template <typename Draw>
Bitmap DrawnOnGreen(Draw draw)
{
    Bitmap target = Bitmap::Filled(40, 20, RgbHex(0x00FF00));
    rt::unique_hdc dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), target.Handle());
    draw(dc.get());
    return target;
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kMagenta = RGB(255, 0, 255);

} // namespace

TEST(Bitmap, LoadsAResourceOfAModule)
{
    const Bitmap cells = Bitmap::FromResource(GetModuleHandleA(nullptr), "TESTCELLS");
    EXPECT_EQ(cells.Width(), 8);
    EXPECT_EQ(cells.Height(), 4);
    EXPECT_EQ(cells.PixelAt(1, 0), kRed);
    EXPECT_EQ(cells.PixelAt(6, 0), kBlue);
    EXPECT_EQ(cells.TransparentColor(), kMagenta);

    try {
        Bitmap::FromResource(GetModuleHandleA(nullptr), "NOSUCHPICTURE");
        FAIL() << "no error for a missing resource";
    } catch (const rt::Error& e) {
        EXPECT_NE(std::string(e.what()).find("NOSUCHPICTURE"), std::string::npos);
    }
}

TEST(Bitmap, SavedFileLoadsBackAndBadFilesFailWithTheirName)
{
    testing_support::TempFolder folder;
    const Bitmap cells = Bitmap::FromResource(GetModuleHandleA(nullptr), "TESTCELLS");
    const std::string path = folder.Path() + "按钮图片.bmp";
    cells.SaveToFile(path);
    const Bitmap loaded = Bitmap::FromFile(path);
    EXPECT_EQ(loaded.Width(), 8);
    EXPECT_EQ(loaded.Height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(loaded.PixelAt(x, y), cells.PixelAt(x, y)) << x << "," << y;

    const std::string missing = folder.Path() + "missing.bmp";
    EXPECT_THROW(Bitmap::FromFile(missing), rt::Error);
    const std::string notBitmap = folder.Write("bad.bmp", "this is not a bitmap");
    try {
        Bitmap::FromFile(notBitmap);
        FAIL() << "no error for a file that is no bitmap";
    } catch (const rt::Error& e) {
        EXPECT_NE(std::string(e.what()).find(notBitmap), std::string::npos);
    }
    EXPECT_THROW(cells.SaveToFile(folder.Path() + "no\\such\\folder\\x.bmp"), rt::IoError);
}

TEST(Bitmap, TransparentDrawingLeavesOutTheBottomLeftColour)
{
    const Bitmap cells = Bitmap::FromResource(GetModuleHandleA(nullptr), "TESTCELLS");
    const Bitmap opaque = DrawnOnGreen([&](HDC dc) { cells.Draw(dc, 0, 0, false); });
    EXPECT_EQ(opaque.PixelAt(0, 3), kMagenta);
    const Bitmap transparent = DrawnOnGreen([&](HDC dc) { cells.Draw(dc, 0, 0, true); });
    EXPECT_EQ(transparent.PixelAt(0, 3), kGreen);
    EXPECT_EQ(transparent.PixelAt(1, 3), kRed);

    // Cells: the second one is the right half, drawn at its own size.
    const Bitmap second = DrawnOnGreen([&](HDC dc) { cells.DrawCell(dc, 10, 10, 1, 2, true); });
    EXPECT_EQ(second.PixelAt(10, 10), kBlue);
    EXPECT_EQ(second.PixelAt(13, 10), kBlue);
    EXPECT_EQ(second.PixelAt(14, 10), kGreen);
    EXPECT_EQ(second.PixelAt(10, 13), kGreen); // its bottom-left pixel is the key too

    const Bitmap stretched = DrawnOnGreen([&](HDC dc) { cells.StretchDraw(dc, RECT{0, 0, 40, 20}, false); });
    EXPECT_EQ(stretched.PixelAt(5, 2), kRed);
    EXPECT_EQ(stretched.PixelAt(35, 2), kBlue);
}

TEST(Bitmap, CopiesAreIndependent)
{
    Bitmap original = Bitmap::Filled(3, 3, RgbHex(0x112233));
    Bitmap copy = original;
    copy.SetPixel(1, 1, RgbHex(0xFFFFFF));
    EXPECT_EQ(copy.PixelAt(1, 1), RGB(255, 255, 255));
    EXPECT_EQ(original.PixelAt(1, 1), RGB(0x11, 0x22, 0x33));
    EXPECT_NE(copy.Handle(), original.Handle());
    EXPECT_EQ(Bitmap().PixelAt(0, 0), 0u);
    EXPECT_TRUE(Bitmap().Empty());
}

namespace {

constexpr const char* kStoredFormats[] = {"FORMAT24", "FORMAT32", "FORMATTOPDOWN", "FORMAT8", "FORMAT4", "FORMAT1"};

int BitsPerPixel(HBITMAP bitmap)
{
    DIBSECTION dib{};
    GetObjectA(bitmap, sizeof dib, &dib);
    return dib.dsBm.bmBitsPixel;
}

// What Windows itself makes of the resource, as the reference.
rt::unique_hbitmap LoadedByWindows(const char* name)
{
    return rt::unique_hbitmap(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    rt::unique_hdc dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), bitmap);
    return GetPixel(dc.get(), x, y);
}

} // namespace

TEST(Bitmap, EveryStoredFormatLoadsAsWindowsLoadsIt)
{
    // Rows stored top-down are checked below only: LoadImageA of Wine
    // gives no pixels for them.
    for (const char* name : {"FORMAT24", "FORMAT32", "FORMAT8", "FORMAT4", "FORMAT1"}) {
        SCOPED_TRACE(name);
        const Bitmap loaded = Bitmap::FromResource(GetModuleHandleA(nullptr), name);
        const rt::unique_hbitmap reference = LoadedByWindows(name);
        ASSERT_TRUE(reference);
        ASSERT_EQ(loaded.Width(), 5);
        ASSERT_EQ(loaded.Height(), 3);
        EXPECT_EQ(BitsPerPixel(loaded.Handle()), BitsPerPixel(reference.get()));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(loaded.PixelAt(x, y), PixelOf(reference.get(), x, y)) << x << "," << y;
    }
    // The rows stand the right way up, whichever order they are stored in.
    for (const char* name : {"FORMAT24", "FORMAT32", "FORMATTOPDOWN", "FORMAT8", "FORMAT4"}) {
        SCOPED_TRACE(name);
        const Bitmap loaded = Bitmap::FromResource(GetModuleHandleA(nullptr), name);
        EXPECT_EQ(loaded.PixelAt(0, 0), kRed);
        EXPECT_EQ(loaded.PixelAt(4, 1), kRed);
        EXPECT_EQ(loaded.PixelAt(1, 1), kBlue);
        EXPECT_EQ(loaded.PixelAt(4, 2), RGB(255, 255, 0));
    }
    const Bitmap bits = Bitmap::FromResource(GetModuleHandleA(nullptr), "FORMAT1");
    EXPECT_EQ(bits.PixelAt(3, 0), RGB(255, 255, 255));
    EXPECT_EQ(bits.PixelAt(2, 0), RGB(0, 0, 0));
}

TEST(Bitmap, CopiesKeepTheFormatAndEveryPixel)
{
    for (const char* name : kStoredFormats) {
        SCOPED_TRACE(name);
        const Bitmap original = Bitmap::FromResource(GetModuleHandleA(nullptr), name);
        Bitmap copy = original;
        EXPECT_NE(copy.Handle(), original.Handle());
        EXPECT_EQ(copy.Width(), original.Width());
        EXPECT_EQ(copy.Height(), original.Height());
        EXPECT_EQ(BitsPerPixel(copy.Handle()), BitsPerPixel(original.Handle()));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                EXPECT_EQ(copy.PixelAt(x, y), original.PixelAt(x, y)) << x << "," << y;
        copy.SetPixel(0, 0, RgbHex(0xFFFFFF));
        EXPECT_EQ(copy.PixelAt(0, 0), RGB(255, 255, 255));
        EXPECT_NE(original.PixelAt(0, 0), RGB(255, 255, 255));
    }
}
