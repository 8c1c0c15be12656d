// The launcher panel in the real wscbs.dll: its layout after the first
// show, the set-up from the host (period, rights, version, captions,
// pictures, tool tips, the link button and the arrows), the resize rule,
// and the buttons and the period link driven by real mouse messages.
#include "LauncherTestHost.h"

#include "sharedrt/RtError.h"
#include "sharedrt/ui/Bitmap.h"
#include "sharedrt/ui/FlatPictureButton.h"
#include "sharedrt/ui/Image.h"
#include "sharedrt/ui/Label.h"
#include "sharedrt/ui/Panel.h"
#include "sharedrt/ui/WindowCapture.h"
#include "support/ImportPatch.h"
#include "support/LocalBlockRecord.h"
#include "support/UserInput.h"

#include <gmock/gmock.h>

using hostmodel::Model;
using rt::ui::Bounds;
using rt::ui::FlatPictureButton;
using rt::ui::Image;
using rt::ui::Label;
using rt::ui::Panel;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

constexpr const char* kButtons[] = {"sbtnBs", "sbtnClearCard", "sbtnGetState", "sbtncbzt", "sbtnQXBS", "sbtnfpcx"};

class LauncherPanelTest : public testing_support::LauncherTestHost {
protected:
    FlatPictureButton& Button(const char* name) { return Element<FlatPictureButton>(name); }

    // Same pixels as the module's picture resource of that name.
    bool ShowsResourcePicture(const FlatPictureButton& button, const char* resource)
    {
        const rt::ui::Bitmap expected = rt::ui::Bitmap::FromResource(module->Handle(), resource);
        const rt::ui::Bitmap& glyph = button.Glyph();
        if (glyph.Width() != expected.Width() || glyph.Height() != expected.Height())
            return false;
        for (int y = 0; y < glyph.Height(); y += 7)
            for (int x = 0; x < glyph.Width(); x += 5)
                if (glyph.PixelAt(x, y) != expected.PixelAt(x, y))
                    return false;
        return true;
    }

    // Makes the view in `container` `height` pixels high by resizing the
    // container's window (one of the test's own: the shell's window keeps
    // a least size).
    void ResizeViewTo(Panel& container, int height)
    {
        HWND window = GetAncestor(container.Handle(), GA_ROOT);
        RECT outer{};
        GetWindowRect(window, &outer);
        const int delta = height - View(&container)->Height();
        rt::ui::driver::ResizeWindow(window, outer.right - outer.left, outer.bottom - outer.top + delta);
        rt::ui::driver::ProcessMessages();
        ASSERT_EQ(View(&container)->Height(), height);
    }

    std::string SaveTwoCellPicture(const std::string& name, int cell, rt::ui::Color color)
    {
        rt::ui::Bitmap picture = rt::ui::Bitmap::Filled(2 * cell, cell, color);
        picture.SaveToFile(folder.Path() + name);
        return name;
    }
};

} // namespace

