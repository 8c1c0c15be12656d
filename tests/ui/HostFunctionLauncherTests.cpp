// RunHostFunction against the real host: the rights check, the code, owner
// and text reaching ExecuteFunc, the 500-byte buffer and its release.
#include "ui/HostFunctionLauncher.h"

#include "hostmodel/HostModel.h"
#include "sharedrt/RtError.h"
#include "support/ImportPatch.h"
#include "support/LocalBlockRecord.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

using hostmodel::Model;
using ui::RunHostFunction;

namespace {

constexpr const char* kCode = "WSCBS004-00-03";

class HostFunctionLauncherTest : public testing::Test {
protected:
    void SetUp() override { Model().Reset(); }
    void TearDown() override { Model().Reset(); }
};

// Bytes of busy blocks in the process heap, where the local-heap blocks of
// the parameter buffer live.
std::size_t BusyProcessHeapBytes()
{
    HANDLE heap = GetProcessHeap();
    std::size_t busy = 0;
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry))
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
            busy += entry.cbData;
    HeapUnlock(heap);
    return busy;
}

} // namespace

TEST_F(HostFunctionLauncherTest, WithoutTheRightNothingButTheCheckIsCalled)
{
    bool ran = false;
    Model().SetHostFunction(kCode, [&](void*, const std::string&, std::string&) { return ran = true; });
    std::string text = "unchanged";
    EXPECT_FALSE(RunHostFunction(nullptr, kCode, text));
    EXPECT_FALSE(ran);
    EXPECT_TRUE(Model().ExecuteCalls().empty());
    ASSERT_EQ(Model().Calls().size(), 1u);
    EXPECT_EQ(Model().Calls()[0].function, "CheckFunctionCanUse");
    EXPECT_THAT(Model().Calls()[0].arguments, testing::HasSubstr(kCode));
    EXPECT_EQ(text, "unchanged");
}

TEST_F(HostFunctionLauncherTest, CodeOwnerAndTextReachTheHostFunctionAndItsTextComesBack)
{
    Model().AllowFunction(kCode);
    int owner = 0;
    std::string seenCode, seenText;
    void* seenOwner = nullptr;
    Model().SetHostFunction(kCode, [&](void* o, const std::string& code, std::string& text) {
        seenOwner = o;
        seenCode = code;
        seenText = text;
        text = "Global_curkjny=202611";
        return true;
    });
    std::string text = "a=1;b=税";
    EXPECT_TRUE(RunHostFunction(&owner, kCode, text));
    EXPECT_EQ(seenOwner, &owner);
    EXPECT_EQ(seenCode, kCode);
    EXPECT_EQ(seenText, "a=1;b=税");
    EXPECT_EQ(text, "Global_curkjny=202611");
    ASSERT_EQ(Model().ExecuteCalls().size(), 1u);
    EXPECT_TRUE(Model().ExecuteCalls()[0].registered);
}

TEST_F(HostFunctionLauncherTest, TheWriteBackIsBoundTo499Bytes)
{
    Model().AllowFunction(kCode);
    Model().SetHostFunction(kCode, [](void*, const std::string&, std::string& text) {
        text = std::string(800, 'x');
        return true;
    });
    std::string text;
    EXPECT_TRUE(RunHostFunction(nullptr, kCode, text));
    EXPECT_EQ(text, std::string(499, 'x'));
}

TEST_F(HostFunctionLauncherTest, A499ByteTextGoesWholeAndA500ByteTextIsRefusedBeforeTheHostIsAsked)
{
    Model().AllowFunction(kCode);
    std::string arrived;
    Model().SetHostFunction(kCode, [&](void*, const std::string&, std::string& text) {
        arrived = text;
        return true;
    });
    std::string fits(499, 'a');
    EXPECT_TRUE(RunHostFunction(nullptr, kCode, fits));
    EXPECT_EQ(arrived, std::string(499, 'a'));
    EXPECT_EQ(fits, std::string(499, 'a'));

    Model().ClearRecords();
    std::string tooLong(500, 'b');
    EXPECT_THROW(RunHostFunction(nullptr, kCode, tooLong), rt::Error);
    EXPECT_TRUE(Model().Calls().empty());
    EXPECT_TRUE(Model().ExecuteCalls().empty());
    EXPECT_EQ(tooLong, std::string(500, 'b'));
}

