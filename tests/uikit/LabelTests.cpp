#include "UiTestSupport.h"

#include "sharedrt/ui/Label.h"

using namespace rt::ui;

namespace {

class LabelTests : public uitest::CanvasTest {};

// Longest run of one colour along a row of the captured area.
int LongestRun(const CapturedImage& image, int y, int left, int right, std::uint32_t color)
{
    int best = 0, run = 0;
    for (int x = left; x < right; ++x) {
        run = image.At(x, y) == color ? run + 1 : 0;
        best = std::max(best, run);
    }
    return best;
}

} // namespace

TEST_F(LabelTests, AutoSizedLabelFollowsItsTextAndKeepsItsAnchorsAfterwards)
{
    auto* label = new Label({.control = {.owner = form_, .parent = canvas_, .bounds = {300, 250, 10, 10},
                                         .anchors = kAnchorRight | kAnchorBottom, .caption = "版本：1"},
                             .transparent = true});
    const int shortWidth = label->Width();
    EXPECT_GT(shortWidth, 0);
    EXPECT_GT(label->Height(), 8);
    label->SetCaption("版本：2.0.1 (build 20070301)");
    EXPECT_GT(label->Width(), shortWidth);
    EXPECT_EQ(label->Left(), 300);

    // The distance to the right edge is the one the new width left.
    const int rightDistance = canvas_->ClientWidth() - label->GetBounds().Right();
    driver::ResizeWindow(form_->Handle(), 500, 350);
    EXPECT_EQ(canvas_->ClientWidth() - label->GetBounds().Right(), rightDistance);
    EXPECT_EQ(label->Top(), 250 + 50);
}

TEST_F(LabelTests, TransparentUnderlinedLinkInItsOwnColour)
{
    auto* link = new Label({.control = {.owner = form_, .parent = canvas_, .bounds = {229, 13, 24, 12},
                                        .caption = "更改",
                                        .font = Font{.face = "宋体", .height = 12, .underline = true,
                                                     .color = RgbHex(0xFF6600)},
                                        .cursor = Cursor::Hand},
                            .transparent = true});
    const CapturedImage image = Capture();
    const Bounds b = link->GetBounds();
    // Transparent: the canvas shows around the text; the underline is a line
    // of the text colour across the label.
    EXPECT_EQ(image.At(b.Right() - 1, b.top), kCanvasColor);
    int widest = 0;
    for (int y = b.top; y < b.Bottom(); ++y)
        widest = std::max(widest, LongestRun(image, y, b.left, b.Right(), 0xFF6600));
    EXPECT_GE(widest, b.width * 8 / 10);

    // An opaque label fills its rectangle with its colour.
    link->SetTransparent(false);
    link->SetColor(RgbHex(0x00FF00));
    EXPECT_EQ(Capture().At(b.Right() - 1, b.top), 0x00FF00u);
}

TEST_F(LabelTests, LabelClickRunsOnce)
{
    auto* link = new Label({.control = {.owner = form_, .parent = canvas_, .bounds = {229, 13, 24, 12},
                                        .caption = "更改", .cursor = Cursor::Hand},
                            .transparent = true});
    int clicks = 0;
    link->OnClick = [&](Component& sender) {
        EXPECT_EQ(&sender, link);
        ++clicks;
    };
    driver::Click(*link);
    EXPECT_EQ(clicks, 1);
    // A hidden label is not there to be clicked.
    link->Hide();
    driver::Click(*link);
    EXPECT_EQ(clicks, 1);
}

TEST_F(LabelTests, FontFollowsTheParentUntilTheLabelHasItsOwn)
{
    auto* label = new Label({.control = {.owner = form_, .parent = canvas_, .bounds = {10, 10, 0, 0},
                                         .caption = "当前税款所属期："}});
    EXPECT_TRUE(label->ParentFont());
    EXPECT_EQ(label->GetFont().face, "宋体");
    const int before = label->Height();
    Font bigger = form_->GetFont();
    bigger.height = 24;
    form_->SetFont(bigger);
    EXPECT_EQ(label->GetFont().height, 24);
    EXPECT_GT(label->Height(), before);

    label->SetFont(Font{.face = "宋体", .height = 12, .bold = true});
    form_->SetFont(Font{.face = "宋体", .height = 30});
    EXPECT_EQ(label->GetFont().height, 12);
    EXPECT_TRUE(label->GetFont().bold);
}
