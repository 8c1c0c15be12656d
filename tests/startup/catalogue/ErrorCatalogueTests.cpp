#include "startup/catalogue/ErrorCatalogue.h"
#include "startup/catalogue/ErrorCatalogueMessages.h"

#include "support/TestText.h"
#include "host/ValueObject.h"
#include "support/TempFolder.h"

#include "sharedrt/ErrorMsgLayout.h"
#include "sharedrt/RtError.h"

#include <gtest/gtest.h>

#include "sharedrt/UniqueHandle.h"

#include <windows.h>

using testing_support::TempFolder;

namespace {

constexpr const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"GB2312\"?>\r\n"
    "<ERRORLIST>\r\n"
    "  <ERROR><CODE>70001005</CODE><MSG>读卡器未连接</MSG><moduleType>1</moduleType><insideCode>R05</insideCode></ERROR>\r\n"
    "  <!-- 卡片 -->\r\n"
    "  <ERROR><CODE>70001006</CODE><MSG>税控卡已锁</MSG></ERROR>\r\n"
    "</ERRORLIST>\r\n";

const rt::ParamItem* ErrorListItem(const rt::DataVO& vo) { return host::FindItem(&vo, "Global_Errlist"); }

class ErrorCatalogueTest : public testing::Test {
protected:
    void TearDown() override { startup::ReleaseErrorCatalogue(); }
    TempFolder folder_{"errmsg"};
    rt::DataVO vo_;
};

} // namespace

TEST_F(ErrorCatalogueTest, PublishesTheRecordsAsAPointerItem)
{
    const std::string file = folder_.Write("errmsg.xml", kCatalogue);
    std::string message;
    ASSERT_TRUE(startup::LoadErrorCatalogueFile(file, &vo_, message));
    EXPECT_EQ(message, "");
    const rt::ParamItem* item = ErrorListItem(vo_);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->ValueType, static_cast<std::uint8_t>(rt::ParamType::Pointer));
    const auto* records = static_cast<const rt::TErrorMsg*>(item->Value->PointerValue);
    ASSERT_EQ(records, startup::PublishedErrorCatalogue());
    ASSERT_EQ(rt::CountedArrayLength(records), 3);
    EXPECT_EQ(records[0].Code, 70001005);
    EXPECT_EQ(records[0].Msg, "读卡器未连接");
    EXPECT_EQ(records[1].SeqNo, 2);
    EXPECT_EQ(records[1].InsideCode, "0");
    EXPECT_EQ(records[2].SeqNo, 3);
    EXPECT_EQ(records[2].Msg, "税控卡已锁");

    // A second load replaces the array and keeps one item.
    ASSERT_TRUE(startup::LoadErrorCatalogueFile(file, &vo_, message));
    EXPECT_EQ(vo_.Items->Count(), 1);
    const auto* again = static_cast<const rt::TErrorMsg*>(ErrorListItem(vo_)->Value->PointerValue);
    EXPECT_EQ(again, startup::PublishedErrorCatalogue());
    EXPECT_EQ(again[2].Msg, "税控卡已锁");
}

TEST_F(ErrorCatalogueTest, MissingAndUnloadableFilesGiveTheirMessagesAndKeepThePublishedArray)
{
    std::string message = "before";
    EXPECT_FALSE(startup::LoadErrorCatalogueFile(folder_.Path() + "errmsg.xml", &vo_, message));
    EXPECT_EQ(message, startup::kCatalogueMissingMessage);
    EXPECT_EQ(ErrorListItem(vo_), nullptr);

    const std::string file = folder_.Write("errmsg.xml", kCatalogue);
    ASSERT_TRUE(startup::LoadErrorCatalogueFile(file, &vo_, message));
    const void* published = startup::PublishedErrorCatalogue();

    for (const char* broken : {"", "<ERRORLIST><ERROR></ERRORLIST>", "<!-- no element -->"}) {
        folder_.Write("errmsg.xml", broken);
        message.clear();
        EXPECT_FALSE(startup::LoadErrorCatalogueFile(file, &vo_, message)) << broken;
        EXPECT_EQ(message, startup::kCatalogueEmptyMessage) << broken;
        EXPECT_EQ(startup::PublishedErrorCatalogue(), published);
        EXPECT_EQ(ErrorListItem(vo_)->Value->PointerValue, published);
    }
    // A directory of that name is no catalogue file.
    const std::string directory = folder_.Make("sub\\errmsg.xml");
    EXPECT_FALSE(startup::LoadErrorCatalogueFile(directory.substr(0, directory.size() - 1), &vo_, message));
    EXPECT_EQ(message, startup::kCatalogueMissingMessage);
}

