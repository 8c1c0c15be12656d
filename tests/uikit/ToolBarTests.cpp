#include "UiTestSupport.h"

#include "sharedrt/ui/ImageList.h"
#include "sharedrt/ui/ToolBar.h"

using namespace rt::ui;

namespace {

class ToolBarTests : public uitest::CanvasTest {
protected:
    static POINT ButtonCenter(const ToolBar& bar, int index)
    {
        const RECT r = bar.ButtonRect(index);
        POINT center{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(bar.Handle(), &center);
        return center;
    }
    void ClickButton(ToolBar& bar, int index) { driver::ClickAt(bar, ButtonCenter(bar, index)); }
};

} // namespace

TEST_F(ToolBarTests, StripAtTheTopInItsColourWithClickableButtons)
{
    auto* images = new ImageList({.owner = form_, .name = "ImageList1"});
    EXPECT_EQ(images->ImageWidth(), 24);
    EXPECT_EQ(images->Add(uitest::TwoCellPicture(24, RgbHex(0xFF0000), RgbHex(0x0000FF))), 0);
    EXPECT_EQ(images->Count(), 2);

    auto* bar = new ToolBar({.control = {.owner = form_, .parent = canvas_, .name = "ModuleToolbar",
                                         .bounds = {0, 1, 0, 26}, .caption = "ModuleToolbar",
                                         .color = RgbHex(0xDAE8D8)},
                             .buttonWidth = 85,
                             .buttonHeight = 30,
                             .list = true,
                             .images = images});
    EXPECT_EQ(bar->GetAlign(), Align::Top);
    EXPECT_EQ(bar->GetBounds(), (Bounds{0, 0, canvas_->ClientWidth(), 26}));
    EXPECT_EQ(Capture().At(canvas_->ClientWidth() - 3, 13), 0xDAE8D8u);

    std::vector<int> clicks;
    bar->AddButton({.caption = "打印", .imageIndex = 0, .onClick = [&](Component& sender) {
                        EXPECT_EQ(&sender, bar);
                        clicks.push_back(0);
                    }});
    bar->AddButton({.caption = "退出", .imageIndex = 1, .onClick = [&](Component&) { clicks.push_back(1); }});
    EXPECT_EQ(bar->ButtonCount(), 2);
    const RECT first = bar->ButtonRect(0);
    EXPECT_EQ(first.right - first.left, 85);

    ClickButton(*bar, 1);
    ClickButton(*bar, 0);
    EXPECT_EQ(clicks, (std::vector<int>{1, 0}));
    bar->SetButtonEnabled(1, false);
    ClickButton(*bar, 1);
    EXPECT_EQ(clicks, (std::vector<int>{1, 0}));
}

TEST_F(ToolBarTests, ButtonHintsShowThroughTheFormsToolTip)
{
    auto* bar = new ToolBar({.control = {.owner = form_, .parent = canvas_, .bounds = {0, 0, 0, 26},
                                         .hint = "工具栏"},
                             .buttonWidth = 85,
                             .buttonHeight = 24});
    bar->AddButton({.caption = "打印", .hint = "打印报表"});
    bar->AddButton({.caption = "退出"});
    form_->SetShowHint(true);
    driver::MoveMouseTo(*bar, ButtonCenter(*bar, 0));
    EXPECT_EQ(uitest::ToolTipText(form_->ToolTipHandle(), bar->Handle()), "打印报表");
    driver::MoveMouseTo(*bar, ButtonCenter(*bar, 1));
    EXPECT_EQ(uitest::ToolTipText(form_->ToolTipHandle(), bar->Handle()), "工具栏");
}
