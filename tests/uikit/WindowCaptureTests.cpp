#include "UiTestSupport.h"

#include "support/TempFolder.h"

#include "sharedrt/RtError.h"
#include "sharedrt/ui/Label.h"

#include <cstring>
#include <fstream>
#include <iterator>

using namespace rt::ui;

namespace {

class WindowCaptureTests : public uitest::CanvasTest {};

std::uint32_t BigEndianAt(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return (bytes[at] << 24) | (bytes[at + 1] << 16) | (bytes[at + 2] << 8) | bytes[at + 3];
}

} // namespace

TEST_F(WindowCaptureTests, PngFileHasTheWindowsSizeAndContent)
{
    auto* strip = new Panel({.control = {.owner = form_, .parent = canvas_, .bounds = {0, 0, 0, 30},
                                         .align = Align::Bottom, .color = RgbHex(0xEFF4F8)},
                             .bevelOuter = Bevel::None});
    new Label({.control = {.owner = form_, .parent = strip, .bounds = {10, 5, 0, 0}, .caption = "版本：2.0.1"},
               .transparent = true});
    driver::ResizeWindow(form_->Handle(), 321, 203);

    testing_support::TempFolder folder;
    const std::string path = folder.Path() + "窗口.png";
    CaptureWindowToPng(form_->Handle(), path);
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> png{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(png.size(), 33u);
    EXPECT_EQ(std::memcmp(png.data(), "\x89PNG\r\n\x1a\n", 8), 0);
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ(BigEndianAt(png, 16), 321u);
    EXPECT_EQ(BigEndianAt(png, 20), 203u);

    // Child windows are in the picture.
    const CapturedImage image = CaptureWindow(form_->Handle());
    EXPECT_EQ(image.At(5, 5), kCanvasColor);
    EXPECT_EQ(image.At(300, 200), 0xEFF4F8u);
}

TEST_F(WindowCaptureTests, HiddenWindowsCannotBeCaptured)
{
    form_->Hide();
    EXPECT_THROW(CaptureWindow(form_->Handle()), rt::Error);
}