TEST_F(LauncherPanelTest, AfterTheFirstShowEveryVisibleElementStandsWhereTheResourcePutsIt)
{
    ASSERT_TRUE(Show());
    Panel& main = Element<Panel>("Pnl_main");
    Panel& bottom = Element<Panel>("pnl_bottom");
    rt::ui::Form& view = *View();
    EXPECT_EQ(main.Left(), 0);
    EXPECT_EQ(main.Top(), Element<rt::ui::Control>("ModuleToolbar").GetBounds().Bottom());
    EXPECT_EQ(main.Width(), view.ClientWidth());
    EXPECT_EQ(main.GetBounds().Bottom(), bottom.Top());
    EXPECT_EQ(main.GetColor(), rt::ui::RgbHex(0xF4F9FE));
    EXPECT_EQ(bottom.GetColor(), rt::ui::RgbHex(0xEFF4F8));
    EXPECT_EQ(bottom.GetBounds().Bottom(), view.ClientHeight());
    EXPECT_EQ(bottom.Width(), view.ClientWidth());

    const std::pair<const char*, Bounds> fixed[] = {
        {"sbtnBs", {130, 98, 80, 80}},        {"sbtncbzt", {362, 250, 80, 80}},
        {"sbtnfpcx", {480, 250, 80, 80}},     {"sbtnClearCard", {480, 98, 80, 80}},
        {"sbtnGetState", {130, 250, 80, 80}}, {"sbtnQXBS", {245, 250, 80, 80}},
        {"Image12", {15, 13, 12, 12}},        {"img_fpcj_arrow", {320, 127, 49, 20}},
    };
    for (const auto& [name, bounds] : fixed) {
        SCOPED_TRACE(name);
        const rt::ui::Control& element = Element<rt::ui::Control>(name);
        EXPECT_EQ(element.GetBounds(), bounds);
        EXPECT_TRUE(element.Visible());
        EXPECT_EQ(element.Parent(), &main);
    }
    const std::pair<const char*, POINT> labels[] = {
        {"Label_kjny", {140, 12}}, {"Label_ssqcap", {40, 13}}, {"Label_ggkjny", {229, 13}}};
    for (const auto& [name, at] : labels) {
        SCOPED_TRACE(name);
        const Label& label = Element<Label>(name);
        EXPECT_EQ(label.Left(), at.x);
        EXPECT_EQ(label.Top(), at.y);
        EXPECT_TRUE(label.Visible());
        EXPECT_TRUE(label.Transparent());
    }
    EXPECT_EQ(Element<Label>("Label_ssqcap").GetFont().height, 12);
    EXPECT_EQ(Element<Label>("Label_kjny").GetFont().height, 13);
    EXPECT_TRUE(Element<Label>("Label_kjny").GetFont().bold);
    EXPECT_EQ(Element<Label>("Label_kjny").GetFont().color, rt::ui::RgbHex(0x0845B0));
    EXPECT_TRUE(Element<Label>("Label_ggkjny").GetFont().underline);
    EXPECT_EQ(Element<Label>("Label_ggkjny").GetFont().color, rt::ui::RgbHex(0xFF6600));
    EXPECT_EQ(Element<Label>("Label_ggkjny").GetCursor(), rt::ui::Cursor::Hand);

    Image& background = Element<Image>("bg_img_up");
    EXPECT_EQ(background.GetBounds(),
              (Bounds{main.Width() - 447, main.Height() - 322, 447, 322}));
    const Image& strip = Element<Image>("Image1");
    EXPECT_EQ(strip.GetBounds(), (Bounds{0, 0, bottom.Width(), 5}));
    EXPECT_EQ(strip.Parent(), &bottom);

    EXPECT_FALSE(Element<Label>("Label_url").Visible());
    EXPECT_FALSE(Element<Image>("img_fpcj_arrow2").Visible());
    EXPECT_FALSE(Button("sbtn_url").Visible());
    EXPECT_EQ(Button("sbtnBs").GetCursor(), rt::ui::Cursor::Hand);
}

TEST_F(LauncherPanelTest, WithoutIndividuationTheDefaultsShow)
{
    ASSERT_TRUE(Show());
    const std::pair<const char*, const char*> captions[] = {
        {"sbtnBs", "网上抄税"},   {"sbtnClearCard", "清  卡"}, {"sbtnGetState", "获取状态"},
        {"sbtncbzt", "抄报状态"}, {"sbtnQXBS", "取消抄税"},    {"sbtnfpcx", "发票查询"}};
    for (const auto& [name, caption] : captions) {
        SCOPED_TRACE(name);
        EXPECT_EQ(Button(name).Caption(), caption);
        EXPECT_EQ(Button(name).Hint(), "");
        EXPECT_EQ(Button(name).Glyph().Width(), 96);
        EXPECT_EQ(Button(name).Glyph().Height(), 48);
    }
    EXPECT_TRUE(ShowsResourcePicture(Button("sbtnBs"), "BTN_BS"));
    EXPECT_TRUE(ShowsResourcePicture(Button("sbtnfpcx"), "BTN_FPQUERY"));
    EXPECT_TRUE(ShowsResourcePicture(Button("sbtn_url"), "BTN_URL"));
    EXPECT_EQ(Element<Label>("Label_kjny").Caption(), "2007年03月");
    EXPECT_EQ(Element<Label>("Label_version").Caption(), "版本：2.0.1");
    EXPECT_TRUE(View()->ShowHint());
}

