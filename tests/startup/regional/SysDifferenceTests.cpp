#include "startup/regional/SysDifference.h"

#include "profile/PrivateProfile.h"
#include "host/ValueObject.h"
#include "support/FailingConverter.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

using testing_support::PathExists;
using testing_support::ReadBytes;
using testing_support::TempFolder;

namespace {

std::string Parameters(std::initializer_list<std::tuple<const char*, const char*, const char*>> parameters)
{
    std::string text = "<DIFF-PARAMETERS>";
    for (const auto& [name, type, value] : parameters) {
        text += "<DIFF-PARAMETER><NAME>" + std::string(name) + "</NAME>";
        if (*type)
            text += "<TYPE>" + std::string(type) + "</TYPE>";
        text += "<VALUE>" + std::string(value) + "</VALUE></DIFF-PARAMETER>";
    }
    return text + "</DIFF-PARAMETERS>";
}

std::string Files(std::initializer_list<std::tuple<const char*, const char*, std::string>> files)
{
    std::string text = "<DIFF-FILES>";
    for (const auto& [name, type, target] : files)
        text += "<DIFF-FILE><NAME>" + std::string(name) + "</NAME><TYPE>" + type + "</TYPE><TARGETDIR>" + target +
                "</TARGETDIR></DIFF-FILE>";
    return text + "</DIFF-FILES>";
}

std::string Document(const char* zcode, const std::string& body)
{
    std::string text = "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n<SYSDIFFERENCE";
    if (zcode != nullptr)
        text += std::string(" ZCODE=\"") + zcode + "\"";
    return text + ">" + body + "</SYSDIFFERENCE>";
}

// An installation in a temporary folder, with "cookie.ini" through the
// private-profile functions and the log kept in memory.
class SysDifferenceTest : public testing::Test {
protected:
    SysDifferenceTest()
    {
        app_ = folder_.Make("WSCBS");
        site_.subAppFolder = app_;
        site_.version = "2.0.118";
        site_.vo = &vo_;
        site_.log = [this](const std::string& line) { log_.push_back(line); };
        site_.readIni = [](const std::string& file, const std::string& section, const std::string& key) {
            return profile::ReadIniString(file, section, key, "");
        };
        site_.writeIni = [](const std::string& file, const std::string& section, const std::string& key,
                            const std::string& value) { profile::WriteIniString(file, section, key, value); };
    }

    std::string Difference(const std::string& relative = "") const { return folder_.Make("WSCBS\\AppComs\\difference\\" + relative); }

    std::string ItemNames() const
    {
        std::string names;
        for (std::int32_t i = 0; i < vo_.Items->Count(); ++i) {
            const auto* item = static_cast<const rt::ParamItem*>(vo_.Items->Get(i));
            names += std::string(reinterpret_cast<const char*>(item->Name + 1), item->Name[0]) + ";";
        }
        return names;
    }

    std::string Recorded(const char* key) const
    {
        return profile::ReadIniString(app_ + "cookie.ini", "Difference", key, "<none>");
    }

    TempFolder folder_{"difference"};
    std::string app_;
    rt::DataVO vo_;
    startup::DifferenceSite site_;
    std::vector<std::string> log_;
};

} // namespace

TEST_F(SysDifferenceTest, NoDifferenceDirectoryRecordsSuccess)
{
    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 0, 1), 0);
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(Recorded("lastVersion"), "2.0.118");
    EXPECT_EQ(Recorded("lastRevenueCode"), "132");
}

