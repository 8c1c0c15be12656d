// InforMsg: the text comes from the error catalogue the sub-application
// published as "Global_Errlist".
#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"
#include "sharedrt/ErrorMsgLayout.h"
#include "sharedrt/SharedHeap.h"

#include <gtest/gtest.h>

#include <new>
#include <utility>
#include <vector>

using hostmodel::Model;

namespace {

// A counted record array as a module publishes it.
class Catalogue {
public:
    explicit Catalogue(const std::vector<std::pair<std::int32_t, const char*>>& entries) : count_(entries.size())
    {
        block_ = rt::SharedHeap::AllocZeroed(sizeof(rt::CountedArrayHeader) + count_ * sizeof(rt::TErrorMsg));
        auto* header = static_cast<rt::CountedArrayHeader*>(block_);
        header->RefCount = -1;
        header->Count = static_cast<std::int32_t>(count_);
        first_ = reinterpret_cast<rt::TErrorMsg*>(header + 1);
        for (std::size_t i = 0; i < count_; ++i) {
            rt::TErrorMsg* record = new (first_ + i) rt::TErrorMsg();
            record->SeqNo = static_cast<std::int32_t>(i + 1);
            record->Code = entries[i].first;
            record->Msg = std::string_view(entries[i].second);
        }
    }
    ~Catalogue()
    {
        for (std::size_t i = 0; i < count_; ++i)
            first_[i].~TErrorMsg();
        rt::SharedHeap::Free(block_);
    }
    rt::TErrorMsg* First() const { return first_; }

private:
    std::size_t count_;
    void* block_;
    rt::TErrorMsg* first_;
};

class InforMsgTest : public testing::Test {
protected:
    void SetUp() override
    {
        Model().Reset();
        hostmodel::SubAppSetup setup;
        setup.code = "WSCBS";
        Model().AddSubApp(setup);
        Model().SetCurrentSubApp("WSCBS");
    }
    void TearDown() override { Model().Reset(); }

    static void Publish(void* first, rt::ParamType type = rt::ParamType::Pointer)
    {
        rt::TParamValue* cell = rt::NewParamValue();
        cell->PointerValue = first;
        Model().SetValue(*Model().SubAppVo("WSCBS"), "Global_Errlist", type, cell);
    }
};

TEST_F(InforMsgTest, ShowsTheCataloguedMessageForTheCode)
{
    Catalogue catalogue({{70001001, "读卡器未连接"}, {70001005, "修改IC卡信息表结构失败！"}});
    Publish(catalogue.First());

    InforMsg(70001005, "", 1);
    InforMsg(70001001, "请检查读卡器", 0);
    InforMsg(12345, nullptr, 1);

    const auto& messages = Model().Messages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].code, 70001005);
    EXPECT_TRUE(messages[0].flag);
    EXPECT_EQ(messages[0].shownText, "修改IC卡信息表结构失败！");
    EXPECT_EQ(messages[1].shownText, "读卡器未连接\r\n请检查读卡器");
    EXPECT_FALSE(messages[1].flag);
    EXPECT_EQ(messages[2].shownText, "code 12345");
    Model().Reset();
}

TEST_F(InforMsgTest, WithoutAUsableCatalogueTheCodeIsShown)
{
    InforMsg(70001005, "", 1);
    Publish(nullptr);
    InforMsg(70001005, "", 1);
    Catalogue catalogue({{70001005, "不应显示"}});
    Publish(catalogue.First(), rt::ParamType::Integer);
    InforMsg(70001005, "", 1);

    const auto& messages = Model().Messages();
    ASSERT_EQ(messages.size(), 3u);
    for (const auto& message : messages)
        EXPECT_EQ(message.shownText, "code 70001005");
    Model().Reset();
}

} // namespace