TEST_F(ErrorCatalogueTest, AnUnreadableFileIsNeitherMissingNorEmpty)
{
    const std::string file = folder_.Write("errmsg.xml", kCatalogue);
    std::string message;
    {
        // Another program holds it without sharing reading.
        rt::unique_hfile holder(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(startup::LoadErrorCatalogueFile(file, &vo_, message));
    }
    EXPECT_NE(message, startup::kCatalogueMissingMessage);
    EXPECT_NE(message, startup::kCatalogueEmptyMessage);
    EXPECT_NE(message.find("错误代码：[0001]"), std::string::npos) << message;
    EXPECT_NE(message.find("无法读取"), std::string::npos) << message;
    EXPECT_EQ(ErrorListItem(vo_), nullptr);
    EXPECT_TRUE(startup::LoadErrorCatalogueFile(file, &vo_, message)) << "readable again";
}

TEST_F(ErrorCatalogueTest, EmptyCatalogueIsANullPointer)
{
    const std::string file = folder_.Write("errmsg.xml", "<ERRORLIST>\r\n</ERRORLIST>");
    std::string message;
    ASSERT_TRUE(startup::LoadErrorCatalogueFile(file, &vo_, message));
    const rt::ParamItem* item = ErrorListItem(vo_);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Value->PointerValue, nullptr);
}

TEST_F(ErrorCatalogueTest, NoValueObjectIsAnError)
{
    const std::string file = folder_.Write("errmsg.xml", kCatalogue);
    std::string message;
    EXPECT_THROW(startup::LoadErrorCatalogueFile(file, nullptr, message), rt::Error);
}

TEST_F(ErrorCatalogueTest, ABoundlessExpansionIsAnUnloadableFileAndAFileBesideItIsNeverRead)
{
    const std::string subset = testing_text::NestedEntities(9);
    const std::string bomb = folder_.Write("errmsg.xml", "<!DOCTYPE L [" + subset + "]><L><E><MSG>&a9;</MSG></E></L>");
    std::string message = "stale";
    EXPECT_FALSE(startup::LoadErrorCatalogueFile(bomb, &vo_, message));
    EXPECT_EQ(message, startup::kCatalogueEmptyMessage);
    EXPECT_EQ(ErrorListItem(vo_), nullptr);

    // An external entity and an external subset named by relative paths, as
    // a document would name files beside it.
    folder_.Write("ext.xml", "<CODE>9</CODE>read");
    folder_.Write("ext.dtd", "<!ENTITY co \"read\">");
    const std::string file = folder_.Write(
        "errmsg.xml", "<!DOCTYPE L SYSTEM \"ext.dtd\" [<!ENTITY ext SYSTEM \"ext.xml\">]>"
                      "<L><E><CODE>1</CODE><MSG>a&ext;&co;b</MSG></E></L>");
    message.clear();
    ASSERT_TRUE(startup::LoadErrorCatalogueFile(file, &vo_, message));
    const auto* records = static_cast<const rt::TErrorMsg*>(ErrorListItem(vo_)->Value->PointerValue);
    ASSERT_EQ(rt::CountedArrayLength(records), 1);
    EXPECT_EQ(records[0].Code, 1);
    EXPECT_EQ(records[0].Msg, "ab");
}
