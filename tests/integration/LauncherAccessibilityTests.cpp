// The launcher panel as assistive technology reads it, through oleacc's own
// AccessibleObjectFromWindow: its buttons as push buttons named by their
// captions, the period link, the period line and the version as texts, with
// their hints, states, places and default actions.
#include "LauncherTestHost.h"

#include "sharedrt/ui/FlatPictureButton.h"
#include "sharedrt/ui/Label.h"
#include "support/Accessible.h"

#include <gmock/gmock.h>

using hostmodel::Model;
using rt::ui::FlatPictureButton;
using rt::ui::Panel;
using testing::ElementsAre;
using testing_support::AccessibleElement;

namespace {

class LauncherAccessibilityTest : public testing_support::LauncherTestHost {
protected:
    FlatPictureButton& Button(const char* name) { return Element<FlatPictureButton>(name); }

    AccessibleElement MainArea() { return AccessibleElement::FromWindow(Element<Panel>("Pnl_main").Handle()); }

    // The child of `parent` with that name; an empty element when none has.
    static AccessibleElement Named(const AccessibleElement& parent, const std::string& name)
    {
        for (long id = 1; id <= parent.ChildCount(); ++id) {
            AccessibleElement child = parent.ChildElement(id);
            if (child.Name() == name)
                return child;
        }
        return {};
    }

    static std::vector<std::string> Names(const AccessibleElement& parent)
    {
        std::vector<std::string> names;
        for (long id = 1; id <= parent.ChildCount(); ++id)
            names.push_back(parent.ChildElement(id).Name());
        return names;
    }

    static RECT ScreenRect(const rt::ui::Control& control)
    {
        const rt::ui::Bounds b = control.ScreenBounds();
        return RECT{b.left, b.top, b.Right(), b.Bottom()};
    }

    testing_support::ComApartment com;
};

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace

TEST_F(LauncherAccessibilityTest, TheMainAreaShowsItsElementsInReadingOrder)
{
    Individuate({{"Hint_BS", "将发票数据抄入IC卡"}});
    Model().DenyFunction("WSCBS004-00-06");
    ASSERT_TRUE(Show());
    const AccessibleElement main = MainArea();
    ASSERT_TRUE(main);
    EXPECT_THAT(Names(main), ElementsAre("当前税款所属期：", "2007年03月", "更改", "网上抄税", "清 卡", "获取状态",
                                         "抄报状态", "发票查询"))
        << "the hidden button is not among them";

    const AccessibleElement bs = Named(main, "网上抄税");
    ASSERT_TRUE(bs);
    EXPECT_EQ(bs.Role(), ROLE_SYSTEM_PUSHBUTTON);
    EXPECT_EQ(bs.Description(), "将发票数据抄入IC卡");
    EXPECT_EQ(bs.DefaultAction(), "按下");
    EXPECT_TRUE(bs.State() & STATE_SYSTEM_FOCUSABLE);
    EXPECT_FALSE(bs.State() & STATE_SYSTEM_UNAVAILABLE);
    EXPECT_TRUE(SameRect(bs.Location(), ScreenRect(Button("sbtnBs"))));
    EXPECT_EQ(Named(main, "清 卡").Description(), "") << "no hint, no description";
    EXPECT_TRUE(SameRect(Named(main, "发票查询").Location(), ScreenRect(Button("sbtnfpcx"))));

    const AccessibleElement link = Named(main, "更改");
    EXPECT_EQ(link.Role(), ROLE_SYSTEM_LINK);
    EXPECT_TRUE(link.State() & STATE_SYSTEM_LINKED);
    EXPECT_FALSE(link.DefaultAction().empty());
    EXPECT_EQ(Named(main, "2007年03月").Role(), ROLE_SYSTEM_STATICTEXT);
    EXPECT_EQ(Named(main, "当前税款所属期：").Role(), ROLE_SYSTEM_STATICTEXT);

    const AccessibleElement bottom = AccessibleElement::FromWindow(Element<Panel>("pnl_bottom").Handle());
    EXPECT_THAT(Names(bottom), ElementsAre("版本：2.0.1"));
    EXPECT_EQ(Named(bottom, "版本：2.0.1").Role(), ROLE_SYSTEM_STATICTEXT);
}

TEST_F(LauncherAccessibilityTest, ADisabledButtonIsUnavailable)
{
    ASSERT_TRUE(Show());
    Button("sbtnGetState").SetEnabled(false);
    const AccessibleElement getState = Named(MainArea(), "获取状态");
    ASSERT_TRUE(getState);
    EXPECT_TRUE(getState.State() & STATE_SYSTEM_UNAVAILABLE);
    Button("sbtnGetState").SetEnabled(true);
    EXPECT_FALSE(getState.State() & STATE_SYSTEM_UNAVAILABLE);
}

TEST_F(LauncherAccessibilityTest, TheDefaultActionIsTheClickUnderTheSameRules)
{
    ASSERT_TRUE(Show());
    Model().ClearRecords();
    EXPECT_EQ(Named(MainArea(), "网上抄税").DoDefaultAction(), S_OK);
    rt::ui::driver::ProcessMessages();
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-03"));

    Model().DenyFunction("WSCBS004-00-04");
    Named(MainArea(), "清 卡").DoDefaultAction();
    rt::ui::driver::ProcessMessages();
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-03"));

    Named(MainArea(), "更改").DoDefaultAction();
    rt::ui::driver::ProcessMessages();
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-03", "WSCBS005-01"));
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherAccessibilityTest, TheViewAndTheToolBarHaveNamesAndKeepTheirCaptions)
{
    ASSERT_TRUE(Show());
    const HWND view = View()->Handle();
    const HWND toolbar = Element<rt::ui::WinControl>("ModuleToolbar").Handle();
    EXPECT_EQ(AccessibleElement::FromWindow(view).Name(), "网上抄报税");
    EXPECT_EQ(AccessibleElement::FromWindow(toolbar).Name(), "模块工具栏");
    char caption[64] = {};
    GetWindowTextA(view, caption, sizeof caption);
    EXPECT_STREQ(caption, "frm_Mainframe");
    GetWindowTextA(toolbar, caption, sizeof caption);
    EXPECT_STREQ(caption, "ModuleToolbar");
}
