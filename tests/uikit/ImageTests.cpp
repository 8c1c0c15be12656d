#include "UiTestSupport.h"

#include "sharedrt/ui/Image.h"
#include "sharedrt/ui/Shape.h"

using namespace rt::ui;

namespace {

class ImageTests : public uitest::CanvasTest {};

} // namespace

TEST_F(ImageTests, TransparentPictureLeavesOutItsBottomLeftColour)
{
    auto* arrow = new Image({.control = {.owner = form_, .parent = canvas_, .bounds = {228, 127, 0, 0}},
                             .picture = uitest::TwoCellPicture(20, RgbHex(0x00FF00), RgbHex(0x0000FF)),
                             .transparent = true,
                             .autoSize = true});
    EXPECT_EQ(arrow->GetBounds(), (Bounds{228, 127, 40, 20}));
    CapturedImage image = Capture();
    EXPECT_EQ(image.At(228 + 5, 127 + 5), 0x00FF00u);
    EXPECT_EQ(image.At(228 + 25, 127 + 5), 0x0000FFu);
    EXPECT_EQ(image.At(228 + 5, 127 + 19), kCanvasColor);

    arrow->SetTransparent(false);
    EXPECT_EQ(Capture().At(228 + 5, 127 + 19), 0xFF00FFu);
}

TEST_F(ImageTests, StretchedPictureFillsTheControl)
{
    auto* strip = new Image({.control = {.owner = form_, .parent = canvas_, .bounds = {0, 0, 0, 5},
                                         .align = Align::Top},
                             .picture = Bitmap::Filled(4, 5, RgbHex(0x123456)),
                             .stretch = true});
    EXPECT_EQ(strip->Width(), canvas_->ClientWidth());
    const CapturedImage image = Capture();
    EXPECT_EQ(image.At(0, 2), 0x123456u);
    EXPECT_EQ(image.At(canvas_->ClientWidth() - 1, 4), 0x123456u);
    EXPECT_EQ(image.At(10, 5), kCanvasColor);
}

TEST_F(ImageTests, PictureAnchoredToTheBottomRightCornerMovesWithIt)
{
    auto* background = new Image({.control = {.owner = form_, .parent = canvas_, .bounds = {300, 200, 100, 100},
                                              .anchors = kAnchorRight | kAnchorBottom},
                                  .picture = Bitmap::Filled(100, 100, RgbHex(0x336699))});
    driver::ResizeWindow(form_->Handle(), 600, 450);
    EXPECT_EQ(background->GetBounds(), (Bounds{500, 350, 100, 100}));
    EXPECT_EQ(Capture().At(599, 449), 0x336699u);
}

TEST_F(ImageTests, OnePixelShapeIsALineInItsPenColour)
{
    auto* line = new Shape({.control = {.owner = form_, .parent = canvas_, .bounds = {0, 0, 0, 1}, .align = Align::Top},
                            .penColor = RgbHex(0x838383),
                            .brushClear = true});
    CapturedImage image = Capture();
    EXPECT_EQ(image.At(0, 0), 0x838383u);
    EXPECT_EQ(image.At(canvas_->ClientWidth() - 1, 0), 0x838383u);
    EXPECT_EQ(image.At(5, 1), kCanvasColor);

    auto* box = new Shape({.control = {.owner = form_, .parent = canvas_, .bounds = {50, 50, 20, 10}},
                           .penColor = RgbHex(0x000000),
                           .brushColor = RgbHex(0xFFFF00)});
    image = Capture();
    EXPECT_EQ(image.At(50, 50), 0x000000u);
    EXPECT_EQ(image.At(69, 59), 0x000000u);
    EXPECT_EQ(image.At(60, 55), 0xFFFF00u);

    line->Hide();
    box->Hide();
    image = Capture();
    EXPECT_EQ(image.At(0, 0), kCanvasColor);
    EXPECT_EQ(image.At(60, 55), kCanvasColor);
}