TEST_F(LauncherPanelTest, ConfiguredCaptionsPicturesAndHintsAreUsed)
{
    Individuate({{"Caption_BS", "抄税"},
                 {"Hint_BS", "将发票数据抄入IC卡"},
                 {"Image_BS", SaveTwoCellPicture("bs.bmp", 48, rt::ui::Rgb(200, 10, 10))},
                 {"Caption_FPQUery", ""},
                 {"Image_QK", "missing.bmp"},
                 {"Hint_CancelBS", "撤销本月抄税"},
                 {"ThirdUrl", "http://www.example.com/"},
                 {"ThirdUrlHint", "打开网站"},
                 {"ThirdUrlImage", SaveTwoCellPicture("url.bmp", 80, rt::ui::Rgb(10, 10, 200))}});
    ASSERT_TRUE(Show());
    EXPECT_EQ(Button("sbtnBs").Caption(), "抄税");
    EXPECT_EQ(Button("sbtnBs").Hint(), "将发票数据抄入IC卡");
    EXPECT_EQ(Button("sbtnBs").Glyph().PixelAt(10, 10), rt::ui::Rgb(200, 10, 10));
    EXPECT_EQ(Button("sbtnfpcx").Caption(), "发票查询");
    EXPECT_TRUE(ShowsResourcePicture(Button("sbtnClearCard"), "BTN_QK"));
    EXPECT_EQ(Button("sbtnQXBS").Hint(), "撤销本月抄税");

    // The link button, with no title: shown without caption, arrows untouched.
    FlatPictureButton& link = Button("sbtn_url");
    EXPECT_TRUE(link.Visible());
    EXPECT_EQ(link.Caption(), "");
    EXPECT_EQ(link.Hint(), "打开网站");
    EXPECT_EQ(link.Glyph().PixelAt(40, 40), rt::ui::Rgb(10, 10, 200));
    EXPECT_EQ(Element<Image>("img_fpcj_arrow").Left(), 228);
    EXPECT_TRUE(Element<Image>("img_fpcj_arrow2").Visible());
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherPanelTest, ALinkSetOnALaterShowPutsBothArrowsBackInTheirPlaces)
{
    ASSERT_TRUE(Show());
    EXPECT_EQ(Element<Image>("img_fpcj_arrow").Left(), 320);
    EXPECT_FALSE(Element<Image>("img_fpcj_arrow2").Visible());

    Individuate({{"ThirdUrl", "http://www.example.com/"}});
    View()->Hide();
    ASSERT_TRUE(Show());
    EXPECT_TRUE(Button("sbtn_url").Visible());
    EXPECT_EQ(Element<Image>("img_fpcj_arrow").Left(), 228);
    EXPECT_EQ(Element<Image>("img_fpcj_arrow2").Left(), 404);
    EXPECT_TRUE(Element<Image>("img_fpcj_arrow2").Visible());
}

TEST_F(LauncherPanelTest, ALinkTitleShowsWholeUnderAWholePicture)
{
    Individuate({{"ThirdUrl", "http://www.example.com/"}, {"ThirdUrlTitle", "电子税务局"}});
    ASSERT_TRUE(Show());
    FlatPictureButton& link = Button("sbtn_url");
    const RECT glyph = link.GlyphRect();
    const RECT caption = link.CaptionRect();
    EXPECT_GE(glyph.top, 0);
    EXPECT_EQ(glyph.bottom - glyph.top, 80);
    EXPECT_GE(caption.top, glyph.bottom);
    EXPECT_GE(caption.bottom - caption.top, 12);
    EXPECT_LE(caption.bottom, link.Height()) << "the title is not cut";
    EXPECT_EQ(link.Left(), 301);
    EXPECT_EQ(link.Top(), 98);
    EXPECT_LE(link.Top() + link.Height(), Button("sbtnQXBS").Top()) << "nothing is covered";

    // On the screen: the title's strokes, darker than the panel, inside the button.
    const rt::ui::CapturedImage picture = rt::ui::CaptureWindow(link.Parent()->Handle());
    // Kept beside the build's other pictures for a look by eye.
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string out = program;
    out = out.substr(0, out.rfind('\\')) + "\\..\\out";
    CreateDirectoryA(out.c_str(), nullptr);
    rt::ui::CaptureWindowToPng(View()->Handle(), out + "\\launcher-link.png");
    int strokes = 0;
    for (int y = caption.top; y < caption.bottom; ++y)
        for (int x = caption.left; x < caption.right; ++x) {
            const std::uint32_t pixel = picture.At(link.Left() + x, link.Top() + y);
            strokes += ((pixel >> 16 & 0xFF) + (pixel >> 8 & 0xFF) + (pixel & 0xFF)) < 3 * 96;
        }
    EXPECT_GT(strokes, 40);

    // Without a title the button has its designed size again.
    Individuate({{"ThirdUrl", "http://www.example.com/"}});
    View()->Hide();
    ASSERT_TRUE(Show());
    EXPECT_EQ(Button("sbtn_url").Height(), 80);
}

