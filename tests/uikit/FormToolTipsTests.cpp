#include "UiTestSupport.h"

#include "sharedrt/ui/FlatPictureButton.h"

using namespace rt::ui;

namespace {

class FormToolTipsTests : public uitest::CanvasTest {
protected:
    FlatPictureButton* AddButton(Bounds bounds, std::string hint)
    {
        return new FlatPictureButton({.control = {.owner = form_, .parent = canvas_, .bounds = bounds,
                                                  .hint = std::move(hint)}});
    }

    std::string TipTextFor(HWND window) const { return uitest::ToolTipText(form_->ToolTipHandle(), window); }

    struct OwnedToolTips {
        HWND owner;
        int count;
    };
    static BOOL CALLBACK CountOwnedToolTips(HWND window, LPARAM data)
    {
        auto* wanted = reinterpret_cast<OwnedToolTips*>(data);
        char className[64] = {};
        GetClassNameA(window, className, sizeof className);
        if (GetWindow(window, GW_OWNER) == wanted->owner && lstrcmpiA(className, TOOLTIPS_CLASSA) == 0)
            ++wanted->count;
        return TRUE;
    }
    int ToolTipWindowsOwnedBy(HWND owner) const
    {
        OwnedToolTips wanted{owner, 0};
        EnumThreadWindows(GetCurrentThreadId(), &CountOwnedToolTips, reinterpret_cast<LPARAM>(&wanted));
        return wanted.count;
    }
};

} // namespace

TEST_F(FormToolTipsTests, OneToolTipWindowPerFormAndTheHintOfTheControlUnderTheMouse)
{
    EXPECT_EQ(form_->ToolTipHandle(), nullptr);
    auto* bs = AddButton({130, 98, 80, 80}, "网上抄税：把发票数据抄入税控卡");
    auto* clear = AddButton({230, 98, 80, 80}, "清卡");
    AddButton({330, 98, 60, 60}, "");
    form_->SetShowHint(true);
    ASSERT_NE(form_->ToolTipHandle(), nullptr);
    const HWND tips = form_->ToolTipHandle();

    driver::MoveMouseTo(*bs);
    EXPECT_EQ(TipTextFor(canvas_->Handle()), "网上抄税：把发票数据抄入税控卡");
    driver::MoveMouseTo(*clear);
    EXPECT_EQ(TipTextFor(canvas_->Handle()), "清卡");
    driver::MoveMouseTo(*canvas_, POINT{driver::CenterOf(*clear).x + 100, driver::CenterOf(*clear).y});
    EXPECT_EQ(TipTextFor(canvas_->Handle()), "");
    // The hint is read when the tip shows: a changed hint shows next time.
    clear->SetHint("清除税控卡");
    driver::MoveMouseTo(*clear);
    EXPECT_EQ(TipTextFor(canvas_->Handle()), "清除税控卡");

    // Still one window, however many controls were visited.
    EXPECT_EQ(form_->ToolTipHandle(), tips);
    EXPECT_EQ(ToolTipWindowsOwnedBy(form_->Handle()), 1);

    form_->SetShowHint(false);
    EXPECT_EQ(form_->ToolTipHandle(), nullptr);
    EXPECT_FALSE(IsWindow(tips));
    driver::MoveMouseTo(*bs); // no tool tip to talk to: nothing breaks
    EXPECT_TRUE(bs->IsHot());
}

TEST_F(FormToolTipsTests, TheToolTipWindowIsMadeWhenTheMouseFirstComesNotWhenTipsAreSwitchedOn)
{
    auto* bs = AddButton({130, 98, 80, 80}, "网上抄税");
    form_->SetShowHint(true);
    EXPECT_TRUE(form_->ShowHint());
    EXPECT_EQ(ToolTipWindowsOwnedBy(form_->Handle()), 0);

    driver::MoveMouseTo(*bs);
    EXPECT_EQ(ToolTipWindowsOwnedBy(form_->Handle()), 1);
    EXPECT_EQ(TipTextFor(canvas_->Handle()), "网上抄税");

    // Switched off before any mouse came: nothing was made, nothing is left.
    form_->SetShowHint(false);
    form_->SetShowHint(true);
    form_->SetShowHint(false);
    EXPECT_EQ(ToolTipWindowsOwnedBy(form_->Handle()), 0);
    driver::MoveMouseTo(*canvas_, POINT{5, 5});
    EXPECT_EQ(ToolTipWindowsOwnedBy(form_->Handle()), 0);
}