TEST_F(HostFunctionLauncherTest, AFailedOrUnknownHostFunctionGivesFalse)
{
    Model().AllowFunction(kCode);
    Model().AllowFunction("WSCBS999");
    Model().SetHostFunction(kCode, [](void*, const std::string&, std::string& text) {
        text = "failed";
        return false;
    });
    std::string text = "in";
    EXPECT_FALSE(RunHostFunction(nullptr, kCode, text));
    EXPECT_EQ(text, "failed");

    Model().SetHostFunction(kCode, [](void*, const std::string&, std::string&) -> bool {
        throw rt::Error("读卡失败");
    });
    EXPECT_FALSE(RunHostFunction(nullptr, kCode, text));
    EXPECT_EQ(Model().ExecuteCalls().back().error, "读卡失败");

    std::string unknown;
    EXPECT_FALSE(RunHostFunction(nullptr, "WSCBS999", unknown));
    EXPECT_FALSE(Model().ExecuteCalls().back().registered);
}

TEST_F(HostFunctionLauncherTest, TheBufferIsReleasedAfterEveryLaunchAlsoAFailedOne)
{
    Model().AllowFunction(kCode);
    bool succeed = false;
    Model().SetHostFunction(kCode, [&](void*, const std::string&, std::string& text) {
        text.assign(300, 'r');
        succeed = !succeed;
        return succeed;
    });
    auto launch = [] {
        std::string text = "p";
        RunHostFunction(nullptr, kCode, text);
        Model().ClearRecords();
    };
    for (int i = 0; i < 20; ++i)
        launch();
    const std::size_t before = BusyProcessHeapBytes();
    constexpr int kLaunches = 400;
    for (int i = 0; i < kLaunches; ++i)
        launch();
    const std::size_t after = BusyProcessHeapBytes();
    // A kept buffer would add 500 bytes and more per launch.
    EXPECT_LT(after, before + kLaunches * ui::kParamBufferSize / 10);
}

namespace {

std::string g_raisedFor;

unsigned char __stdcall RaisingExecuteFunc(void*, const char* code, char** buffer)
{
    g_raisedFor = code;
    std::strcpy(*buffer, "half written");
    throw rt::Error(std::string("读卡器未连接：") + code);
}

} // namespace

TEST_F(HostFunctionLauncherTest, AnErrorOutOfTheHostFunctionContinuesAfterTheBufferIsReleased)
{
    Model().AllowFunction(kCode);
    const HMODULE self = GetModuleHandleA(nullptr);
    const testing_support::LocalBlockRecord blocks(self);
    const testing_support::ImportPatch raising(self, "ModuleLib.dll", "ExecuteFunc",
                                               reinterpret_cast<void*>(&RaisingExecuteFunc));
    std::string text = "p";
    try {
        RunHostFunction(nullptr, kCode, text);
        ADD_FAILURE() << "the host's error did not continue to the caller";
    } catch (const rt::Error& error) {
        EXPECT_EQ(std::string(error.what()), std::string("读卡器未连接：") + kCode);
    }
    EXPECT_EQ(g_raisedFor, kCode);
    EXPECT_EQ(text, "p");  // what the host half wrote does not come back
    EXPECT_EQ(blocks.Allocated().size(), 1u);
    EXPECT_TRUE(blocks.Held().empty());
}

TEST_F(HostFunctionLauncherTest, WithoutAParameterBufferNothingIsStartedAndTheLaunchFails)
{
    Model().AllowFunction(kCode);
    bool ran = false;
    Model().SetHostFunction(kCode, [&](void*, const std::string&, std::string&) { return ran = true; });
    std::string text = "p";
    {
        const testing_support::LocalBlockRecord noMemory(GetModuleHandleA(nullptr), true);
        EXPECT_THROW(RunHostFunction(nullptr, kCode, text), rt::Error);
        EXPECT_EQ(noMemory.FailedAllocations(), 1);
    }
    EXPECT_FALSE(ran);
    EXPECT_TRUE(Model().ExecuteCalls().empty());
    EXPECT_EQ(text, "p");

    // The next launch with memory goes ahead as usual.
    EXPECT_TRUE(RunHostFunction(nullptr, kCode, text));
    EXPECT_TRUE(ran);
}