TEST_F(LauncherPanelTest, APictureThatIsNoBitmapEndsTheSetUpAndIsReported)
{
    folder.Write("broken.bmp", "this is not a bitmap");
    Individuate({{"Caption_BS", "抄税"}, {"Image_BS", "broken.bmp"}, {"Caption_QK", "清卡"}, {"Hint_BS", "提示"}});
    ASSERT_TRUE(Show());
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_THAT(errors.Messages()[0], HasSubstr("broken.bmp"));
    EXPECT_EQ(Button("sbtnBs").Caption(), "抄税");
    EXPECT_EQ(Button("sbtnClearCard").Caption(), "清  卡  ");
    EXPECT_EQ(Button("sbtnBs").Hint(), "");
    EXPECT_TRUE(StartedCodes().empty());
    EXPECT_TRUE(IsWindowVisible(View()->Handle()));
}

TEST_F(LauncherPanelTest, ButtonsOfFunctionsTheUserMayNotUseAreHiddenAndNothingMoves)
{
    Model().DenyFunction("WSCBS003-01");
    Model().DenyFunction("WSCBS004-00-06");
    ASSERT_TRUE(Show());
    EXPECT_FALSE(Button("sbtnfpcx").Visible());
    EXPECT_FALSE(Button("sbtnQXBS").Visible());
    EXPECT_EQ(Button("sbtncbzt").GetBounds(), (Bounds{362, 250, 80, 80}));
    EXPECT_EQ(Button("sbtnGetState").GetBounds(), (Bounds{130, 250, 80, 80}));

    // Rights given later show at the next show.
    Model().AllowFunction("WSCBS003-01");
    host->Container().Hide();
    host->Container().Show();
    rt::ui::driver::ProcessMessages();
    EXPECT_TRUE(Button("sbtnfpcx").Visible());
    EXPECT_FALSE(Button("sbtnQXBS").Visible());
}

TEST_F(LauncherPanelTest, TheVersionCaptionIsCutAt56Bytes)
{
    subApp.version = std::string(60, '9');
    Model().AddSubApp(subApp);
    ASSERT_TRUE(Show());
    EXPECT_EQ(Element<Label>("Label_version").Caption(), "版本：" + std::string(50, '9'));
}

TEST_F(LauncherPanelTest, TheBottomPanelFollowsTheHeightAndTheBackgroundTheCorner)
{
    Panel& container = OwnContainer(900, 600);
    ASSERT_TRUE(ShowIn(&container));
    Panel& bottom = Element<Panel>("pnl_bottom", &container);
    Panel& main = Element<Panel>("Pnl_main", &container);
    const Label& version = Element<Label>("Label_version", &container);
    for (const auto& [height, expected] : {std::pair{400, 60}, {480, 115}, {500, 135}, {560, 135}}) {
        SCOPED_TRACE(height);
        const int versionFromBottom = bottom.Height() - version.Top();
        ResizeViewTo(container, height);
        EXPECT_EQ(bottom.Height(), expected);
        EXPECT_EQ(bottom.GetBounds().Bottom(), View(&container)->ClientHeight());
        EXPECT_EQ(bottom.Height() - version.Top(), versionFromBottom);
        // Where the buttons fit, the background stands in the corner; at
        // 400 the main area scrolls (LauncherLayoutTests).
        if (height >= 480) {
            EXPECT_EQ(Element<Image>("bg_img_up", &container).GetBounds(),
                      (Bounds{main.Width() - 447, main.Height() - 322, 447, 322}));
        }
    }
}

