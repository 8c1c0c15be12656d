#pragma once
// The order and outcome of the initialisation steps, apart from what each
// step does (InitSequence.cpp binds them to the host and the system).
//
//   0. the installation held for this start: a start of another host on the
//      same installation waits until this one ends; one that cannot wait
//      for it fails with its message
//   1. zone code and regional differences - any failure ends the step
//      silently and the sequence goes on
//   2. legacy shortcut clean-up
//   3. the host's text becomes the working text
//   4. card-reader driver check - when it fails, "ResultMsgStr" carries the
//      driver message, result 0, step 5 does not run
//   5. module globals - a message text becomes "ResultMsgStr", result 0;
//      none gives result 1 and the text exactly as it came
//
// A failure that escapes the steps gives result 0 and a "ResultMsgStr" that
// says initialisation failed, with the failure's own message.
#include "module/InitSequence.h"

#include <string>

namespace module {

inline constexpr const char kResultMessageName[] = "ResultMsgStr";

inline constexpr const char kDriverMissingMessage[] =
    "计算机没有安装报税IC卡专用读卡器驱动程序，无法使用本系统。\r\n"
    "请您先正确安装专用读卡器驱动程序后，再使用本系统。";

// Put in front of the message of a failure that escaped the steps.
inline constexpr const char kInitFailedPrefix[] = "初始化子系统失败：";
// The message of a failure that carries none.
inline constexpr const char kUnknownFailureMessage[] = "未知错误";

class InitSteps {
public:
    virtual ~InitSteps() = default;
    // Step 0. Holds the installation until the steps object ends; throws
    // when it cannot be had.
    virtual void HoldInstallation() {}
    // Step 1. May throw; the runner swallows whatever it throws.
    virtual void ApplyRegionalDifferences() = 0;
    // Step 2. Reports nothing.
    virtual void CleanUpLegacyShortcuts() = 0;
    // Step 4: true when the reader driver is present or the platform needs
    // no driver test.
    virtual bool CardReaderDriverPresent() = 0;
    // Step 5: empty, or the message for the host.
    virtual std::string InitModuleGlobals() = 0;
};

// Runs the steps on the host's parameter text. Never throws.
InitOutcome RunInitSteps(InitSteps& steps, const std::string& hostText) noexcept;

} // namespace module
