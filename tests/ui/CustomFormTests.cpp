// Tfrm_Custom against the real host model and a recording host main window:
// the host context in order, the skin, the input-method hooks, F1, the
// host's close and skin messages, activation and the closing notice.
#include "ui/CustomForm.h"
#include "support/HostSetup.h"

#include "hostmodel/HostModel.h"
#include "kestrel/XPKestrelEdit.h"
#include "shell/MainFrameWindow.h"
#include "sharedrt/AppObjects.h"
#include "sharedrt/ui/UiDriver.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using hostmodel::Model;
using testing::ElementsAre;
using namespace rt::ui;

namespace {

class CustomFormTest : public testing::Test {
protected:
    void SetUp() override
    {
        testing_support::UseSubApp("WSCBS", "C:\\WSCBS\\", "2.0.1");
        Model().SetCurrentFunction("WSCBS004-00-01");
        host_ = CreateForm<shell::Tfrm_MainFrame>("host");
        host_->Show();
        driver::ProcessMessages();
        Model().SetWindows(host_->Handle(), host_->Handle());
        rt::CurrentApplication()->SetHandle(host_->Handle());
    }
    void TearDown() override
    {
        FreeComponent(form_);
        FreeComponent(host_);
        driver::ProcessMessages();
        rt::CurrentApplication()->SetHandle(nullptr);
        Model().Reset();
    }

    ui::Tfrm_Custom& Create()
    {
        form_ = CreateForm<ui::Tfrm_Custom>();
        return *form_;
    }

    std::vector<std::string> CalledServices() const
    {
        std::vector<std::string> names;
        for (const hostmodel::CallRecord& call : Model().Calls())
            names.push_back(call.function);
        return names;
    }

    driver::ErrorRecorder errors_;
    shell::Tfrm_MainFrame* host_ = nullptr;
    ui::Tfrm_Custom* form_ = nullptr;
};

// A form with host edits, one of which brings its own focus-entry handler.
class EditForm : public ui::Tfrm_Custom {
public:
    EditForm()
    {
        own = new kestrel::TXPKestrelEdit({.control = {.owner = this, .parent = this, .name = "edtOwn",
                                                       .bounds = {10, 40, 100, 21}}});
        own->OnEnter = [this](Component&) { ++ownHandlerRuns; };
        // A name of the form's own, which creation clears because the form
        // holds host edits.
        SetImeName("美式键盘");
        plain = new kestrel::TXPKestrelEdit({.control = {.owner = this, .parent = this, .name = "edtPlain",
                                                         .bounds = {10, 70, 100, 21}},
                                             .imeMode = ImeMode::Chinese});
    }
    kestrel::TXPKestrelEdit* own = nullptr;
    kestrel::TXPKestrelEdit* plain = nullptr;
    int ownHandlerRuns = 0;
};

} // namespace

TEST_F(CustomFormTest, TheResourceGivesTheBaseComponents)
{
    ui::Tfrm_Custom& form = Create();
    EXPECT_EQ(form.Caption(), "frm_Custom");
    EXPECT_EQ(form.Width(), 542);
    EXPECT_EQ(form.Height(), 373);
    EXPECT_TRUE(form.KeyPreview());
    EXPECT_FALSE(form.Shape1->Visible());
    EXPECT_EQ(form.Shape1->Height(), 1);
    EXPECT_EQ(form.Shape1->GetAlign(), Align::Top);
    EXPECT_EQ(form.Shape1->PenColor(), RgbHex(0x838383));
    EXPECT_EQ(form.ModuleToolbar->GetAlign(), Align::Top);
    EXPECT_EQ(form.ModuleToolbar->Height(), 26);
    EXPECT_EQ(form.ModuleToolbar->Caption(), "ModuleToolbar");
    EXPECT_EQ(form.ImageList1->ImageWidth(), 24);
    EXPECT_EQ(form.ImageList1->ImageHeight(), 24);
    EXPECT_EQ(form.FindComponent("ModuleToolbar"), form.ModuleToolbar);
}

