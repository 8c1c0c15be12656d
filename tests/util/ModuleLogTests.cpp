#include "util/ModuleLog.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

using testing_support::ReadBytes;
using testing_support::TempFolder;

namespace {

std::string Today()
{
    char date[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
    return date;
}

} // namespace

TEST(ModuleLog, FirstLineCreatesTheFileAndLaterLinesFollowInCallOrder)
{
    const TempFolder folder("log");
    const std::string path = folder.Path() + "Varnoq.log";
    util::WriteLogLineTo(path, "找不到差异化文件C:\\a.dll");
    const std::string first = ReadBytes(path);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.rfind(Today() + " ", 0), 0u) << first;
    ASSERT_GE(first.size(), 2u);
    EXPECT_EQ(first.substr(first.size() - 2), "\r\n");
    const std::size_t gap = first.find("  ");
    ASSERT_NE(gap, std::string::npos);
    EXPECT_EQ(first.substr(gap), "  找不到差异化文件C:\\a.dll\r\n");
    // Date, one space, time: the time has no blanks of its own.
    EXPECT_EQ(first.substr(Today().size() + 1, gap - Today().size() - 1).find(' '), std::string::npos);

    util::WriteLogLineTo(path, "second");
    const std::string both = ReadBytes(path);
    EXPECT_EQ(both.substr(0, first.size()), first);
    EXPECT_NE(both.find("  second\r\n", first.size()), std::string::npos);
}

TEST(ModuleLog, UnwritableLogIsIgnored)
{
    const TempFolder folder("log");
    const std::string path = folder.Write("Varnoq.log", "kept\r\n");
    {
        // Another program holds the log without sharing it.
        const rt::unique_hfile locked(
            CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(locked);
        util::WriteLogLineTo(path, "lost");
    }
    EXPECT_EQ(ReadBytes(path), "kept\r\n");
    util::WriteLogLineTo(folder.Path() + "missing-folder\\Varnoq.log", "lost");
    util::WriteLogLineTo("", "lost");
}

TEST(ModuleLog, DefaultLogLiesBesideTheExecutable)
{
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string expected = program;
    expected = expected.substr(0, expected.rfind('\\') + 1) + "Varnoq.log";
    EXPECT_EQ(util::ModuleLogPath(), expected);

    const std::string marker = "module log marker " + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(GetTickCount());
    util::WriteLogLine(marker);
    EXPECT_NE(ReadBytes(expected).find("  " + marker + "\r\n"), std::string::npos);
}
