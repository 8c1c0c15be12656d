// The launcher panel as it is drawn on the screen: at its design size
// exactly the committed picture; in a window smaller than its content with
// scroll bars that reach every button, and the background where the design
// puts it; captions that wrap instead of being cut; and in high-contrast
// mode the system's colours without the background picture.
#include "LauncherTestHost.h"

#include "sharedrt/ui/DcGuards.h"
#include "sharedrt/ui/FlatPictureButton.h"
#include "sharedrt/ui/Label.h"
#include "sharedrt/ui/PngFile.h"
#include "sharedrt/ui/WindowCapture.h"
#include "support/ImportPatch.h"
#include "support/UserInput.h"

#include <gmock/gmock.h>

#include <cstring>
#include <filesystem>
#include <set>

using hostmodel::Model;
using rt::ui::CapturedImage;
using rt::ui::FlatPictureButton;
using rt::ui::Panel;

namespace {

constexpr const char* kButtons[] = {"sbtnBs", "sbtnClearCard", "sbtnGetState", "sbtncbzt", "sbtnQXBS", "sbtnfpcx"};

bool IsInk(std::uint32_t pixel)
{
    return ((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) < 3 * 128;
}

// Where the build's pictures go for a look by eye.
std::string OutFolder()
{
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string out = program;
    out = out.substr(0, out.rfind('\\')) + "\\..\\out\\";
    CreateDirectoryA(out.c_str(), nullptr);
    return out;
}

// The ink pixels `text` leaves when drawn alone with `font` in black on
// white: what the system draws of it, every glyph whole.
int InkOf(const std::string& text, const rt::ui::Font& font)
{
    rt::unique_hfont handle = rt::ui::CreateFontHandle(font);
    rt::unique_hdc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 400, -100, 1, 32, BI_RGB};
    void* bits = nullptr;
    rt::unique_hbitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    rt::ui::SelectGuard selectBitmap(dc.get(), bitmap.get());
    rt::ui::SelectGuard selectFont(dc.get(), handle.get());
    RECT all{0, 0, 400, 100};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextColor(dc.get(), RGB(0, 0, 0));
    TextOutA(dc.get(), 10, 10, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    int ink = 0;
    for (int i = 0; i < 400 * 100; ++i)
        ink += IsInk(static_cast<const std::uint32_t*>(bits)[i]);
    return ink;
}

class LauncherLayoutTest : public testing_support::LauncherTestHost {
protected:
    FlatPictureButton& Button(const char* name, const rt::ui::WinControl* container = nullptr)
    {
        return Element<FlatPictureButton>(name, container);
    }

    // The client area of the designed frm_Mainframe window (797 x 561 with
    // a sizeable frame): the size a view has in a window of design size.
    static SIZE DesignedClientSize()
    {
        RECT frame{0, 0, 0, 0};
        AdjustWindowRectEx(&frame, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME, FALSE,
                           0);
        return {797 - (frame.right - frame.left), 561 - (frame.bottom - frame.top)};
    }

    // Brings `control` into the visible part of the main area with the
    // scroll bars' own messages; false when no scrolling does.
    bool ScrollIntoView(Panel& main, const rt::ui::Control& control)
    {
        SendMessageA(main.Handle(), WM_HSCROLL, SB_LEFT, 0);
        SendMessageA(main.Handle(), WM_VSCROLL, SB_TOP, 0);
        for (int step = 0; step < 400; ++step) {
            const RECT client = uiClientRect(main);
            const rt::ui::Bounds b = control.ScreenBounds();
            const bool right = b.Right() > client.right, down = b.Bottom() > client.bottom;
            if (!right && !down)
                return b.left >= client.left && b.top >= client.top;
            const int h = GetScrollPos(main.Handle(), SB_HORZ), v = GetScrollPos(main.Handle(), SB_VERT);
            if (right)
                SendMessageA(main.Handle(), WM_HSCROLL, SB_LINERIGHT, 0);
            if (down)
                SendMessageA(main.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
            rt::ui::driver::ProcessMessages();
            if (h == GetScrollPos(main.Handle(), SB_HORZ) && v == GetScrollPos(main.Handle(), SB_VERT))
                return false;
        }
        return false;
    }

    static RECT uiClientRect(const Panel& panel)
    {
        RECT r{};
        GetClientRect(panel.Handle(), &r);
        MapWindowPoints(panel.Handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    // Ink pixels of a button's caption on the screen: below its picture,
    // inside `area` (main-area coordinates).
    static int CaptionInk(const CapturedImage& main, const FlatPictureButton& button, const RECT& area)
    {
        const int below = button.Top() + button.GlyphRect().bottom;
        int ink = 0;
        for (int y = std::max<int>(below, area.top); y < area.bottom && y < main.height; ++y)
            for (int x = std::max<int>(0, area.left); x < area.right && x < main.width; ++x)
                ink += IsInk(main.At(x, y));
        return ink;
    }
};

} // namespace

TEST_F(LauncherLayoutTest, AtItsDesignSizeThePanelIsDrawnExactlyAsTheCommittedPicture)
{
    const SIZE size = DesignedClientSize();
    Panel& container = OwnContainer(size.cx, size.cy);
    testing_support::ParkMouse();
    ASSERT_TRUE(ShowIn(&container));
    rt::ui::Form* view = View(&container);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->Width(), size.cx);
    const CapturedImage shot = rt::ui::CaptureWindow(view->Handle());
    const std::string reference = std::string(WSCBS_TEST_PICTURES_DIR) + "/LauncherAtDesignSize.png";
    const std::string actual = OutFolder() + "LauncherAtDesignSize.png";
    rt::ui::WritePngFile(actual, shot.width, shot.height, shot.pixels);

    const rt::ui::PngPicture expected = rt::ui::ReadPictureFile(reference);
    ASSERT_EQ(expected.width, shot.width) << "this capture: " << actual;
    ASSERT_EQ(expected.height, shot.height) << "this capture: " << actual;
    int differing = 0;
    RECT where{shot.width, shot.height, -1, -1};
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (shot.At(x, y) != expected.pixels[static_cast<std::size_t>(y) * shot.width + x]) {
                ++differing;
                where = {std::min<LONG>(where.left, x), std::min<LONG>(where.top, y), std::max<LONG>(where.right, x),
                         std::max<LONG>(where.bottom, y)};
            }
    EXPECT_EQ(differing, 0) << "within x " << where.left << ".." << where.right << ", y " << where.top << ".."
                            << where.bottom << "; this capture: " << actual;
}

TEST_F(LauncherLayoutTest, ASmallWindowScrollsAndEveryButtonCanBeScrolledToAndClicked)
{
    Panel& container = OwnContainer(300, 200);
    ASSERT_TRUE(ShowIn(&container));
    Panel& main = Element<Panel>("Pnl_main", &container);
    const LONG_PTR style = GetWindowLongPtrA(main.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
    const std::pair<const char*, const char*> codes[] = {
        {"sbtnBs", "WSCBS004-00-03"}, {"sbtnClearCard", "WSCBS004-00-04"}, {"sbtnGetState", "WSCBS004-00-05"},
        {"sbtncbzt", "WSCBS002-01"},  {"sbtnQXBS", "WSCBS004-00-06"},      {"sbtnfpcx", "WSCBS003-01"}};
    for (const auto& [name, code] : codes) {
        SCOPED_TRACE(name);
        FlatPictureButton& button = Button(name, &container);
        ASSERT_TRUE(ScrollIntoView(main, button));
        Model().ClearRecords();
        rt::ui::driver::ClickAt(main, rt::ui::driver::CenterOf(button));
        EXPECT_THAT(StartedCodes(), testing::ElementsAre(code));
    }
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherLayoutTest, TheShellsMinimumSizeKeepsEveryButtonWholeWithoutScrollBars)
{
    ASSERT_TRUE(Show());
    SetWindowPos(host->Handle(), nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    rt::ui::driver::ProcessMessages();
    Panel& main = Element<Panel>("Pnl_main");
    const LONG_PTR style = GetWindowLongPtrA(main.Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_HSCROLL | WS_VSCROLL));
    const RECT client = uiClientRect(main);
    for (const char* name : kButtons) {
        SCOPED_TRACE(name);
        const rt::ui::Bounds b = Button(name).ScreenBounds();
        EXPECT_GE(b.left, client.left);
        EXPECT_GE(b.top, client.top);
        EXPECT_LE(b.Right(), client.right);
        EXPECT_LE(b.Bottom(), client.bottom);
    }
}

TEST_F(LauncherLayoutTest, ANarrowWindowDoesNotSlideTheBackgroundUnderTheButtons)
{
    // Two widths below the design's, both wide enough for every button:
    // what lies under each button is the same in both.
    const SIZE size = DesignedClientSize();
    testing_support::ParkMouse();
    Panel& wider = OwnContainer(700, size.cy);
    ASSERT_TRUE(ShowIn(&wider));
    const CapturedImage first = rt::ui::CaptureWindow(Element<Panel>("Pnl_main", &wider).Handle());
    Panel& narrow = OwnContainer(600, size.cy);
    ASSERT_TRUE(ShowIn(&narrow));
    Panel& main = Element<Panel>("Pnl_main", &narrow);
    EXPECT_FALSE(GetWindowLongPtrA(main.Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
    const CapturedImage shot = rt::ui::CaptureWindow(main.Handle());
    for (const char* name : kButtons) {
        SCOPED_TRACE(name);
        const rt::ui::Bounds b = Button(name, &narrow).GetBounds();
        int differing = 0;
        for (int y = b.top; y < b.Bottom(); ++y)
            for (int x = b.left; x < b.Right(); ++x)
                differing += shot.At(x, y) != first.At(x, y);
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(LauncherLayoutTest, ACaptionWiderThanItsButtonWrapsOntoWholeLines)
{
    const std::string nine = "网上抄税并上传数据";
    const std::string long_ = "发票查询统计打印及导出历史数据";
    Individuate({{"Caption_BS", nine}, {"Caption_FPQUery", long_}});
    testing_support::ParkMouse();
    ASSERT_TRUE(Show());
    Panel& main = Element<Panel>("Pnl_main");
    const CapturedImage shot = rt::ui::CaptureWindow(main.Handle());
    rt::ui::CaptureWindowToPng(main.Handle(), OutFolder() + "launcher-long-captions.png");

    // Every glyph of the nine is on the screen, whole, inside the button.
    FlatPictureButton& bs = Button("sbtnBs");
    const rt::ui::Bounds b = bs.GetBounds();
    const rt::ui::Font font = bs.GetFont();
    EXPECT_EQ(CaptionInk(shot, bs, {b.left, 0, b.Right(), b.Bottom()}), InkOf(nine, font));
    EXPECT_EQ(CaptionInk(shot, bs, {b.left - 40, 0, b.left + 1, b.Bottom()}), 0) << "nothing at the left edge";
    EXPECT_EQ(CaptionInk(shot, bs, {b.Right() - 1, 0, b.Right() + 40, b.Bottom()}), 0) << "nor at the right";
    EXPECT_LE(b.Bottom(), Button("sbtnGetState").Top()) << "the bottom row stays uncovered";
    // Two lines: two bands of ink with a gap between them.
    int bands = 0;
    bool inBand = false;
    for (int y = b.top + bs.GlyphRect().bottom; y < b.Bottom(); ++y) {
        bool ink = false;
        for (int x = b.left; x < b.Right(); ++x)
            ink = ink || IsInk(shot.At(x, y));
        bands += ink && !inBand;
        inBand = ink;
    }
    EXPECT_EQ(bands, 2);

    // Fifteen characters do not fit two lines: whole glyphs of a beginning,
    // then the ellipsis, nothing cut.
    FlatPictureButton& fp = Button("sbtnfpcx");
    const rt::ui::Bounds f = fp.GetBounds();
    const int shown = CaptionInk(shot, fp, {f.left, 0, f.Right(), f.Bottom()});
    EXPECT_EQ(CaptionInk(shot, fp, {f.left - 40, 0, f.left + 1, f.Bottom()}), 0);
    EXPECT_EQ(CaptionInk(shot, fp, {f.Right() - 1, 0, f.Right() + 40, f.Bottom()}), 0);
    bool wholePrefix = false;
    for (std::size_t bytes = 2; bytes < long_.size(); bytes += 2)
        wholePrefix = wholePrefix || shown == InkOf(long_.substr(0, bytes) + "…", fp.GetFont());
    EXPECT_TRUE(wholePrefix) << "ink " << shown;
}

TEST_F(LauncherLayoutTest, ASixteenPointSkinFontWrapsTheDefaultCaptionsInsteadOfCuttingThem)
{
    hostmodel::Skin skin;
    skin.fontSize = 16;
    Model().SetSkin(skin);
    testing_support::ParkMouse();
    ASSERT_TRUE(Show());
    Panel& main = Element<Panel>("Pnl_main");
    const CapturedImage shot = rt::ui::CaptureWindow(main.Handle());
    for (const char* name : kButtons) {
        SCOPED_TRACE(name);
        FlatPictureButton& button = Button(name);
        const rt::ui::Bounds b = button.GetBounds();
        EXPECT_EQ(CaptionInk(shot, button, {b.left, 0, b.Right(), b.Bottom()}),
                  InkOf(button.Caption(), button.GetFont()));
    }
}

namespace {

BOOL(WINAPI* g_systemParametersInfo)(UINT, UINT, PVOID, UINT) = nullptr;

// The system as it answers with Windows' high-contrast mode switched on.
BOOL WINAPI HighContrastOn(UINT action, UINT param, PVOID data, UINT flags)
{
    if (action == SPI_GETHIGHCONTRAST && data) {
        auto* contrast = static_cast<HIGHCONTRASTA*>(data);
        contrast->dwFlags = HCF_HIGHCONTRASTON | HCF_AVAILABLE;
        contrast->lpszDefaultScheme = nullptr;
        return TRUE;
    }
    return g_systemParametersInfo(action, param, data, flags);
}

std::uint32_t SystemRgb(int index)
{
    const COLORREF c = GetSysColor(index);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

} // namespace

TEST_F(LauncherLayoutTest, InHighContrastThePanelPaintsWithSystemColoursAndWithoutTheBackgroundPicture)
{
    testing_support::ImportPatch contrast(GetModuleHandleA("SharedRt.dll"), "user32.dll", "SystemParametersInfoA",
                                          reinterpret_cast<void*>(&HighContrastOn));
    g_systemParametersInfo = reinterpret_cast<BOOL(WINAPI*)(UINT, UINT, PVOID, UINT)>(contrast.Original());
    testing_support::ParkMouse();
    ASSERT_TRUE(Show());
    Panel& main = Element<Panel>("Pnl_main");
    const CapturedImage shot = rt::ui::CaptureWindow(main.Handle());
    rt::ui::CaptureWindowToPng(View()->Handle(), OutFolder() + "launcher-high-contrast.png");
    const std::uint32_t window = SystemRgb(COLOR_WINDOW);

    // Where the background picture lies (its lower right part, away from
    // the buttons), only the window colour.
    int other = 0;
    for (int y = shot.height - 80; y < shot.height; ++y)
        for (int x = shot.width - 200; x < shot.width; ++x)
            other += shot.At(x, y) != window;
    EXPECT_EQ(other, 0);
    EXPECT_EQ(shot.At(5, 60), window);

    // Texts in the system's text colours: the captions and the period in
    // the window text colour, the link in the hot-light colour.
    auto inkColours = [&](const rt::ui::Control& element) {
        std::set<std::uint32_t> colours;
        const rt::ui::Bounds b = element.GetBounds();
        const int top = dynamic_cast<const FlatPictureButton*>(&element)
                            ? b.top + static_cast<const FlatPictureButton&>(element).GlyphRect().bottom
                            : b.top;
        for (int y = top; y < b.Bottom(); ++y)
            for (int x = b.left; x < b.Right(); ++x)
                if (shot.At(x, y) != window)
                    colours.insert(shot.At(x, y));
        return colours;
    };
    // Smoothed text has shades between its colour and the background's:
    // none of another hue, and the colour itself among them.
    auto shadesOf = [&](const std::set<std::uint32_t>& colours, std::uint32_t text) {
        bool within = !colours.empty();
        for (std::uint32_t c : colours)
            for (int shift : {0, 8, 16}) {
                const int value = c >> shift & 0xFF, from = text >> shift & 0xFF, to = window >> shift & 0xFF;
                within = within && value >= std::min(from, to) && value <= std::max(from, to);
            }
        return within && colours.count(text) == 1;
    };
    EXPECT_TRUE(shadesOf(inkColours(Button("sbtnBs")), SystemRgb(COLOR_WINDOWTEXT)));
    EXPECT_TRUE(shadesOf(inkColours(Element<rt::ui::Label>("Label_kjny")), SystemRgb(COLOR_WINDOWTEXT)));
    EXPECT_TRUE(shadesOf(inkColours(Element<rt::ui::Label>("Label_ggkjny")), SystemRgb(COLOR_HOTLIGHT)));
    const CapturedImage bottom = rt::ui::CaptureWindow(Element<Panel>("pnl_bottom").Handle());
    EXPECT_EQ(bottom.At(5, 2), window) << "no decorative strip either";
    EXPECT_EQ(bottom.At(5, 40), window);
}