TEST_F(ImageTests, APictureGivenAtCreationIsTakenOverNotCopied)
{
    Bitmap picture = Bitmap::Filled(10, 10, RgbHex(0x00FF00));
    const HBITMAP handle = picture.Handle();
    auto* image = new Image({.control = {.owner = form_, .parent = canvas_, .bounds = {0, 0, 10, 10}},
                             .picture = std::move(picture)});
    EXPECT_EQ(image->Picture().Handle(), handle);

    // A picture the caller keeps is copied.
    const Bitmap kept = Bitmap::Filled(10, 10, RgbHex(0x0000FF));
    ImageArgs args{.control = {.owner = form_, .parent = canvas_, .bounds = {20, 0, 10, 10}}, .picture = kept};
    auto* second = new Image(args);
    EXPECT_NE(second->Picture().Handle(), kept.Handle());
    EXPECT_EQ(second->Picture().PixelAt(5, 5), kept.PixelAt(5, 5));
}

// Only the part that changed is painted again; it lands where it belongs,
// and the rest of the window stays as it was.
TEST_F(ImageTests, APaintOfPartOfTheWindowDrawsThatPartInItsPlace)
{
    auto* image = new Image({.control = {.owner = form_, .parent = canvas_, .bounds = {200, 150, 50, 40}},
                             .picture = Bitmap::Filled(50, 40, RgbHex(0x00FF00))});
    Capture();
    image->SetPicture(Bitmap::Filled(50, 40, RgbHex(0xFF0000)));
    // Something is drawn over the canvas where no paint is due: a paint of
    // the whole window would cover it again.
    {
        WindowDc dc(canvas_->Handle());
        rt::unique_hbrush black(CreateSolidBrush(RGB(0, 0, 0)));
        RECT elsewhere{10, 10, 30, 30};
        FillRect(dc.get(), &elsewhere, black.get());
    }
    UpdateWindow(canvas_->Handle());
    WindowDc dc(canvas_->Handle());
    EXPECT_EQ(GetPixel(dc.get(), 200, 150), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 249, 189), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 199, 150), RGB(0xF4, 0xF9, 0xFE));
    EXPECT_EQ(GetPixel(dc.get(), 250, 190), RGB(0xF4, 0xF9, 0xFE));
    EXPECT_EQ(GetPixel(dc.get(), 20, 20), RGB(0, 0, 0));
}

// The windows of all forms paint through one buffer: a small form painted
// first does not cut the picture of a larger one, nor the other way round.
TEST_F(ImageTests, FormsOfDifferentSizesPaintWhole)
{
    auto* small = new Form({.control = {.bounds = {50, 50, 60, 40}, .color = RgbHex(0x0000FF)},
                            .borderStyle = BorderStyle::None});
    small->Show();
    CapturedImage first = CaptureWindow(small->Handle());
    EXPECT_EQ(first.At(59, 39), 0x0000FFu);

    auto* large = new Form({.control = {.bounds = {0, 0, 900, 700}, .color = RgbHex(0x00FF00)},
                            .borderStyle = BorderStyle::None});
    new Image({.control = {.owner = large, .parent = large, .bounds = {880, 680, 20, 20}},
               .picture = Bitmap::Filled(20, 20, RgbHex(0xFF0000))});
    large->Show();
    const CapturedImage whole = CaptureWindow(large->Handle());
    EXPECT_EQ(whole.At(0, 0), 0x00FF00u);
    EXPECT_EQ(whole.At(879, 679), 0x00FF00u);
    EXPECT_EQ(whole.At(880, 680), 0xFF0000u);
    EXPECT_EQ(whole.At(899, 699), 0xFF0000u);

    first = CaptureWindow(small->Handle());
    EXPECT_EQ(first.At(0, 0), 0x0000FFu);
    EXPECT_EQ(first.At(59, 39), 0x0000FFu);
    FreeComponent(large);
    FreeComponent(small);
}
