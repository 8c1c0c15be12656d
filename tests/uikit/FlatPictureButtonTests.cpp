#include "UiTestSupport.h"

#include "sharedrt/RtError.h"
#include "sharedrt/ui/FlatPictureButton.h"

using namespace rt::ui;

namespace {

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

class FlatPictureButtonTests : public uitest::CanvasTest {
protected:
    FlatPictureButton* AddButton(Bounds bounds, std::string caption = "网上抄税")
    {
        auto* button = new FlatPictureButton({.control = {.owner = form_, .parent = canvas_, .bounds = bounds,
                                                          .caption = std::move(caption)},
                                              .glyph = uitest::TwoCellPicture(48, RgbHex(kRed), RgbHex(kBlue))});
        button->OnClick = [this](Component& sender) { clicked_.push_back(&sender); };
        return button;
    }
    std::vector<Component*> clicked_;
};

} // namespace

TEST_F(FlatPictureButtonTests, ClickThroughRealMouseMessagesRunsTheHandlerOnce)
{
    auto* first = AddButton({130, 98, 80, 80});
    auto* second = AddButton({230, 98, 80, 80});
    driver::Click(*first);
    EXPECT_EQ(clicked_, (std::vector<Component*>{first}));
    driver::Click(*second);
    EXPECT_EQ(clicked_, (std::vector<Component*>{first, second}));
    EXPECT_FALSE(first->Pressed());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FlatPictureButtonTests, DisabledOrHiddenButtonsTakeNoClicks)
{
    auto* button = AddButton({130, 98, 80, 80});
    int canvasClicks = 0;
    canvas_->OnClick = [&](Component&) { ++canvasClicks; };
    button->SetEnabled(false);
    driver::Click(*button);
    EXPECT_TRUE(clicked_.empty());
    // The press falls through to the control beneath.
    EXPECT_EQ(canvasClicks, 1);

    button->SetEnabled(true);
    button->Hide();
    driver::Click(*button);
    EXPECT_TRUE(clicked_.empty());

    button->Show();
    driver::Click(*button);
    EXPECT_EQ(clicked_.size(), 1u);
}

TEST_F(FlatPictureButtonTests, ReleasingOutsideTheButtonIsNoClick)
{
    auto* button = AddButton({130, 98, 80, 80});
    const POINT center = driver::CenterOf(*button);
    HWND window = canvas_->Handle();
    POINT inside = center, outside{center.x + 200, center.y};
    ScreenToClient(window, &inside);
    ScreenToClient(window, &outside);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(inside.x, inside.y));
    EXPECT_TRUE(button->Pressed());
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(outside.x, outside.y));
    EXPECT_FALSE(button->IsHot());
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(outside.x, outside.y));
    EXPECT_TRUE(clicked_.empty());
    EXPECT_FALSE(button->Pressed());
}

TEST_F(FlatPictureButtonTests, EnabledShowsTheFirstCellDisabledTheSecond)
{
    auto* button = AddButton({130, 98, 80, 80});
    const RECT glyph = button->GlyphRect();
    const RECT caption = button->CaptionRect();
    // Picture centred above the caption.
    EXPECT_EQ(glyph.right - glyph.left, 48);
    EXPECT_EQ(glyph.left, (80 - 48) / 2);
    EXPECT_LE(glyph.bottom, caption.top);
    EXPECT_NEAR((caption.left + caption.right) / 2, 40, 1);
    EXPECT_NEAR(glyph.top, 80 - caption.bottom, 1);

    const int x = 130 + (glyph.left + glyph.right) / 2;
    const int y = 98 + (glyph.top + glyph.bottom) / 2;
    EXPECT_EQ(Capture().At(x, y), kRed);
    // The bottom row of the picture is the transparent colour.
    EXPECT_EQ(Capture().At(x, 98 + glyph.bottom - 1), kCanvasColor);

    button->SetEnabled(false);
    EXPECT_EQ(Capture().At(x, y), kBlue);
}

TEST_F(FlatPictureButtonTests, HighlightsUnderTheMouseOnly)
{
    auto* button = AddButton({130, 98, 80, 80});
    // The button's border: flat until the mouse comes.
    EXPECT_EQ(Capture().At(130, 98 + 40), kCanvasColor);
    driver::MoveMouseTo(*button);
    EXPECT_TRUE(button->IsHot());
    EXPECT_EQ(canvas_->HotControl(), button);
    EXPECT_NE(Capture().At(130, 98 + 40), kCanvasColor);

    driver::MoveMouseTo(*canvas_, POINT{button->ScreenBounds().left - 20, driver::CenterOf(*button).y});
    EXPECT_FALSE(button->IsHot());
    EXPECT_EQ(Capture().At(130, 98 + 40), kCanvasColor);

    // A disabled button does not light up.
    button->SetEnabled(false);
    driver::MoveMouseTo(*button);
    EXPECT_FALSE(button->IsHot());
}

TEST_F(FlatPictureButtonTests, ShowsTheHandCursor)
{
    auto* button = AddButton({130, 98, 80, 80});
    EXPECT_EQ(button->GetCursor(), Cursor::Hand);
    const POINT center = driver::CenterOf(*button);
    SetCursorPos(center.x, center.y);
    POINT at{};
    GetCursorPos(&at);
    ASSERT_EQ(at.x, center.x) << "the pointer could not be moved";
    SendMessageA(canvas_->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(canvas_->Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
}

TEST_F(FlatPictureButtonTests, ExceptionInTheClickHandlerReachesTheErrorDisplay)
{
    auto* button = AddButton({130, 98, 80, 80});
    button->OnClick = [](Component&) { throw rt::Error("调用主程序功能失败"); };
    driver::Click(*button);
    ASSERT_EQ(errors_.Messages().size(), 1u);
    EXPECT_EQ(errors_.Messages()[0], "调用主程序功能失败");
    EXPECT_FALSE(button->Pressed());
}

TEST_F(FlatPictureButtonTests, TheCaptionIsMeasuredAfreshWhenItOrItsFontChanges)
{
    auto* button = AddButton({100, 50, 120, 120}, "清卡");
    const RECT two = button->CaptionRect();
    EXPECT_EQ(button->CaptionRect().right - button->CaptionRect().left, two.right - two.left);

    button->SetCaption("清除税控卡");
    const RECT five = button->CaptionRect();
    EXPECT_GT(five.right - five.left, two.right - two.left);

    // A larger font of the parent reaches the button's caption.
    canvas_->SetFont(Font{.face = "宋体", .height = 24});
    const RECT larger = button->CaptionRect();
    EXPECT_GT(larger.bottom - larger.top, five.bottom - five.top);
    EXPECT_GT(larger.right - larger.left, five.right - five.left);
    EXPECT_EQ(button->ContentHeight(), 48 + 4 + (larger.bottom - larger.top));

    button->SetCaption("");
    EXPECT_EQ(button->ContentHeight(), 48);
}
