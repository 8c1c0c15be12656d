#include "sharedrt/ui/PngFile.h"

#include "support/TempFolder.h"

#include "sharedrt/RtError.h"

#include <gtest/gtest.h>

#include <windows.h>

using namespace rt::ui;
using testing_support::PathExists;
using testing_support::ReadBytes;
using testing_support::TempFolder;

namespace {

// A picture like a capture: flat areas, edges and some text-like noise.
std::vector<std::uint32_t> CaptureLike(int width, int height)
{
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, 0xF0F4F8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t& p = pixels[static_cast<std::size_t>(y) * width + x];
            if (y < 26)
                p = 0xDAE8D8;
            if ((x / 80 + y / 80) % 5 == 0 && (x * 7 + y * 3) % 11 < 3)
                p = 0x1F3F7F;
            if (x == y % width)
                p = static_cast<std::uint32_t>(x * 0x010203) & 0xFFFFFF;
        }
    return pixels;
}

} // namespace

TEST(PngFile, APictureReadsBackPixelForPixelAndIsCompressed)
{
    const TempFolder folder;
    const int width = 860;
    const int height = 640;
    const std::vector<std::uint32_t> pixels = CaptureLike(width, height);
    const std::string path = folder.Path() + "\xbd\xe7\xc3\xe6.png";  // 界面.png
    WritePngFile(path, width, height, pixels);

    const PngPicture back = ReadPictureFile(path);
    EXPECT_EQ(back.width, width);
    EXPECT_EQ(back.height, height);
    EXPECT_TRUE(back.pixels == pixels);
    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(bytes.substr(0, 8), "\x89PNG\r\n\x1a\n");
    // Stored without compression it would be 3 bytes a pixel.
    EXPECT_LT(bytes.size(), static_cast<std::size_t>(width) * height * 3 / 10);
    EXPECT_FALSE(PathExists(path + ".partial"));
}

TEST(PngFile, RefusesMismatchedSizesAndLeavesNothingWhereItCannotWrite)
{
    EXPECT_THROW(WritePngFile("x.png", 2, 2, std::vector<std::uint32_t>(3)), rt::Error);
    EXPECT_THROW(WritePngFile("x.png", 0, 0, {}), rt::Error);
    const TempFolder folder;
    const std::string missing = folder.Path() + "missing\\a.png";
    EXPECT_THROW(WritePngFile(missing, 1, 1, {0}), rt::IoError);
    EXPECT_FALSE(PathExists(missing + ".partial"));

    // A picture already there stays whole when its replacement fails.
    const std::string path = folder.Path() + "a.png";
    WritePngFile(path, 1, 1, {0x123456});
    const std::string before = ReadBytes(path);
    EXPECT_THROW(WritePngFile(path, 2, 2, std::vector<std::uint32_t>(3)), rt::Error);
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(ReadPictureFile(path).pixels, std::vector<std::uint32_t>{0x123456});
    EXPECT_THROW(ReadPictureFile(folder.Path() + "none.png"), rt::IoError);
}