TEST_F(SysDifferenceTest, GeneralPartThenRegionsFromWidestToNarrowest)
{
    Difference();
    folder_.Write("WSCBS\\AppComs\\difference\\SysDifference.xml",
                  Document(nullptr, Parameters({{"general", "", "g"}, {"who", "", "general"}}) +
                                        Files({{"who.txt", "0", ""}})));
    folder_.Write("WSCBS\\AppComs\\difference\\who.txt", "general");
    for (const char* zone : {"33", "32-city", "4", "3"}) {
        const std::string prefix(zone, std::strcspn(zone, "-"));
        Difference(zone);
        folder_.Write("WSCBS\\AppComs\\difference\\" + std::string(zone) + "\\SysDifference.xml",
                      Document(prefix.c_str(), Parameters({{zone, "", "x"}, {"who", "", zone}}) +
                                                   Files({{"who.txt", "0", ""}})));
        folder_.Write("WSCBS\\AppComs\\difference\\" + std::string(zone) + "\\who.txt", zone);
    }
    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 0, 1), 0);
    EXPECT_TRUE(log_.empty());
    // Items are appended in the order the parts were applied.
    EXPECT_EQ(ItemNames(), "general;who;3;32-city;");
    EXPECT_EQ(host::GetString(&vo_, "who", ""), "32-city");
    EXPECT_EQ(ReadBytes(app_ + "who.txt"), "32-city");

    // With the whole zone code, "132" matches none of the regions.
    rt::DataVO other;
    site_.vo = &other;
    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 1, 1), 0);
    EXPECT_EQ(host::GetString(&other, "who", ""), "general");
}

TEST_F(SysDifferenceTest, TypedParametersAndEntities)
{
    Difference();
    folder_.Write("WSCBS\\AppComs\\difference\\SysDifference.xml",
                  Document(nullptr, Parameters({{"Retry", "Integer", "12a"},
                                                {"Port", "integer", "8080"},
                                                {"UseReader", "BOOLEAN", "true"},
                                                {"Off", "boolean", "0"},
                                                {"Rate", "Float", "0.17"},
                                                {"Title", "", " 国税&amp;amp;lt;局 "}})));
    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 0, 1), 0);
    const rt::ParamItem* retry = host::FindItem(&vo_, "Retry");
    ASSERT_NE(retry, nullptr);
    EXPECT_EQ(retry->ValueType, static_cast<std::uint8_t>(rt::ParamType::Integer));
    EXPECT_EQ(retry->Value->IntegerValue, 0);
    EXPECT_EQ(host::FindItem(&vo_, "Port")->Value->IntegerValue, 8080);
    EXPECT_TRUE(host::GetBoolean(&vo_, "UseReader", false));
    EXPECT_EQ(host::FindItem(&vo_, "UseReader")->ValueType, static_cast<std::uint8_t>(rt::ParamType::Boolean));
    EXPECT_FALSE(host::GetBoolean(&vo_, "Off", true));
    const rt::ParamItem* rate = host::FindItem(&vo_, "Rate");
    EXPECT_EQ(rate->ValueType, static_cast<std::uint8_t>(rt::ParamType::Float));
    EXPECT_DOUBLE_EQ(rate->Value->FloatValue, 0.17);
    EXPECT_EQ(host::GetString(&vo_, "Title", ""), " 国税&lt;局 ");
}

TEST_F(SysDifferenceTest, WrongZcodeIsLoggedAndFailsTheRun)
{
    Difference("32-x");
    const std::string config = folder_.Write(
        "WSCBS\\AppComs\\difference\\32-x\\SysDifference.xml",
        Document(" 33 ", Parameters({{"wrong", "", "1"}}) + Files({{"a.dll", "0", ""}})));
    folder_.Write("WSCBS\\AppComs\\difference\\32-x\\a.dll", "dll");
    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 0, 1), 1);
    EXPECT_EQ(log_, (std::vector<std::string>{"差异化配置文件[" + config + "]配置有误：目标位置[ZCODE]！"}));
    EXPECT_EQ(host::FindItem(&vo_, "wrong"), nullptr);
    EXPECT_FALSE(PathExists(app_ + "a.dll"));
    EXPECT_EQ(Recorded("lastVersion"), "<none>");
}

