// ReadIniValueStr and WriteIniValueString on real files.
#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"
#include "support/ImportPatch.h"
#include "support/TempFolder.h"

#include "sharedrt/UniqueHandle.h"

#include <gtest/gtest.h>

using hostmodel::Model;

namespace {

std::string Read(const std::string& file, const char* section, const char* key, const char* defaultValue)
{
    rt::RtString result("stale");
    ReadIniValueStr(file.c_str(), section, key, defaultValue, &result);
    return result.ToStdString();
}

class IniServicesTest : public testing::Test {
protected:
    void SetUp() override { Model().Reset(); }
    void TearDown() override { Model().Reset(); }
    testing_support::TempFolder folder;
};

TEST_F(IniServicesTest, WrittenValuesReadBackAndMissingOnesGiveTheDefault)
{
    const std::string file = folder.Path() + "cookie.ini";
    EXPECT_EQ(Read(file, "Difference", "Version", "0"), "0");
    WriteIniValueString(file.c_str(), "Difference", "Version", "2.0.1");
    WriteIniValueString(file.c_str(), "Difference", "ZoneCode", "1330106");
    WriteIniValueString(file.c_str(), "地区", "名称", "杭州市西湖区");
    WriteIniValueString(file.c_str(), "Difference", "Version", "2.0.2");

    EXPECT_EQ(Read(file, "Difference", "Version", ""), "2.0.2");
    EXPECT_EQ(Read(file, "difference", "ZONECODE", ""), "1330106");
    EXPECT_EQ(Read(file, "地区", "名称", ""), "杭州市西湖区");
    EXPECT_EQ(Read(file, "Difference", "Missing", "默认"), "默认");
    EXPECT_EQ(Read(file, "Difference", nullptr, "默认"), "默认") << "never a list of keys";
    EXPECT_EQ(Read(file, nullptr, nullptr, nullptr), "");
}

TEST_F(IniServicesTest, EmptyValuesAndNamesNeverDeleteAnything)
{
    const std::string file = folder.Path() + "UserConfig.ini";
    WriteIniValueString(file.c_str(), "CbsReader", "cbsreader", "1");
    WriteIniValueString(file.c_str(), "CbsReader", "port", "COM1");

    WriteIniValueString(file.c_str(), "CbsReader", "cbsreader", nullptr);
    EXPECT_EQ(Read(file, "CbsReader", "cbsreader", "absent"), "") << "written as empty, not deleted";
    WriteIniValueString(file.c_str(), "CbsReader", nullptr, "x");
    WriteIniValueString(file.c_str(), "CbsReader", "", "x");
    EXPECT_EQ(Read(file, "CbsReader", "port", ""), "COM1");
    ASSERT_EQ(Model().Calls().size(), 7u);
    EXPECT_EQ(Model().Calls()[4].result, "not written");
}

TEST_F(IniServicesTest, AWriteReplacesTheFileWholeRatherThanRewritingItInPlace)
{
    // A file rewritten in place is cut short when the disk fills up half
    // way; one replaced whole is old or new.
    const std::string file = folder.Write("cookie.ini", "[Difference]\r\nlastVersion=2.0.1\r\n");
    const std::uint64_t before = testing_support::FileNumber(file);
    ASSERT_NE(before, 0u);
    WriteIniValueString(file.c_str(), "Difference", "lastRevenueCode", "1330106");
    EXPECT_NE(testing_support::FileNumber(file), before);
    EXPECT_EQ(testing_support::ReadBytes(file), "[Difference]\r\nlastVersion=2.0.1\r\nlastRevenueCode=1330106\r\n");
    EXPECT_TRUE(testing_support::ReplacementsBeside(file).empty());

    // One that cannot take another's place leaves the file as it was.
    rt::unique_hfile holder(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);
    WriteIniValueString(file.c_str(), "Difference", "lastVersion", "2.0.2");
    holder.reset();
    EXPECT_EQ(Read(file, "Difference", "lastVersion", ""), "2.0.1");
    EXPECT_TRUE(testing_support::ReplacementsBeside(file).empty());
    EXPECT_EQ(Model().Calls().back().function, "ReadIniValueStr");
}

TEST_F(IniServicesTest, AValueTheFileAlreadyHoldsLeavesTheFileAlone)
{
    // Every start records the same version and zone again: nothing changes,
    // so nothing is written and the file is not replaced.
    const std::string content = "[Difference]\r\nlastVersion=2.0.1\r\nlastRevenueCode=1330106\r\n";
    const std::string file = folder.Write("cookie.ini", content);
    const std::uint64_t before = testing_support::FileNumber(file);
    ASSERT_NE(before, 0u);
    // Checked after each write: a file replaced twice may get its first
    // number back.
    WriteIniValueString(file.c_str(), "Difference", "lastVersion", "2.0.1");
    EXPECT_EQ(Model().Calls().back().result, "written");
    EXPECT_EQ(testing_support::FileNumber(file), before);
    WriteIniValueString(file.c_str(), "Difference", "lastRevenueCode", "1330106");
    EXPECT_EQ(Model().Calls().back().result, "written");
    EXPECT_EQ(testing_support::FileNumber(file), before);
    EXPECT_EQ(testing_support::ReadBytes(file), content);

    // Another value is written as ever.
    WriteIniValueString(file.c_str(), "Difference", "lastVersion", "2.0.2");
    EXPECT_NE(testing_support::FileNumber(file), before);
    EXPECT_EQ(Read(file, "Difference", "lastVersion", ""), "2.0.2");
}

// A disk that takes no more bytes.
BOOL WINAPI DiskFull(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    if (written != nullptr)
        *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

TEST_F(IniServicesTest, AWriteTheDiskRefusesLeavesTheFileAsItWasAndSaysSo)
{
    // (tests/modulelib/full-disk-ini.sh does it on a disk that is full.)
    const std::string text = "; the record\r\n[Difference]\r\nlastVersion = 2.0.1\r\n\r\n[Other]\r\nkeep=1\r\n";
    const std::string file = folder.Write("cookie.ini", text);
    {
        const testing_support::ImportPatch host(GetModuleHandleA("ModuleLib.dll"), "kernel32.dll", "WriteFile",
                                                reinterpret_cast<void*>(&DiskFull));
        WriteIniValueString(file.c_str(), "Difference", "lastVersion", "2.0.2");
    }
    EXPECT_EQ(testing_support::ReadBytes(file), text);
    EXPECT_EQ(Model().Calls().back().result, "not written");
    EXPECT_TRUE(testing_support::ReplacementsBeside(file).empty());

    // The lines it does not change keep their bytes.
    WriteIniValueString(file.c_str(), "difference", "LASTVERSION", "2.0.2");
    WriteIniValueString(file.c_str(), "New", "k", "v");
    EXPECT_EQ(testing_support::ReadBytes(file),
              "; the record\r\n[Difference]\r\nlastVersion=2.0.2\r\n\r\n[Other]\r\nkeep=1\r\n[New]\r\nk=v\r\n");
    EXPECT_EQ(Read(file, "Difference", "lastVersion", ""), "2.0.2");
}

TEST_F(IniServicesTest, AFileWithAByteOrderMarkKeepsItsEncoding)
{
    // "[地区]\r\n名称=杭州\r\n" in UTF-16, little-endian.
    const std::string original("\xFF\xFE[\0\x30\x57\x3A\x53]\0\r\0\n\0\x0D\x54\xF0\x79=\0\x6D\x67\xDE\x5D\r\0\n\0", 28);
    const std::string file = folder.Write("area.ini", original);
    WriteIniValueString(file.c_str(), "地区", "代码", "330106");
    EXPECT_EQ(testing_support::ReadBytes(file), original + std::string("\xE3\x4E\x01\x78=\0" "3\0" "3\0" "0\0" "1\0" "0\0" "6\0\r\0\n\0", 22));
    EXPECT_EQ(Read(file, "地区", "名称", ""), "杭州");
    EXPECT_EQ(Read(file, "地区", "代码", ""), "330106");
}

TEST_F(IniServicesTest, LongValuesAreReadWhole)
{
    const std::string file = folder.Path() + "long.ini";
    const std::string value(5000, 'v');
    WriteIniValueString(file.c_str(), "S", "K", value.c_str());
    EXPECT_EQ(Read(file, "S", "K", ""), value);
}

} // namespace
