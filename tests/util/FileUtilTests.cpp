#include "util/FileUtil.h"

#include "util/PathText.h"

#include "support/TempFolder.h"

#include "sharedrt/RtError.h"
#include "sharedrt/UniqueHandle.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

using namespace util;

namespace {

rt::unique_hfile WriteFile(const std::string& path, std::string_view content, DWORD share = 0)
{
    rt::unique_hfile file(CreateFileA(path.c_str(), GENERIC_WRITE, share, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr))
        << path;
    return file;
}

std::string CurrentDirectory()
{
    char buffer[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof buffer, buffer);
    return buffer;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    rt::unique_hfind listing(FindFirstFileA(JoinPath(path, "*").c_str(), &entry));
    while (listing) {
        const std::string child = JoinPath(path, entry.cFileName);
        if (entry.cFileName != std::string(".") && entry.cFileName != std::string("..")) {
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? RemoveTree(child) : void(DeleteFileA(child.c_str()));
        }
        if (!FindNextFileA(listing.get(), &entry))
            listing.reset();
    }
    RemoveDirectoryA(path.c_str());
}

// A fresh folder under the temporary path, removed with all it holds.
class FileUtilTest : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH + 1] = {};
        ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
        root_ = std::string(temp) + "wscbs-util-" + std::to_string(GetCurrentProcessId()) + "-"
                + testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        RemoveTree(root_);
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(root_); }

    std::string root_;
};

} // namespace

TEST_F(FileUtilTest, FileExistsOnlyForFiles)
{
    WriteFile(root_ + "图片.bmp", "BM");
    CreateDirectoryA((root_ + "folder").c_str(), nullptr);
    EXPECT_TRUE(FileExists(root_ + "图片.bmp"));
    EXPECT_FALSE(FileExists(root_ + "folder"));
    EXPECT_FALSE(FileExists(root_ + "missing.bmp"));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FileUtilTest, CreateDirectoryChainCreatesMissingParentsOnly)
{
    CreateDirectoryChain(root_ + "a");
    WriteFile(root_ + "a\\keep", "k");
    CreateDirectoryChain(root_ + "a\\b\\c\\");
    CreateDirectoryChain("C:");
    EXPECT_TRUE(IsDirectory(root_ + "a\\b\\c"));
    EXPECT_EQ(ReadWholeFile(root_ + "a\\keep"), "k");
    EXPECT_FALSE(IsDirectory(root_ + "a\\keep"));
    EXPECT_FALSE(IsDirectory(root_ + "missing"));
}

TEST_F(FileUtilTest, CreateDirectoryChainKeepsTrailByteThatLooksLikeASeparator)
{
    // Wine maps non-ASCII names to Unix names only when the machine has the
    // Chinese locale; without it no GBK name can be created at all.
    if (!CreateDirectoryA((root_ + "税").c_str(), nullptr))
        GTEST_SKIP() << "this file system takes no Chinese names (error " << GetLastError() << ")";
    CreateDirectoryChain(root_ + "税务俓\\下级俓\\"); // 俓 is 0x82 0x5C
    EXPECT_TRUE(IsDirectory(root_ + "税务俓\\下级俓"));
    EXPECT_FALSE(IsDirectory(root_ + "税务"));
}