TEST_F(LauncherPanelTest, EachButtonStartsItsFunctionAndIsDisabledOnlyWhileItRuns)
{
    ASSERT_TRUE(Show());
    const std::pair<const char*, const char*> codes[] = {
        {"sbtnBs", "WSCBS004-00-03"}, {"sbtnClearCard", "WSCBS004-00-04"}, {"sbtnGetState", "WSCBS004-00-05"},
        {"sbtncbzt", "WSCBS002-01"},  {"sbtnQXBS", "WSCBS004-00-06"},      {"sbtnfpcx", "WSCBS003-01"}};
    for (const auto& [name, code] : codes) {
        SCOPED_TRACE(name);
        std::vector<std::string> enabledDuringCall;
        Model().SetHostFunction(code, [&](void* owner, const std::string&, std::string&) {
            EXPECT_EQ(owner, &host->Container());
            for (const char* other : kButtons)
                if (Button(other).Enabled())
                    enabledDuringCall.push_back(other);
            return true;
        });
        Model().ClearRecords();
        rt::ui::driver::Click(Button(name));
        EXPECT_THAT(StartedCodes(), ElementsAre(code));
        EXPECT_EQ(enabledDuringCall.size(), std::size(kButtons) - 1);
        EXPECT_THAT(enabledDuringCall, testing::Not(testing::Contains(std::string(name))));
        EXPECT_TRUE(Button(name).Enabled());
    }
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherPanelTest, WithoutTheRightAClickStartsNothing)
{
    ASSERT_TRUE(Show());
    Model().DenyFunction("WSCBS004-00-03");
    Model().ClearRecords();
    rt::ui::driver::Click(Button("sbtnBs"));
    EXPECT_TRUE(StartedCodes().empty());
    EXPECT_TRUE(Button("sbtnBs").Enabled());
}

namespace {

FlatPictureButton* g_clicked = nullptr;
bool g_disabledDuringCall = false;

unsigned char __stdcall FailingExecuteFunc(void*, const char* code, char**)
{
    g_disabledDuringCall = g_clicked && !g_clicked->Enabled();
    throw rt::Error(std::string("读卡器未连接：") + code);
}

} // namespace

TEST_F(LauncherPanelTest, AnErrorOutOfTheHostFunctionReachesTheErrorDisplayAndTheButtonComesBack)
{
    ASSERT_TRUE(Show());
    const testing_support::LocalBlockRecord blocks(module->Handle());
    testing_support::ImportPatch failing(module->Handle(), "ModuleLib.dll", "ExecuteFunc",
                                         reinterpret_cast<void*>(&FailingExecuteFunc));
    g_clicked = &Button("sbtnGetState");
    rt::ui::driver::Click(*g_clicked);
    EXPECT_TRUE(g_disabledDuringCall);
    EXPECT_TRUE(g_clicked->Enabled());
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_EQ(errors.Messages()[0], "读卡器未连接：WSCBS004-00-05");
    // The parameter buffer went back before the error left the launch.
    EXPECT_FALSE(blocks.Allocated().empty());
    EXPECT_TRUE(blocks.Held().empty());
    g_clicked = nullptr;
}

TEST_F(LauncherPanelTest, WithoutMemoryForTheParameterBufferNothingStartsAndTheButtonComesBack)
{
    ASSERT_TRUE(Show());
    Model().ClearRecords();
    {
        const testing_support::LocalBlockRecord noMemory(module->Handle(), true);
        rt::ui::driver::Click(Button("sbtnClearCard"));
        EXPECT_EQ(noMemory.FailedAllocations(), 1);
    }
    EXPECT_TRUE(StartedCodes().empty());
    EXPECT_TRUE(Button("sbtnClearCard").Enabled());
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_THAT(errors.Messages()[0], HasSubstr("WSCBS004-00-04"));

    rt::ui::driver::Click(Button("sbtnClearCard"));
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-04"));
}

TEST_F(LauncherPanelTest, ThePanelStartsItsFunctionOnEveryShowButNotOnARepeatedShow)
{
    ASSERT_TRUE(Show());
    ASSERT_TRUE(Show());
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-01"));
    host->Container().Hide();
    rt::ui::driver::ProcessMessages();
    host->Container().Show();
    rt::ui::driver::ProcessMessages();
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-01", "WSCBS004-00-01"));
    EXPECT_EQ(Model().ExecuteCalls()[0].owner, &host->Container());
}

