// The shell's report of the host services the module called: each call
// under the host's call into the module that it came from, in call order.
#include "shell/ShellReport.h"
#include "support/HostSetup.h"

#include "hostmodel/HostModel.h"
#include "hostmodel/ModuleLibApi.h"

#include <gtest/gtest.h>

#include <sstream>

using hostmodel::Model;

namespace {

void CallCode(const char* functionCode) { CheckFunctionCanUse(functionCode); }

std::string Report(const std::vector<shell::CallStep>& steps)
{
    std::ostringstream out;
    shell::PrintHostRecords(out, Model(), steps);
    return out.str();
}

} // namespace

TEST(ShellReport, ListsEachCallUnderTheStepItCameFromAndEmptyStepsToo)
{
    testing_support::UseSubApp();
    Model().AllowFunction("WSCBS004-00-01");
    CallCode("WSCBS004-00-01");
    CallCode("WSCBS003-01");
    CallCode("WSCBS004-00-01");
    EXPECT_EQ(Report({{0, "InitSubApp"}, {2, "ShowFrmView"}, {3, "painting and capture"}}),
              "host services called by the module: 3\n"
              "  during InitSubApp:\n"
              "    CheckFunctionCanUse(\"WSCBS004-00-01\") -> 1\n"
              "    CheckFunctionCanUse(\"WSCBS003-01\") -> 0\n"
              "  during ShowFrmView:\n"
              "    CheckFunctionCanUse(\"WSCBS004-00-01\") -> 1\n"
              "  during painting and capture:\n"
              "InforMsg: 0\n");
    // Two steps that begin at the same call: the first made none.
    EXPECT_EQ(Report({{0, "InitSubApp"}, {0, "ShowFrmView"}}),
              "host services called by the module: 3\n"
              "  during InitSubApp:\n"
              "  during ShowFrmView:\n"
              "    CheckFunctionCanUse(\"WSCBS004-00-01\") -> 1\n"
              "    CheckFunctionCanUse(\"WSCBS003-01\") -> 0\n"
              "    CheckFunctionCanUse(\"WSCBS004-00-01\") -> 1\n"
              "InforMsg: 0\n");
    Model().Reset();
}

TEST(ShellReport, WithoutStepsListsTheCallsAlone)
{
    testing_support::UseSubApp();
    CallCode("WSCBS002-01");
    EXPECT_EQ(Report({}),
              "host services called by the module: 1\n"
              "  CheckFunctionCanUse(\"WSCBS002-01\") -> 0\n"
              "InforMsg: 0\n");
    Model().Reset();
}
