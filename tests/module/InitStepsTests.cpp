#include "module/InitSteps.h"

#include "startup/catalogue/ErrorCatalogueMessages.h"

#include "sharedrt/RtError.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

namespace {

// Steps that record their order and do what the test tells them.
class ScriptedSteps : public module::InitSteps {
public:
    std::string calls;
    bool regionThrows = false;
    bool shortcutsThrow = false;
    bool driverPresent = true;
    std::string globalsMessage;
    bool globalsThrowRtError = false;
    bool globalsThrowOther = false;

    void ApplyRegionalDifferences() override
    {
        calls += "1";
        if (regionThrows)
            throw rt::Error("no company value object");
    }
    void CleanUpLegacyShortcuts() override
    {
        calls += "2";
        if (shortcutsThrow)
            throw std::runtime_error("shortcut");
    }
    bool CardReaderDriverPresent() override
    {
        calls += "4";
        return driverPresent;
    }
    std::string InitModuleGlobals() override
    {
        calls += "5";
        if (globalsThrowRtError)
            throw rt::Error("无法写入action.ini");
        if (globalsThrowOther)
            throw 42;
        return globalsMessage;
    }
};

} // namespace

TEST(InitSteps, ResultTextsHaveTheirGbkLengths)
{
    EXPECT_EQ(std::strlen(module::kDriverMissingMessage), 110u);
    EXPECT_EQ(std::strlen(startup::kCatalogueMissingMessage), 66u);
    EXPECT_EQ(std::strlen(startup::kCatalogueEmptyMessage), 64u);
}

TEST(InitSteps, SuccessReturnsTheTextByteForByte)
{
    ScriptedSteps steps;
    const std::string text = "  a=1;b=&eq%;  ";
    const module::InitOutcome outcome = module::RunInitSteps(steps, text);
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.text, text);
    EXPECT_EQ(steps.calls, "1245");
}

TEST(InitSteps, MissingDriverStopsBeforeTheGlobals)
{
    ScriptedSteps steps;
    steps.driverPresent = false;
    const module::InitOutcome outcome = module::RunInitSteps(steps, "a=1");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.text, std::string("a=1;ResultMsgStr=").append(module::kDriverMissingMessage));
    EXPECT_EQ(steps.calls, "124");
}

TEST(InitSteps, CatalogueMessageReplacesAnExistingResultEntry)
{
    ScriptedSteps steps;
    steps.globalsMessage = startup::kCatalogueMissingMessage;
    const module::InitOutcome outcome = module::RunInitSteps(steps, "x=1;resultmsgstr=old;y=2");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.text, std::string("x=1;ResultMsgStr=").append(startup::kCatalogueMissingMessage).append(";y=2"));
}

TEST(InitSteps, EmptyTextOnFailureHoldsOnlyTheResultEntry)
{
    ScriptedSteps steps;
    steps.globalsMessage = startup::kCatalogueEmptyMessage;
    EXPECT_EQ(module::RunInitSteps(steps, "").text, std::string("ResultMsgStr=").append(startup::kCatalogueEmptyMessage));
}

TEST(InitSteps, RegionalFailureDoesNotStopTheRest)
{
    ScriptedSteps steps;
    steps.regionThrows = true;
    const module::InitOutcome outcome = module::RunInitSteps(steps, "a=1");
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.text, "a=1");
    EXPECT_EQ(steps.calls, "1245");
}

TEST(InitSteps, EscapingFailureBecomesAResultMessage)
{
    ScriptedSteps steps;
    steps.globalsThrowRtError = true;
    module::InitOutcome outcome = module::RunInitSteps(steps, "a=1");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.text, "a=1;ResultMsgStr=初始化子系统失败：无法写入action.ini");

    ScriptedSteps other;
    other.globalsThrowOther = true;
    outcome = module::RunInitSteps(other, "");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.text, "ResultMsgStr=初始化子系统失败：未知错误");

    ScriptedSteps shortcuts;
    shortcuts.shortcutsThrow = true;
    outcome = module::RunInitSteps(shortcuts, "a=1");
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(shortcuts.calls, "12");
}
