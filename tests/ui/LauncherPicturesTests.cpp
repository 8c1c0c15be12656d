// The launcher's pictures are BITMAP resources of wscbs.dll, found by name,
// each the picture of its file at its design size.
#include "ui/LauncherPictures.h"

#include "support/LoadedModule.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

struct Expected {
    const char* name;
    const char* file;
    int width;
    int height;
};

constexpr Expected kPictures[] = {
    {ui::pictures::kBackground, "background.bmp", 447, 322},
    {ui::pictures::kOnlineCopy, "btn_bs.bmp", 96, 48},
    {ui::pictures::kClearCard, "btn_qk.bmp", 96, 48},
    {ui::pictures::kGetState, "btn_bsquery.bmp", 96, 48},
    {ui::pictures::kReportStatus, "btn_cbzt.bmp", 96, 48},
    {ui::pictures::kCancelCopy, "btn_cancelbs.bmp", 96, 48},
    {ui::pictures::kInvoiceQuery, "btn_fpquery.bmp", 96, 48},
    {ui::pictures::kLink, "btn_url.bmp", 160, 80},
    {ui::pictures::kArrow, "arrow.bmp", 49, 20},
    {ui::pictures::kPeriodIcon, "period_icon.bmp", 12, 12},
    {ui::pictures::kStrip, "strip.bmp", 256, 5},
};

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(LauncherPictures, EveryPictureIsABitmapResourceOfTheModuleWithItsFileAndSize)
{
    testing_support::LoadedModule module("wscbs.dll");
    ASSERT_TRUE(module.Loaded());
    for (const Expected& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        HRSRC found = FindResourceA(module.Handle(), picture.name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
        ASSERT_NE(found, nullptr);
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module.Handle(), found)));
        ASSERT_NE(data, nullptr);
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
        EXPECT_EQ(header->biWidth, picture.width);
        EXPECT_EQ(header->biHeight, picture.height);

        // The resource holds the file without its 14-byte file header.
        const std::string file = FileBytes(std::string(WSCBS_PICTURES_DIR "/") + picture.file);
        ASSERT_GT(file.size(), 14u);
        ASSERT_EQ(SizeofResource(module.Handle(), found), file.size() - 14);
        EXPECT_EQ(std::string(data, file.size() - 14), file.substr(14));

        HANDLE loaded = LoadImageA(module.Handle(), picture.name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        ASSERT_NE(loaded, nullptr);
        BITMAP info{};
        GetObjectA(loaded, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, picture.width);
        EXPECT_EQ(info.bmHeight, picture.height);
        DeleteObject(loaded);
    }
    EXPECT_EQ(FindResourceA(module.Handle(), "NO_SUCH_PICTURE", MAKEINTRESOURCEA(2)), nullptr);
}
