// The launcher panel on screens of more than 96 dots per inch. The
// LauncherAtHighDpi cases run in prefixes of their own at 120 and 144 DPI
// (tests/integration/CMakeLists.txt); at 96 DPI the committed picture of
// LauncherLayoutTests holds. The module leaves the process's DPI mode to
// the host.
#include "LauncherTestHost.h"

#include "sharedrt/ui/FlatPictureButton.h"
#include "sharedrt/ui/Image.h"
#include "sharedrt/ui/Label.h"
#include "sharedrt/ui/WindowCapture.h"
#include "support/Accessible.h"
#include "support/ImportPatch.h"

#include <gmock/gmock.h>

using rt::ui::Bounds;
using rt::ui::FlatPictureButton;
using rt::ui::Panel;

#ifndef WM_DPICHANGED_AFTERPARENT
#define WM_DPICHANGED_AFTERPARENT 0x02E3
#endif

namespace {

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class LauncherAtHighDpi : public testing_support::LauncherTestHost {
protected:
    void SetUp() override
    {
        LauncherTestHost::SetUp();
        dpi = ScreenDpi();
        ASSERT_GT(dpi, 96) << "runs in a prefix at more than 96 DPI";
    }
    int Scaled(int pixels) const { return MulDiv(pixels, dpi, 96); }
    FlatPictureButton& Button(const char* name) { return Element<FlatPictureButton>(name); }

    int dpi = 96;
};

} // namespace

TEST(LauncherDpi, TheModuleAndTheRuntimeLeaveTheProcessDpiModeToTheHost)
{
    for (const char* name : {"wscbs.dll", "SharedRt.dll"}) {
        SCOPED_TRACE(name);
        testing_support::LoadedModule loaded(name);
        ASSERT_TRUE(loaded.Loaded());
        for (const char* function : {"SetProcessDPIAware", "SetProcessDpiAwarenessContext",
                                     "SetThreadDpiAwarenessContext", "SetThreadDpiHostingBehavior"})
            EXPECT_EQ(testing_support::FindImportSlot(loaded.Handle(), "user32.dll", function), nullptr) << function;
        EXPECT_EQ(testing_support::FindImportSlot(loaded.Handle(), "shcore.dll", "SetProcessDpiAwareness"), nullptr);
    }
}

TEST_F(LauncherAtHighDpi, EveryDesignRectangleAndFontFollowsTheScreen)
{
    ASSERT_TRUE(Show());
    FlatPictureButton& bs = Button("sbtnBs");
    EXPECT_EQ(bs.GetBounds(), (Bounds{Scaled(130), Scaled(98), Scaled(80), Scaled(80)}));
    EXPECT_EQ(bs.GetFont().height, Scaled(12));
    if (dpi == 144) {
        EXPECT_EQ(bs.Width(), 120);
        EXPECT_EQ(bs.Height(), 120);
        EXPECT_EQ(bs.GetFont().height, 18);
    } else if (dpi == 120) {
        EXPECT_EQ(bs.Width(), 100);
        EXPECT_EQ(bs.Height(), 100);
    }
    EXPECT_EQ(Button("sbtnfpcx").GetBounds(), (Bounds{Scaled(480), Scaled(250), Scaled(80), Scaled(80)}));
    EXPECT_EQ(Element<rt::ui::Label>("Label_kjny").GetFont().height, Scaled(13));
    EXPECT_EQ(Element<rt::ui::Label>("Label_version").GetFont().height, Scaled(13));
    // The single arrow centred between the scaled buttons.
    EXPECT_EQ(Element<rt::ui::Image>("img_fpcj_arrow").Left(),
              (Scaled(480) + Scaled(130) + Scaled(80) - Scaled(49)) / 2);
    // The version stays in the bottom panel's right corner, whole.
    const rt::ui::Label& version = Element<rt::ui::Label>("Label_version");
    const Panel& bottom = Element<Panel>("pnl_bottom");
    EXPECT_GE(version.Left(), 0);
    EXPECT_GE(version.Top(), 0);
    EXPECT_LE(version.GetBounds().Right(), bottom.ClientWidth()) << version.Left() << "," << version.Top();
    EXPECT_LE(version.GetBounds().Bottom(), bottom.ClientHeight()) << version.Left() << "," << version.Top();
    // The bottom panel's rule in pixels of this screen.
    const int height = View()->Height();
    EXPECT_EQ(Element<Panel>("pnl_bottom").Height(),
              height >= Scaled(500) ? Scaled(135) : std::max(Scaled(60), height - Scaled(365)));
    // The picture drawn at the button's scale: its cell as wide as the scaled 48.
    const RECT glyph = bs.GlyphRect();
    EXPECT_EQ(glyph.right - glyph.left, Scaled(48));
    EXPECT_EQ(glyph.bottom - glyph.top, Scaled(48));

    // Where assistive technology and the screen see it.
    testing_support::ComApartment com;
    const RECT where = testing_support::AccessibleElement::FromWindow(Element<Panel>("Pnl_main").Handle())
                           .ChildElement(4)
                           .Location();
    EXPECT_EQ(where.right - where.left, Scaled(80));
    EXPECT_EQ(where.bottom - where.top, Scaled(80));

    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string out = program;
    out = out.substr(0, out.rfind('\\')) + "\\..\\out\\";
    CreateDirectoryA(out.c_str(), nullptr);
    rt::ui::CaptureWindowToPng(View()->Handle(), out + "launcher-" + std::to_string(dpi) + "dpi-view.png");
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherAtHighDpi, AMoveToAnotherDpiLaysThePanelOutAgain)
{
    ASSERT_TRUE(Show());
    rt::ui::Form* view = View();
    // As if the view had come from a screen at 96 DPI.
    view->ScaleToDpi(96);
    ASSERT_EQ(Button("sbtnBs").Width(), 80);
    SendMessageA(view->Handle(), WM_DPICHANGED_AFTERPARENT, 0, 0);
    rt::ui::driver::ProcessMessages();
    EXPECT_EQ(Button("sbtnBs").GetBounds(), (Bounds{Scaled(130), Scaled(98), Scaled(80), Scaled(80)}));
    EXPECT_EQ(Button("sbtnBs").GetFont().height, Scaled(12));
}

TEST_F(LauncherAtHighDpi, TheShellsMinimumSizeFollowsTheScreen)
{
    ASSERT_TRUE(Show());
    SetWindowPos(host->Handle(), nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    rt::ui::driver::ProcessMessages();
    EXPECT_GE(host->Container().ClientWidth(), Scaled(560));
    Panel& main = Element<Panel>("Pnl_main");
    EXPECT_FALSE(GetWindowLongPtrA(main.Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
}