TEST_F(SysDifferenceTest, FilesAreCopiedOnlyWhenVersionOrZoneChanged)
{
    Difference();
    folder_.Write("WSCBS\\AppComs\\difference\\SysDifference.xml",
                  Document(nullptr, Parameters({{"p", "", "v"}}) + Files({{"a.dll", "0", ""}})));
    folder_.Write("WSCBS\\AppComs\\difference\\a.dll", "new");
    profile::WriteIniString(app_ + "cookie.ini", "Difference", "lastVersion", "2.0.118");
    profile::WriteIniString(app_ + "cookie.ini", "Difference", "lastRevenueCode", "132");
    EXPECT_FALSE(startup::DifferenceChanged(site_, "132"));
    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 0, 1), 0);
    EXPECT_FALSE(PathExists(app_ + "a.dll"));
    EXPECT_EQ(host::GetString(&vo_, "p", ""), "v");  // parameters every time

    EXPECT_TRUE(startup::DifferenceChanged(site_, "1320"));
    site_.version = "2.0.119";
    EXPECT_TRUE(startup::DifferenceChanged(site_, "132"));
    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 0, 1), 0);
    EXPECT_EQ(ReadBytes(app_ + "a.dll"), "new");
    EXPECT_EQ(Recorded("lastVersion"), "2.0.119");
}

TEST_F(SysDifferenceTest, CopyTargetsAndKindDirectory)
{
    const TempFolder elsewhere("absolute");
    Difference("32-city\\GS_Differ\\bin\\plugins");
    folder_.Make("WSCBS\\sub\\x");
    folder_.Write("WSCBS\\AppComs\\difference\\32-city\\SysDifference.xml", Document("99", ""));  // not used: GS_Differ
    folder_.Write("WSCBS\\AppComs\\difference\\32-city\\GS_Differ\\SysDifference.xml",
                  Document("32", Files({{"a.dll", "0", ""},
                                        {"b.dll", "0", "sub\\x"},
                                        {"c.dll", "0", elsewhere.Path()},
                                        {"bin", "1", "sub\\x"}})));
    for (const char* name : {"a.dll", "b.dll", "c.dll"})
        folder_.Write(std::string("WSCBS\\AppComs\\difference\\32-city\\GS_Differ\\") + name, name);
    folder_.Write("WSCBS\\AppComs\\difference\\32-city\\GS_Differ\\bin\\plugins\\p.dat", "p");
    folder_.Write("WSCBS\\AppComs\\difference\\32-city\\GS_Differ\\bin\\top.dat", "t");
    folder_.Write("WSCBS\\sub\\x\\top.dat", "old");

    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 0, 1), 0);
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(ReadBytes(app_ + "a.dll"), "a.dll");
    EXPECT_EQ(ReadBytes(app_ + "sub\\x\\b.dll"), "b.dll");
    EXPECT_EQ(ReadBytes(elsewhere.Path() + "c.dll"), "c.dll");
    // A directory item's contents go straight into the target.
    EXPECT_EQ(ReadBytes(app_ + "sub\\x\\top.dat"), "t");
    EXPECT_EQ(ReadBytes(app_ + "sub\\x\\plugins\\p.dat"), "p");
    EXPECT_FALSE(PathExists(app_ + "sub\\x\\bin"));

    // Kind 2 has no DS_Differ here: the zone directory itself, whose ZCODE 99 is wrong.
    log_.clear();
    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 0, 2), 1);
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_NE(log_[0].find("目标位置[ZCODE]"), std::string::npos);
}

