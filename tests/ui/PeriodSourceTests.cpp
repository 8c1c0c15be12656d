// CurrentPeriod reads "Global_curkjny" afresh from the host's value object.
#include "ui/PeriodSource.h"

#include "hostmodel/HostModel.h"

#include <gtest/gtest.h>

using hostmodel::Model;

TEST(PeriodSource, ReadsTheItemAfreshAndIsEmptyWithoutIt)
{
    Model().Reset();
    hostmodel::SubAppSetup setup;
    setup.code = "WSCBS";
    setup.folder = "C:\\WSCBS\\";
    Model().AddSubApp(setup);
    Model().SetCurrentSubApp("WSCBS");
    EXPECT_EQ(ui::CurrentPeriod(), "");

    rt::DataVO& vo = *Model().SubAppVo("WSCBS");
    Model().SetString(vo, "Global_curkjny", "200703");
    EXPECT_EQ(ui::CurrentPeriod(), "200703");
    Model().SetString(vo, "GLOBAL_CURKJNY", "201112");
    EXPECT_EQ(ui::CurrentPeriod(), "201112");

    // Another current sub-application has its own value object.
    setup.code = "OTHER";
    Model().AddSubApp(setup);
    Model().SetCurrentSubApp("OTHER");
    EXPECT_EQ(ui::CurrentPeriod(), "");
    Model().Reset();
}