TEST_F(CustomFormTest, CreationReadsTheHostContextInOrderThenAppliesTheSkin)
{
    hostmodel::Skin skin;
    skin.fontColor = 0x102030;
    skin.moduleBackColor = 0x405060;
    skin.moduleToolBarColor = 0x708090;
    skin.fontSize = 9;
    skin.fontCharSet = 134;
    Model().SetSkin(skin);
    Model().ClearRecords();

    ui::Tfrm_Custom& form = Create();
    EXPECT_THAT(CalledServices(),
                ElementsAre("GetAppHandle", "GetMainFrameHandle", "GetAppPath", "GetCurSubAppPath",
                            "GetCurSubAppCode", "GetCurFuncCode", "GetCurSubAppInfo", "GetCurSubAppVo",
                            "GetUserInfoVO", "GetCompanyInfoVO", "GetCurParentForm", "GetgsMainFrameParentForm",
                            "giSysFontCharSet", "giSysFontSize", "gclSysFontColor", "gclModuleBackColor",
                            "gclModuleToolBarColor", "SetSkinSchemeCtrls"));
    EXPECT_EQ(form.Context().FuncCode, "WSCBS004-00-01");
    EXPECT_EQ(form.Context().SubAppCode, "WSCBS");
    EXPECT_EQ(form.Context().SubAppPath, "C:\\WSCBS\\");
    EXPECT_EQ(form.Context().MainFrameHandle, host_->Handle());
    EXPECT_EQ(form.Context().SubAppVo, Model().SubAppVo("WSCBS"));

    const Font font = form.GetFont();
    EXPECT_EQ(font.face, "MS Sans Serif");
    EXPECT_EQ(font.charset, 134);
    EXPECT_EQ(font.height, 12);  // 9 points at 96 pixels per inch
    EXPECT_EQ(font.color, 0x102030u);
    EXPECT_EQ(form.GetColor(), 0x405060u);
    EXPECT_EQ(form.ModuleToolbar->GetColor(), 0x708090u);
    EXPECT_THAT(Model().SkinnedForms(), ElementsAre(&form));
}

TEST_F(CustomFormTest, TheSkinChangedMessageAppliesTheSkinAgainAndHooksNewEdits)
{
    ui::Tfrm_Custom& form = Create();
    hostmodel::Skin skin;
    skin.moduleBackColor = 0x00FF00;
    skin.fontSize = 12;
    Model().SetSkin(skin);
    auto* edit = new kestrel::TXPKestrelEdit({.control = {.owner = &form, .parent = &form, .bounds = {5, 40, 80, 21}}});
    EXPECT_FALSE(edit->OnEnter);
    Model().ClearRecords();

    SendMessageA(form.Handle(), WSCBS_MSG_SKIN_CHANGED, 0, 0);
    EXPECT_EQ(form.GetColor(), 0x00FF00u);
    EXPECT_EQ(form.GetFont().height, 16);
    EXPECT_TRUE(edit->OnEnter);
    EXPECT_EQ(Model().SkinnedForms().size(), 1u);
    EXPECT_TRUE(IsWindow(form.Handle()));
}

TEST_F(CustomFormTest, EditsGetTheImeHandlerUnlessTheyHaveOneAndItFollowsTheirMode)
{
    Model().SetUserConfig("RunParameter", "SysIME", "中文 (简体) - 微软拼音");
    form_ = CreateForm<EditForm>();
    auto& form = static_cast<EditForm&>(*form_);

    // The edit's own handler stays.
    form.own->OnEnter(*form.own);
    EXPECT_EQ(form.ownHandlerRuns, 1);

    // Chinese becomes open with the configured input method.
    ASSERT_TRUE(form.plain->OnEnter);
    form.plain->OnEnter(*form.plain);
    EXPECT_EQ(form.plain->GetImeMode(), ImeMode::Open);
    EXPECT_EQ(form.plain->ImeName(), "中文 (简体) - 微软拼音");

    // Anything else closes it with English.
    form.plain->SetImeMode(ImeMode::DontCare);
    form.EditImeHandler(*form.plain);
    EXPECT_EQ(form.plain->GetImeMode(), ImeMode::Close);
    EXPECT_EQ(form.plain->ImeName(), "英语");

    // Without a configured input method the default text is used as it is.
    Model().Reset();
    form.plain->SetImeMode(ImeMode::Open);
    form.EditImeHandler(*form.plain);
    EXPECT_EQ(form.plain->ImeName(), "-请选择-");

    // A sender that is no host edit is left alone.
    form.EditImeHandler(form);
    EXPECT_EQ(form.GetImeMode(), ImeMode::DontCare);
}

TEST_F(CustomFormTest, TheFormsOwnInputMethodNameIsClearedOnlyWhenItHoldsHostEdits)
{
    form_ = CreateForm<EditForm>();
    auto& withEdits = static_cast<EditForm&>(*form_);
    EXPECT_EQ(withEdits.ImeName(), "");  // the constructor's name is gone

    // The skin-changed message hooks the edits again and clears it again.
    withEdits.SetImeName("美式键盘");
    SendMessageA(withEdits.Handle(), WSCBS_MSG_SKIN_CHANGED, 0, 0);
    EXPECT_EQ(withEdits.ImeName(), "");

    // A form without host edits keeps its name.
    auto* plain = CreateForm<ui::Tfrm_Custom>();
    plain->SetImeName("美式键盘");
    SendMessageA(plain->Handle(), WSCBS_MSG_SKIN_CHANGED, 0, 0);
    EXPECT_EQ(plain->ImeName(), "美式键盘");
    FreeComponent(plain);
}