TEST_F(LauncherPanelTest, ThePeriodLinkShowsThePeriodTheHostFunctionStored)
{
    ASSERT_TRUE(Show());
    Model().SetHostFunction("WSCBS005-01", [](void*, const std::string&, std::string&) {
        Model().SetString(*Model().SubAppVo("WSCBS"), "Global_curkjny", "202611");
        return true;
    });
    rt::ui::driver::Click(Element<Label>("Label_ggkjny"));
    EXPECT_EQ(StartedCodes().back(), "WSCBS005-01");
    EXPECT_EQ(Element<Label>("Label_kjny").Caption(), "2026年11月");

    // Without the right nothing starts, and the label still follows the value.
    Model().DenyFunction("WSCBS005-01");
    Model().SetString(*Model().SubAppVo("WSCBS"), "Global_curkjny", "2027");
    Model().ClearRecords();
    rt::ui::driver::Click(Element<Label>("Label_ggkjny"));
    EXPECT_TRUE(StartedCodes().empty());
    EXPECT_EQ(Element<Label>("Label_kjny").Caption(), "2027年月");
}

TEST_F(LauncherPanelTest, F1InThePanelAsksTheHostForHelpOnce)
{
    ASSERT_TRUE(Show());
    SetForegroundWindow(host->Handle());
    SetFocus(Element<Panel>("Pnl_main").Handle());
    rt::ui::driver::ProcessMessages();
    rt::ui::driver::PressKey(Element<Panel>("Pnl_main").Handle(), VK_F1);
    EXPECT_EQ(host->HelpRequests(), 1);
    rt::ui::driver::PressKey(Element<Panel>("Pnl_main").Handle(), VK_RETURN);
    EXPECT_EQ(host->HelpRequests(), 1);
}

TEST_F(LauncherPanelTest, AfterAClickOnThePanelF1AsksTheHostForHelp)
{
    ASSERT_TRUE(Show());
    SetForegroundWindow(host->Handle());
    SetFocus(host->Handle());
    rt::ui::driver::ProcessMessages();
    testing_support::UserPressKey(VK_F1);
    EXPECT_EQ(host->HelpRequests(), 0) << "the host's own window keeps its keys";

    // A place of the panel with no button on it.
    const Bounds panel = Element<Panel>("Pnl_main").ScreenBounds();
    testing_support::UserClick(POINT{panel.left + 40, panel.top + 200});
    testing_support::UserPressKey(VK_F1);
    EXPECT_EQ(host->HelpRequests(), 1);
    testing_support::UserPressKey(VK_RETURN);
    EXPECT_EQ(host->HelpRequests(), 1);
}

namespace {

struct ShellOpen {
    HWND owner;
    std::string verb, file;
    bool noParameters, noDirectory;
    int show;
};
std::vector<ShellOpen> g_opened;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                    INT show)
{
    g_opened.push_back({owner, verb ? verb : "", file ? file : "", parameters == nullptr, directory == nullptr, show});
    return reinterpret_cast<HINSTANCE>(33);
}

} // namespace

TEST_F(LauncherPanelTest, TheLinkButtonAsksTheShellToOpenTheAddressReadAfresh)
{
    Individuate({{"ThirdUrl", "http://www.example.com/"}, {"ThirdUrlTitle", "税务网站"}});
    ASSERT_TRUE(Show());
    EXPECT_EQ(Button("sbtn_url").Caption(), "税务网站");
    testing_support::ImportPatch shellOpen(module->Handle(), "shell32.dll", "ShellExecuteA",
                                           reinterpret_cast<void*>(&RecordShellExecute));
    g_opened.clear();
    Individuate({{"ThirdUrl", "http://www.example.com/cbs"}});
    rt::ui::driver::Click(Button("sbtn_url"));
    ASSERT_EQ(g_opened.size(), 1u);
    EXPECT_EQ(g_opened[0].owner, View()->Handle());
    EXPECT_EQ(g_opened[0].verb, "open");
    EXPECT_EQ(g_opened[0].file, "http://www.example.com/cbs");
    EXPECT_TRUE(g_opened[0].noParameters);
    EXPECT_TRUE(g_opened[0].noDirectory);
    EXPECT_EQ(g_opened[0].show, SW_SHOWNORMAL);

    // With the address gone the button still stands until the next show,
    // and opens nothing.
    Individuate({});
    rt::ui::driver::Click(Button("sbtn_url"));
    EXPECT_EQ(g_opened.size(), 1u);
    EXPECT_TRUE(errors.Messages().empty());
}