TEST_F(SysDifferenceTest, EveryFailureIsLoggedAndTheRestStillApplied)
{
    const std::string difference = Difference();
    const std::string general = folder_.Write(
        "WSCBS\\AppComs\\difference\\SysDifference.xml",
        Document(nullptr, Files({{"missing.dll", "0", ""},
                                 {"nodir", "1", ""},
                                 {"ok.dll", "0", ""},
                                 {"ok.dll", "0", "no\\such\\folder"}}) +
                              Parameters({{"after", "", "still stored"}})));
    folder_.Write("WSCBS\\AppComs\\difference\\ok.dll", "ok");
    Difference("3");
    const std::string broken = folder_.Write("WSCBS\\AppComs\\difference\\3\\SysDifference.xml", "<SYSDIFFERENCE>");
    Difference("32");
    const std::string empty = folder_.Write("WSCBS\\AppComs\\difference\\32\\SysDifference.xml", "");

    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 0, 1), 1);
    const std::string processing = "处理差异化配置文件[" + general + "]发生错误：拷贝文件失败！";
    EXPECT_EQ(log_, (std::vector<std::string>{
                        "找不到差异化文件" + difference + "missing.dll",
                        processing,
                        "差异化配置文件[" + general + "]配置有误：目标位置[DIFF-FILE]！",
                        "拷贝差异化文件" + difference + "ok.dll失败",
                        processing,
                        "差异化配置文件[" + broken + "]有错误！",
                        "差异化配置文件[" + empty + "]有错误！",
                    }));
    EXPECT_EQ(ReadBytes(app_ + "ok.dll"), "ok");
    EXPECT_EQ(host::GetString(&vo_, "after", ""), "still stored");
    EXPECT_EQ(Recorded("lastRevenueCode"), "<none>");
}

TEST_F(SysDifferenceTest, AnItemThatCannotBeReadIsThatItemsFailureAndTheLoopGoesOn)
{
    const testing_support::FailingConverter converter;
    site_.converter = &converter;
    Difference();
    const std::string config = folder_.Write(
        "WSCBS\\AppComs\\difference\\SysDifference.xml",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SYSDIFFERENCE>"
        "<DIFF-PARAMETERS>"
        "<DIFF-PARAMETER><NAME>bad</NAME><VALUE>\xE0\xB8\x81</VALUE></DIFF-PARAMETER>"
        "<DIFF-PARAMETER><NAME>good</NAME><TYPE>integer</TYPE><VALUE>7</VALUE></DIFF-PARAMETER>"
        "</DIFF-PARAMETERS><DIFF-FILES>"
        "<DIFF-FILE><NAME>\xE0\xB8\x81.dll</NAME><TYPE>0</TYPE><TARGETDIR/></DIFF-FILE>"
        "<DIFF-FILE><NAME>ok.dll</NAME><TYPE>0</TYPE><TARGETDIR/></DIFF-FILE>"
        "</DIFF-FILES></SYSDIFFERENCE>");
    folder_.Write("WSCBS\\AppComs\\difference\\ok.dll", "ok");

    EXPECT_EQ(startup::ApplyDifferences(site_, "132", 0, 1), 1);
    EXPECT_EQ(log_, (std::vector<std::string>{
                        "差异化配置文件[" + config + "]配置有误：目标位置[DIFF-PARAMETER]！",
                        "差异化配置文件[" + config + "]配置有误：目标位置[DIFF-FILE]！",
                    }));
    EXPECT_EQ(ItemNames(), "good;");
    EXPECT_EQ(ReadBytes(app_ + "ok.dll"), "ok");
    EXPECT_EQ(Recorded("lastRevenueCode"), "<none>");
}

TEST_F(SysDifferenceTest, DirectoryInPlaceOfAConfigurationFileFailsTheRun)
{
    // Not a missing configuration but one that cannot be read: logged, and
    // the run is not recorded as done.
    Difference("SysDifference.xml");
    Difference("33\\SysDifference.xml");
    EXPECT_EQ(startup::ApplyDifferences(site_, "1330106", 0, 1), 1);
    EXPECT_EQ(log_, (std::vector<std::string>{
                        "差异化配置文件[" + Difference() + "SysDifference.xml]有错误！",
                        "差异化配置文件[" + Difference() + "33\\SysDifference.xml]有错误！",
                    }));
    EXPECT_EQ(Recorded("lastVersion"), "<none>");
}