TEST_F(CustomFormTest, F1SendsOneHelpRequestAndTheKeyStillReachesTheFocusedEdit)
{
    form_ = CreateForm<EditForm>();
    auto& form = static_cast<EditForm&>(*form_);
    form.Show();
    driver::ProcessMessages();
    int editKeys = 0;
    form.plain->OnKeyDown = [&](Component&, std::uint16_t& key, ShiftState) { editKeys += key == VK_F1; };
    form.plain->SetFocus();
    driver::ProcessMessages();
    ASSERT_TRUE(form.plain->Focused());

    driver::PressKey(form.plain->Handle(), VK_F2);
    EXPECT_EQ(host_->HelpRequests(), 0);
    driver::PressKey(form.plain->Handle(), VK_F1);
    EXPECT_THAT(host_->HelpRequestParams(), ElementsAre(shell::MessageParams{0, 0}));
    EXPECT_EQ(editKeys, 1);
}

TEST_F(CustomFormTest, TheCloseMessageDestroysTheFormLaterAndTheHostLearnsTheFunctionCode)
{
    ui::Tfrm_Custom& form = Create();
    form.Show();
    const HWND window = form.Handle();
    Model().SetCurrentFunction("WSCBS999");  // the code of the creation time counts

    SendMessageA(window, WSCBS_MSG_CLOSE_FORM, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(host_->CopyDataNotices().empty());
    driver::ProcessMessages();
    form_ = nullptr;
    EXPECT_FALSE(IsWindow(window));
    ASSERT_EQ(host_->CopyDataNotices().size(), 1u);
    const shell::CopyDataNotice& notice = host_->CopyDataNotices()[0];
    EXPECT_EQ(notice.kind, WSCBS_CD_FORM_CLOSED);
    EXPECT_EQ(notice.text, "WSCBS004-00-01");
    EXPECT_EQ(notice.size, std::string("WSCBS004-00-01").size() + 1);
    EXPECT_EQ(notice.sender, reinterpret_cast<WPARAM>(host_->Handle()));
}

TEST_F(CustomFormTest, WithoutAHostWindowFromTheHostTheClassNameFindsIt)
{
    Model().SetWindows(nullptr, nullptr);
    ui::Tfrm_Custom& form = Create();
    form.Free();
    form_ = nullptr;
    ASSERT_EQ(host_->CopyDataNotices().size(), 1u);
    EXPECT_EQ(host_->CopyDataNotices()[0].kind, WSCBS_CD_FORM_CLOSED);
}

TEST_F(CustomFormTest, WithNoHostMainWindowAtAllNothingIsSent)
{
    FreeComponent(host_);
    host_ = nullptr;
    driver::ProcessMessages();
    Model().SetWindows(nullptr, nullptr);
    ui::Tfrm_Custom& form = Create();
    form.Show();
    driver::ProcessMessages();
    SetFocus(form.Handle());
    driver::PressKey(form.Handle(), VK_F1);
    form.Free();
    form_ = nullptr;
    EXPECT_TRUE(errors_.Messages().empty());
}

TEST_F(CustomFormTest, EveryActivationTellsTheHostWindowToLookActive)
{
    // The host names a main window of its own that takes no part in the
    // activation, so that it sees only what the form sends.
    auto* observer = CreateForm<shell::Tfrm_MainFrame>("observer");
    Model().SetWindows(host_->Handle(), observer->Handle());
    ui::Tfrm_Custom& form = Create();
    form.Show();
    driver::ProcessMessages();
    SetActiveWindow(host_->Handle());
    driver::ProcessMessages();
    observer->ClearRecords();

    // Activation and deactivation alike: the title bar is drawn active
    // (wParam 1), with no region to leave alone (lParam 0).
    SetActiveWindow(form.Handle());
    driver::ProcessMessages();
    EXPECT_THAT(observer->NcActivationParams(), ElementsAre(shell::MessageParams{1, 0}));
    SetActiveWindow(host_->Handle());
    driver::ProcessMessages();
    EXPECT_THAT(observer->NcActivationParams(),
                ElementsAre(shell::MessageParams{1, 0}, shell::MessageParams{1, 0}));

    // Only the host's own answer counts here; the class name is not searched.
    Model().SetWindows(host_->Handle(), nullptr);
    SetActiveWindow(form.Handle());
    driver::ProcessMessages();
    EXPECT_EQ(observer->NcActivations(), 2);
    observer->Free();
}