TEST_F(FileUtilTest, CopyTreeReplacesFilesAndEntersDirectoriesWithAnyAttributes)
{
    const std::string source = root_ + "source\\";
    const std::string target = root_ + "target\\deeper";
    CreateDirectoryChain(source + "d");
    CreateDirectoryChain(source + "h");
    CreateDirectoryChain(target + "\\d");
    WriteFile(source + "f", "new f");
    WriteFile(source + "d\\g", "g");
    WriteFile(source + "h\\k", "k");
    WriteFile(source + "r", "read-only");
    WriteFile(target + "\\f", "old f");
    WriteFile(target + "\\d\\g", "old g");
    SetFileAttributesA((source + "r").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((source + "h").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);

    const std::string before = CurrentDirectory();
    EXPECT_TRUE(CopyDirectoryTree(source, target, false));
    EXPECT_EQ(CurrentDirectory(), before);
    EXPECT_EQ(ReadWholeFile(target + "\\f"), "new f");
    EXPECT_EQ(ReadWholeFile(target + "\\d\\g"), "g");
    EXPECT_EQ(ReadWholeFile(target + "\\h\\k"), "k");
    EXPECT_EQ(ReadWholeFile(target + "\\r"), "read-only");
}

TEST_F(FileUtilTest, FailIfExistsKeepsTopLevelFilesAndFailedCopiesAreSkipped)
{
    const std::string source = root_ + "source\\";
    const std::string target = root_ + "target\\";
    CreateDirectoryChain(source + "d");
    CreateDirectoryChain(target + "d");
    CreateDirectoryChain(target + "blocked");
    WriteFile(source + "blocked", "a directory of that name is in the way");
    WriteFile(source + "f", "new f");
    WriteFile(source + "n", "new n");
    WriteFile(source + "d\\g", "new g");
    WriteFile(target + "f", "old f");
    WriteFile(target + "d\\g", "old g");

    std::vector<std::string> notCopied;
    EXPECT_TRUE(CopyDirectoryTree(source, target, true, &notCopied));
    // The copy goes on past them, and says which were not copied.
    std::sort(notCopied.begin(), notCopied.end());
    EXPECT_EQ(notCopied, (std::vector<std::string>{source + "blocked", source + "f"}));
    EXPECT_EQ(ReadWholeFile(target + "f"), "old f");
    EXPECT_EQ(ReadWholeFile(target + "n"), "new n");
    EXPECT_EQ(ReadWholeFile(target + "d\\g"), "new g");
    EXPECT_TRUE(IsDirectory(target + "blocked"));
}

TEST_F(FileUtilTest, CopyFromMissingSourceRaisesAndCreatesNothing)
{
    const std::string target = root_ + "target";
    WriteFile(root_ + "file", "x");
    EXPECT_THROW(CopyDirectoryTree(root_ + "missing", target, false), rt::IoError);
    EXPECT_THROW(CopyDirectoryTree(root_ + "file", target, false), rt::IoError);
    EXPECT_FALSE(CopyDirectoryTree("", target, false));
    EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileUtilTest, ReadWholeFileSharesWithWritersAndIsEmptyOnFailure)
{
    const std::string content("\xEF\xBB\xBF" "a\0b\r\n税", 10);
    WriteFile(root_ + "bytes", content);
    EXPECT_EQ(ReadWholeFile(root_ + "bytes"), content);
    EXPECT_EQ(ReadWholeFile(root_ + "missing"), "");
    EXPECT_EQ(ReadWholeFile(root_), "");
    {
        const rt::unique_hfile writer = WriteFile(root_ + "log", "line 1\r\n", FILE_SHARE_READ);
        EXPECT_EQ(ReadWholeFile(root_ + "log"), "line 1\r\n");
    }
    const rt::unique_hfile exclusive = WriteFile(root_ + "log", "locked", 0);
    EXPECT_EQ(ReadWholeFile(root_ + "log"), "");
}

// Two replacements of one file at once (two hosts started together) both
// take effect, one after the other; so does one that meets the file held
// open by another program for a moment. The file is always one of the
// contents whole, and nothing is left beside it.
TEST_F(FileUtilTest, ReplacementsAtOnceAndAFileHeldForAMomentAllTakeEffect)
{
    const std::string path = root_ + "action.ini";
    WriteFile(path, "[A]\r\nx=0\r\n");
    const std::string first(50000, 'a');
    const std::string second(30000, 'b');
    std::vector<std::string> failures[2];
    const auto replace = [&](const std::string& content, std::vector<std::string>& failed) {
        for (int i = 0; i < 40; ++i) {
            try {
                ReplaceFileContent(path, content);
            } catch (const rt::Error& e) {
                failed.push_back(e.what());
            }
        }
    };
    std::thread other(replace, std::cref(second), std::ref(failures[1]));
    replace(first, failures[0]);
    other.join();
    for (const std::vector<std::string>& failed : failures)
        EXPECT_TRUE(failed.empty()) << failed.size() << " failed, the first: " << failed.front();
    const std::string now = ReadWholeFile(path);
    EXPECT_TRUE(now == first || now == second) << now.size() << " bytes";
    EXPECT_TRUE(testing_support::ReplacementsBeside(path).empty());

    rt::unique_hfile holder(
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    std::thread letGo([&] {
        Sleep(300);
        holder.reset();
    });
    EXPECT_NO_THROW(ReplaceFileContent(path, "[A]\r\nx=1\r\n"));
    letGo.join();
    EXPECT_EQ(ReadWholeFile(path), "[A]\r\nx=1\r\n");
    EXPECT_TRUE(testing_support::ReplacementsBeside(path).empty());
}
