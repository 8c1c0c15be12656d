// ExecuteFunc: host functions by code, their record and the 499-byte bound.
#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"
#include "sharedrt/SharedHeap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

using hostmodel::Model;

namespace {

// A 500-byte parameter block followed by guard bytes that must stay intact.
class ParameterBlock {
public:
    explicit ParameterBlock(const char* text)
    {
        std::memset(bytes_, 0, sizeof bytes_);
        std::memset(bytes_ + 500, 0x5A, sizeof bytes_ - 500);
        std::strcpy(bytes_, text);
        pointer_ = bytes_;
    }
    char** Address() { return &pointer_; }
    std::string Text() const { return bytes_; }
    bool GuardIntact() const
    {
        for (std::size_t i = 500; i < sizeof bytes_; ++i)
            if (bytes_[i] != 0x5A)
                return false;
        return pointer_ == bytes_;
    }

private:
    char bytes_[600];
    char* pointer_;
};

class ExecuteFuncTest : public testing::Test {
protected:
    void SetUp() override { Model().Reset(); }
    void TearDown() override { Model().Reset(); }
};

TEST_F(ExecuteFuncTest, RunsTheRegisteredFunctionAndRecordsTheCall)
{
    int owner = 0;
    Model().SetHostFunction("WSCBS005-01", [](void*, const std::string& code, std::string& text) {
        text = "Global_curkjny=202611;code=" + code + ";was=" + text;
        return true;
    });
    ParameterBlock block("in");
    EXPECT_EQ(ExecuteFunc(&owner, "wscbs005-01", block.Address()), 1);
    EXPECT_EQ(block.Text(), "Global_curkjny=202611;code=wscbs005-01;was=in");

    ASSERT_EQ(Model().ExecuteCalls().size(), 1u);
    const hostmodel::ExecuteCall& call = Model().ExecuteCalls()[0];
    EXPECT_EQ(call.owner, &owner);
    EXPECT_EQ(call.functionCode, "wscbs005-01");
    EXPECT_EQ(call.textIn, "in");
    EXPECT_EQ(call.textOut, block.Text());
    EXPECT_TRUE(call.registered);
    EXPECT_TRUE(call.result);
}

TEST_F(ExecuteFuncTest, NeverWritesMoreThan499BytesAndCutsAtAWholeCharacter)
{
    Model().SetHostFunction("LONG", [](void*, const std::string&, std::string& text) {
        text = std::string(700, 'x');
        return true;
    });
    Model().SetHostFunction("CHINESE", [](void*, const std::string&, std::string& text) {
        text.assign(498, 'y').append("税");
        return true;
    });
    ParameterBlock longBlock("");
    EXPECT_EQ(ExecuteFunc(nullptr, "LONG", longBlock.Address()), 1);
    EXPECT_EQ(longBlock.Text(), std::string(499, 'x'));
    EXPECT_TRUE(longBlock.GuardIntact());

    ParameterBlock chineseBlock("");
    ExecuteFunc(nullptr, "CHINESE", chineseBlock.Address());
    EXPECT_EQ(chineseBlock.Text(), std::string(498, 'y'));
    EXPECT_TRUE(chineseBlock.GuardIntact());
    EXPECT_EQ(Model().ExecuteCalls()[1].textOut, std::string(498, 'y'));
}

TEST_F(ExecuteFuncTest, UnknownFailingAndRaisingFunctionsLeaveTheBufferAlone)
{
    Model().SetHostFunction("REFUSES", [](void*, const std::string&, std::string& text) {
        text = "refused";
        return false;
    });
    Model().SetHostFunction("RAISES", [](void*, const std::string&, std::string& text) -> bool {
        text = "half";
        throw std::runtime_error("card reader not ready");
    });

    ParameterBlock unknown("kept");
    EXPECT_EQ(ExecuteFunc(nullptr, "NONE", unknown.Address()), 0);
    EXPECT_EQ(unknown.Text(), "kept");

    ParameterBlock refused("kept");
    EXPECT_EQ(ExecuteFunc(nullptr, "REFUSES", refused.Address()), 0);
    EXPECT_EQ(refused.Text(), "refused") << "what a failing function leaves still goes back";

    ParameterBlock raised("kept");
    EXPECT_EQ(ExecuteFunc(nullptr, "RAISES", raised.Address()), 0);
    EXPECT_EQ(raised.Text(), "kept");

    const auto& calls = Model().ExecuteCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_FALSE(calls[0].registered);
    EXPECT_TRUE(calls[1].registered);
    EXPECT_FALSE(calls[1].result);
    EXPECT_EQ(calls[2].error, "card reader not ready");
    EXPECT_EQ(calls[2].textOut, "kept");
}

TEST_F(ExecuteFuncTest, WithoutABufferTheFunctionGetsAnEmptyText)
{
    std::string seen = "unset";
    Model().SetHostFunction("F", [&](void*, const std::string&, std::string& text) {
        seen = text;
        text = "nowhere to go";
        return true;
    });
    char* none = nullptr;
    EXPECT_EQ(ExecuteFunc(nullptr, "F", &none), 1);
    EXPECT_EQ(ExecuteFunc(nullptr, "F", nullptr), 1);
    EXPECT_EQ(seen, "");
    EXPECT_EQ(none, nullptr);
}

TEST_F(ExecuteFuncTest, CallsMadeByAHostFunctionFollowItsOwnEntry)
{
    Model().SetHostFunction("OUTER", [](void*, const std::string&, std::string&) {
        ExecuteFunc(nullptr, "INNER", nullptr);
        return true;
    });
    ExecuteFunc(nullptr, "OUTER", nullptr);
    const auto& calls = Model().ExecuteCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].functionCode, "OUTER");
    EXPECT_TRUE(calls[0].result);
    EXPECT_EQ(calls[1].functionCode, "INNER");
    ASSERT_EQ(Model().Calls().size(), 2u);
    EXPECT_EQ(Model().Calls()[0].function, "ExecuteFunc");
    EXPECT_EQ(Model().Calls()[0].arguments, "null, \"OUTER\", \"\"");
}

} // namespace
