#include "UiTestSupport.h"

#include "sharedrt/ui/AlignLayout.h"

using rt::ui::Align;
using rt::ui::ArrangeControls;
using rt::ui::Bounds;
using rt::ui::LayoutItem;
using namespace rt::ui;

TEST(AlignLayout, TopBottomAndClientShareTheAreaInOrder)
{
    // Listed out of order: the second top item sits higher, so it goes first.
    const std::vector<LayoutItem> items = {
        {.align = Align::Top, .bounds = {0, 30, 10, 26}},
        {.align = Align::Top, .bounds = {0, 0, 10, 1}},
        {.align = Align::Client, .bounds = {5, 5, 5, 5}},
        {.align = Align::Bottom, .bounds = {0, 0, 10, 135}},
    };
    const auto placed = ArrangeControls(items, {0, 0, 789, 527}, 789, 527);
    EXPECT_EQ(placed[1], (Bounds{0, 0, 789, 1}));
    EXPECT_EQ(placed[0], (Bounds{0, 1, 789, 26}));
    EXPECT_EQ(placed[3], (Bounds{0, 392, 789, 135}));
    EXPECT_EQ(placed[2], (Bounds{0, 27, 789, 365}));
}

TEST(AlignLayout, HiddenAlignedItemsTakeNoRoomAndAreLeftAlone)
{
    const std::vector<LayoutItem> items = {
        {.align = Align::Top, .bounds = {3, 4, 10, 1}, .visible = false},
        {.align = Align::Top, .bounds = {0, 1, 10, 26}},
        {.align = Align::Left, .bounds = {0, 0, 50, 0}},
        {.align = Align::Right, .bounds = {0, 0, 40, 0}},
        {.align = Align::Client, .bounds = {}},
    };
    const auto placed = ArrangeControls(items, {0, 0, 300, 200}, 300, 200);
    EXPECT_EQ(placed[0], (Bounds{3, 4, 10, 1}));
    EXPECT_EQ(placed[1], (Bounds{0, 0, 300, 26}));
    EXPECT_EQ(placed[2], (Bounds{0, 26, 50, 174}));
    EXPECT_EQ(placed[3], (Bounds{260, 26, 40, 174}));
    EXPECT_EQ(placed[4], (Bounds{50, 26, 210, 174}));
}

TEST(AlignLayout, AnchorsKeepDistancesToTheRightAndBottomEdges)
{
    const std::vector<LayoutItem> items = {
        // Right and bottom only: moves.
        {.anchors = kAnchorRight | kAnchorBottom, .bounds = {640, 90, 91, 13}, .rightDistance = 58,
         .bottomDistance = 32},
        // Left and right: stretches, never below zero.
        {.anchors = kAnchorLeft | kAnchorTop | kAnchorRight, .bounds = {10, 10, 100, 20}, .rightDistance = 20},
        // Default anchors: stays.
        {.bounds = {7, 8, 9, 10}},
    };
    auto placed = ArrangeControls(items, {0, 0, 1000, 200}, 1000, 200);
    EXPECT_EQ(placed[0], (Bounds{1000 - 58 - 91, 200 - 32 - 13, 91, 13}));
    EXPECT_EQ(placed[1], (Bounds{10, 10, 1000 - 20 - 10, 20}));
    EXPECT_EQ(placed[2], (Bounds{7, 8, 9, 10}));

    placed = ArrangeControls(items, {0, 0, 25, 40}, 25, 40);
    EXPECT_EQ(placed[1].width, 0);
}

class AlignOnResize : public uitest::UiTest {};

TEST_F(AlignOnResize, ChildrenFollowTheFormWhenItsWindowIsResized)
{
    auto* form = new Form({.control = {.bounds = {60, 60, 400, 300}}, .borderStyle = BorderStyle::None});
    auto* top = new Panel({.control = {.owner = form, .parent = form, .bounds = {0, 0, 0, 26}, .align = Align::Top}});
    auto* bottom = new Panel({.control = {.owner = form, .parent = form, .bounds = {0, 0, 0, 100},
                                          .align = Align::Bottom}});
    auto* main = new Panel({.control = {.owner = form, .parent = form, .align = Align::Client}});
    // 58 from the right and 32 from the bottom of the bottom panel.
    auto* corner = new Panel({.control = {.owner = form, .parent = bottom, .bounds = {400 - 58 - 91, 100 - 32 - 13, 91, 13},
                                          .anchors = kAnchorRight | kAnchorBottom}});
    int resizes = 0;
    form->OnResize = [&](Component&) { ++resizes; };
    form->Show();

    driver::ResizeWindow(form->Handle(), 800, 600);
    EXPECT_EQ(form->Width(), 800);
    EXPECT_EQ(resizes, 1);
    EXPECT_EQ(top->GetBounds(), (Bounds{0, 0, 800, 26}));
    EXPECT_EQ(bottom->GetBounds(), (Bounds{0, 500, 800, 100}));
    EXPECT_EQ(main->GetBounds(), (Bounds{0, 26, 800, 474}));
    EXPECT_EQ(corner->GetBounds(), (Bounds{800 - 58 - 91, 100 - 32 - 13, 91, 13}));

    // The windows are really where the controls say.
    RECT r{};
    GetWindowRect(corner->Handle(), &r);
    const RECT bottomClient = uitest::ScreenClientRect(bottom->Handle());
    EXPECT_EQ(r.left - bottomClient.left, 800 - 58 - 91);

    // An aligned control that changes its own size moves its neighbours.
    bottom->SetHeight(135);
    EXPECT_EQ(bottom->GetBounds(), (Bounds{0, 465, 800, 135}));
    EXPECT_EQ(main->Height(), 465 - 26);
    EXPECT_EQ(corner->Top(), 135 - 32 - 13);

    // A hidden aligned control gives its room to the others.
    top->Hide();
    EXPECT_EQ(main->GetBounds(), (Bounds{0, 0, 800, 465}));
    form->Free();
}
