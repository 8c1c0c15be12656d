// CurrentPeriod reads "Global_curkjny" afresh from the host's value object.
#include "ui/PeriodSource.h"
#include "support/HostSetup.h"

#include "hostmodel/HostModel.h"

#include <gtest/gtest.h>

using hostmodel::Model;

TEST(PeriodSource, ReadsTheItemAfreshAndIsEmptyWithoutIt)
{
    testing_support::UseSubApp();
    EXPECT_EQ(ui::CurrentPeriod(), "");

    rt::DataVO& vo = *Model().SubAppVo("WSCBS");
    Model().SetString(vo, "Global_curkjny", "200703");
    EXPECT_EQ(ui::CurrentPeriod(), "200703");
    Model().SetString(vo, "GLOBAL_CURKJNY", "201112");
    EXPECT_EQ(ui::CurrentPeriod(), "201112");

    // Another current sub-application has its own value object.
    hostmodel::SubAppSetup other;
    other.code = "OTHER";
    other.folder = "C:\\OTHER\\";
    Model().AddSubApp(other);
    Model().SetCurrentSubApp("OTHER");
    EXPECT_EQ(ui::CurrentPeriod(), "");
    Model().Reset();
}
