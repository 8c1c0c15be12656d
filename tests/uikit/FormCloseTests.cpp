#include "UiTestSupport.h"

#include "sharedrt/RtError.h"
#include "wscbs/wscbs.h"

using namespace rt::ui;

namespace {

constexpr UINT kCloseRequest = WSCBS_MSG_CLOSE_FORM;

// A form that closes with the action "free" and closes on the host's close
// request, the way the module's forms do; it counts its destroy events in a
// counter that outlives it.
class FreeOnCloseForm : public Form {
public:
    explicit FreeOnCloseForm(int& destroys)
        : Form({.control = {.bounds = {50, 50, 300, 200}}, .className = "TFreeOnCloseForm"})
    {
        OnClose = [](Component&, CloseAction& action) { action = CloseAction::Free; };
        OnDestroy = [&destroys, this](Component& sender) {
            EXPECT_EQ(&sender, this);
            ++destroys;
        };
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kCloseRequest) {
            Close();
            // Still alive when the close request has been handled.
            EXPECT_TRUE(IsWindow(Handle()));
            return 0;
        }
        return Form::WindowProc(message, wParam, lParam);
    }
};

} // namespace

class FormCloseTests : public uitest::UiTest {};

TEST_F(FormCloseTests, CloseHidesByDefault)
{
    int destroys = 0;
    auto* form = new Form({.control = {.bounds = {50, 50, 200, 100}}});
    form->OnDestroy = [&](Component&) { ++destroys; };
    form->Show();
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    driver::ProcessMessages();
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(IsWindow(form->Handle()));
    EXPECT_EQ(destroys, 0);
    form->Free();
    EXPECT_EQ(destroys, 1);
}

TEST_F(FormCloseTests, CloseWithActionFreeDestroysTheFormWhenTheLoopHandlesTheRelease)
{
    int destroys = 0;
    auto* form = new FreeOnCloseForm(destroys);
    form->Show();
    const HWND window = form->Handle();

    SendMessageA(window, kCloseRequest, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(destroys, 0);

    driver::ProcessMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(destroys, 1);
    driver::ProcessMessages();
    EXPECT_EQ(destroys, 1);
}

TEST_F(FormCloseTests, ReleaseWaitsForHandlersOfTheFormThatRunANestedLoop)
{
    int destroys = 0;
    auto* form = new FreeOnCloseForm(destroys);
    auto* panel = new Panel({.control = {.owner = form, .parent = form, .bounds = {10, 10, 80, 40}}});
    bool aliveAfterNestedLoop = false;
    panel->OnClick = [&](Component&) {
        form->Close();
        // A handler that waits for something (a host dialog, say) runs the
        // loop while the form's click is still being handled.
        driver::ProcessMessages();
        driver::ProcessMessages();
        aliveAfterNestedLoop = destroys == 0 && IsWindow(form->Handle());
    };
    form->Show();
    const HWND window = form->Handle();
    driver::Click(*panel); // also runs the loop afterwards
    EXPECT_TRUE(aliveAfterNestedLoop);
    driver::ProcessMessagesUntil([&] { return destroys == 1; }, 2000);
    EXPECT_EQ(destroys, 1);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(FormCloseTests, FailingOrRefusingCloseHandlersKeepTheForm)
{
    auto* form = new Form({.control = {.bounds = {50, 50, 200, 100}}});
    form->Show();
    form->OnClose = [](Component&, CloseAction& action) { action = CloseAction::None; };
    form->Close();
    driver::ProcessMessages();
    EXPECT_TRUE(form->Visible());

    form->OnClose = [](Component&, CloseAction& action) {
        action = CloseAction::Free;
        throw rt::Error("关闭失败");
    };
    form->Close();
    driver::ProcessMessages();
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindow(form->Handle()));
    ASSERT_EQ(errors_.Messages().size(), 1u);
    EXPECT_EQ(errors_.Messages()[0], "关闭失败");
    form->Free();
}

TEST_F(FormCloseTests, FreeingTheContainerFreesTheEmbeddedFormOnce)
{
    int destroys = 0;
    auto* container = new Panel({.control = {.parent = &Container(), .align = Align::Client}});
    auto* form = new FreeOnCloseForm(destroys);
    auto* child = new Panel({.control = {.owner = form, .parent = form, .bounds = {1, 1, 5, 5}}});
    const HWND childWindow = child->Handle();
    form->EmbedInto(container);
    container->Free();
    EXPECT_EQ(destroys, 1);
    EXPECT_FALSE(IsWindow(childWindow));
    driver::ProcessMessages();
    EXPECT_EQ(destroys, 1);
}

TEST_F(FormCloseTests, OwnerFreesWhatItOwnsNewestFirst)
{
    std::vector<std::string> order;
    auto* owner = new Form({.control = {.bounds = {0, 0, 100, 100}}});
    for (const char* name : {"first", "second", "癮"}) {
        auto* owned = new Form({.control = {.owner = owner, .name = name}});
        owned->OnDestroy = [&order](Component& sender) { order.push_back(sender.Name()); };
    }
    EXPECT_EQ(owner->FindComponent("SECOND")->Name(), "second");
    EXPECT_EQ(owner->Find<Form>("first")->Name(), "first");
    EXPECT_EQ(owner->FindComponent("third"), nullptr);
    // Names ignore the case of ASCII letters only where they begin a
    // character: 癮 (B0 61) is found, 癆 (B0 41) is another name.
    EXPECT_EQ(owner->FindComponent("癮")->Name(), "癮");
    EXPECT_EQ(owner->FindComponent("癆"), nullptr);
    owner->Free();
    EXPECT_EQ(order, (std::vector<std::string>{"癮", "second", "first"}));
}
