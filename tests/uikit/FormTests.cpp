#include "UiTestSupport.h"

#include "sharedrt/RtError.h"
#include "support/WindowCreations.h"

using namespace rt::ui;

namespace {

// A form that counts its events and records the messages its window
// procedure and activation hook see.
class CountingForm : public Form {
public:
    CountingForm()
        : Form({.control = {.name = "frm_Counting", .bounds = {0, 0, 542, 373}, .caption = "frm_Counting"},
                .className = "TCountingForm", .keyPreview = true})
    {
        OnCreate = [this](Component&) { ++creates; };
        OnShow = [this](Component&) { ++shows; };
        OnHide = [this](Component&) { ++hides; };
    }
    int creates = 0;
    int shows = 0;
    int hides = 0;
    int customMessages = 0;
    int activations = 0;
    HWND focusAfterActivation = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 0x123) {
            ++customMessages;
            return 77;
        }
        return Form::WindowProc(message, wParam, lParam);
    }
    void HandleActivate(WPARAM wParam, LPARAM lParam) override
    {
        Form::HandleActivate(wParam, lParam);
        ++activations;
        focusAfterActivation = GetFocus();
    }
};

// A form made inside a container, with a panel at the right edge of its
// designed area; it records its size when it first appears and when its
// events run.
class ContainedForm : public Form {
public:
    explicit ContainedForm(WinControl* container)
        : Form({.control = {.name = "frm_Contained", .bounds = {0, 0, 300, 200}, .caption = "frm_Contained"},
                .className = "TContainedForm",
                .container = container})
    {
        edge = new Panel({.control = {.owner = this, .parent = this, .bounds = {280, 0, 20, 200},
                                      .anchors = kAnchorRight | kAnchorTop}});
        OnShow = [this](Component&) { events.push_back("show " + std::to_string(Width())); };
        OnResize = [this](Component&) { events.push_back("resize " + std::to_string(Width())); };
    }
    Panel* edge = nullptr;
    std::vector<std::string> events;
    int widthWhenAppearing = -1;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SHOWWINDOW && wParam && widthWhenAppearing < 0) {
            RECT client{};
            GetClientRect(Handle(), &client);
            widthWhenAppearing = client.right;
        }
        return Form::WindowProc(message, wParam, lParam);
    }
};

// An edit box of Windows, as a windowed control of the toolkit.
class TestEdit : public WinControl {
public:
    TestEdit(WinControl* parent, Bounds bounds)
        : WinControl({.owner = parent, .parent = parent, .bounds = bounds},
                     WindowSpec{.className = "EDIT", .style = WS_TABSTOP | ES_AUTOHSCROLL, .systemClass = true})
    {
    }
    std::string Text() const
    {
        char buffer[256] = {};
        GetWindowTextA(Handle(), buffer, sizeof buffer);
        return buffer;
    }
};

} // namespace

class FormTests : public uitest::UiTest {};

TEST_F(FormTests, CreateFormRunsTheCreateEventOnceAfterTheFormIsBuilt)
{
    auto* form = CreateForm<CountingForm>();
    EXPECT_EQ(form->creates, 1);
    form->DoCreate();
    EXPECT_EQ(form->creates, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    char className[64] = {};
    GetClassNameA(form->Handle(), className, sizeof className);
    EXPECT_STREQ(className, "TCountingForm");
    form->Free();
}

TEST_F(FormTests, EmbeddedFormFillsItsContainerWithoutBorder)
{
    auto* form = CreateForm<CountingForm>();
    form->EmbedInto(&Container());
    driver::ProcessMessages();

    EXPECT_EQ(GetParent(form->Handle()), Container().Handle());
    const LONG_PTR style = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(form->GetBorderStyle(), BorderStyle::None);
    EXPECT_EQ(form->GetWindowState(), WindowState::Maximized);
    EXPECT_EQ(form->GetAlign(), Align::Client);
    RECT formRect{};
    GetWindowRect(form->Handle(), &formRect);
    const RECT containerClient = uitest::ScreenClientRect(Container().Handle());
    EXPECT_TRUE(EqualRect(&formRect, &containerClient));
    EXPECT_TRUE(IsWindowVisible(form->Handle()));

    // The container grows with the host; the form follows.
    driver::ResizeWindow(Host().Handle(), 700, 520);
    GetWindowRect(form->Handle(), &formRect);
    const RECT grown = uitest::ScreenClientRect(Container().Handle());
    EXPECT_TRUE(EqualRect(&formRect, &grown));
    EXPECT_EQ(form->Width(), Container().ClientWidth());
    form->Free();
}

TEST_F(FormTests, ShowEventRunsEachTimeTheFormTurnsFromHiddenToShown)
{
    auto* form = CreateForm<CountingForm>();
    EXPECT_EQ(form->shows, 0);

    form->EmbedInto(&Container());
    EXPECT_EQ(form->shows, 1);
    // A repeated show request finds it on screen already.
    form->EmbedInto(&Container());
    form->Show();
    EXPECT_EQ(form->shows, 1);

    // The container hidden and shown again.
    Container().Hide();
    EXPECT_EQ(form->hides, 1);
    EXPECT_FALSE(form->Showing());
    Container().Show();
    EXPECT_EQ(form->shows, 2);

    // The form itself hidden and shown again.
    form->Hide();
    form->Show();
    EXPECT_EQ(form->shows, 3);

    // The container hidden and shown by Windows, behind the toolkit's back.
    ShowWindow(Container().Handle(), SW_HIDE);
    EXPECT_FALSE(form->Showing());
    ShowWindow(Container().Handle(), SW_SHOW);
    EXPECT_EQ(form->shows, 4);
    EXPECT_EQ(form->hides, 3);

    // Shown while its container is hidden: not on screen, no event until
    // the container appears.
    form->Hide();
    Container().Hide();
    form->Show();
    EXPECT_EQ(form->shows, 4);
    Container().Show();
    EXPECT_EQ(form->shows, 5);
    form->Free();
}

TEST_F(FormTests, ExceptionInAShowHandlerReachesTheErrorDisplayAndTheFormStillShows)
{
    auto* form = CreateForm<CountingForm>();
    form->OnShow = [](Component&) { throw rt::Error("无法读取位图"); };
    form->EmbedInto(&Container());
    ASSERT_EQ(errors_.Messages().size(), 1u);
    EXPECT_EQ(errors_.Messages()[0], "无法读取位图");
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    form->Free();
}

TEST_F(FormTests, TopLevelFormCentresOverTheMainFormAndStaysOnTop)
{
    rt::Application& app = *rt::CurrentApplication();
    app.SetMainForm(&Host());
    auto* form = new Form({.control = {.bounds = {0, 0, 300, 200}},
                           .borderStyle = BorderStyle::Dialog,
                           .position = FormPosition::MainFormCenter,
                           .formStyle = FormStyle::StayOnTop});
    form->Show();
    RECT host{}, shown{};
    GetWindowRect(Host().Handle(), &host);
    GetWindowRect(form->Handle(), &shown);
    EXPECT_NEAR((shown.left + shown.right) / 2, (host.left + host.right) / 2, 1);
    EXPECT_NEAR((shown.top + shown.bottom) / 2, (host.top + host.bottom) / 2, 1);
    EXPECT_TRUE(GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    // Top-level forms are owned by the application's window.
    form->Hide();
    app.SetHandle(Host().Handle());
    form->Show();
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), Host().Handle());
    app.SetHandle(nullptr);
    app.SetMainForm(nullptr);
    form->Free();
}

TEST_F(FormTests, WindowProcedureAndActivationCanBeExtended)
{
    auto* form = CreateForm<CountingForm>();
    auto* edit = new TestEdit(form, {10, 10, 100, 20});
    form->Show();
    EXPECT_EQ(SendMessageA(form->Handle(), WM_USER + 0x123, 0, 0), 77);
    EXPECT_EQ(form->customMessages, 1);

    // The toolkit's own activation handling runs first: the focus goes back
    // to the form's active control.
    form->SetActiveControl(edit);
    SetFocus(form->Handle());
    const int before = form->activations; // showing activated it already
    SendMessageA(form->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(form->activations, before + 1);
    EXPECT_EQ(form->focusAfterActivation, edit->Handle());
    SendMessageA(form->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(form->activations, before + 2);
    form->Free();
}

TEST_F(FormTests, KeyPreviewSeesTheKeyFirstAndTheFocusedControlStillGetsIt)
{
    auto* form = CreateForm<CountingForm>();
    auto* edit = new TestEdit(form, {10, 10, 100, 20});
    std::vector<std::string> order;
    form->OnKeyDown = [&](Component& sender, std::uint16_t& key, ShiftState) {
        EXPECT_EQ(&sender, form);
        order.push_back("form:" + std::to_string(key));
    };
    edit->OnKeyDown = [&](Component&, std::uint16_t& key, ShiftState) { order.push_back("edit:" + std::to_string(key)); };
    form->Show();
    SetWindowTextA(edit->Handle(), "abc");
    edit->SetFocus();
    ASSERT_EQ(GetFocus(), edit->Handle());
    SendMessageA(edit->Handle(), EM_SETSEL, 0, 0);

    driver::PressKey(edit->Handle(), VK_F1);
    EXPECT_EQ(order, (std::vector<std::string>{"form:112", "edit:112"}));

    // The edit box's own handling still runs after the preview.
    driver::PressKey(edit->Handle(), VK_DELETE);
    EXPECT_EQ(edit->Text(), "bc");

    // A preview handler that consumes the key stops it.
    order.clear();
    form->OnKeyDown = [&](Component&, std::uint16_t& key, ShiftState) { key = 0; };
    driver::PressKey(edit->Handle(), VK_DELETE);
    EXPECT_EQ(edit->Text(), "bc");
    EXPECT_TRUE(order.empty());

    // Without key preview the form hears nothing.
    form->SetKeyPreview(false);
    driver::PressKey(edit->Handle(), VK_DELETE);
    EXPECT_EQ(edit->Text(), "c");
    form->Free();
}

TEST_F(FormTests, ExceptionInAClickHandlerReachesTheErrorDisplay)
{
    auto* form = new Form({.control = {.bounds = {100, 100, 300, 200}}, .borderStyle = BorderStyle::None});
    auto* panel = new Panel({.control = {.owner = form, .parent = form, .bounds = {20, 20, 100, 50}}});
    int clicks = 0;
    panel->OnClick = [&](Component&) {
        ++clicks;
        throw rt::Error("错误代码：[0001]");
    };
    form->Show();
    driver::Click(*panel);
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(errors_.Messages().size(), 1u);
    EXPECT_EQ(errors_.Messages()[0], "错误代码：[0001]");
    // Nothing got stuck: the next click works the same way.
    driver::Click(*panel);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(GetCapture(), nullptr);
    form->Free();
}

TEST_F(FormTests, AFormMadeInItsContainerIsItsChildFromItsFirstMessageAndHiddenWithItsDesignedClientArea)
{
    testing_support::WindowCreations creations;
    ASSERT_TRUE(creations.Hooked());
    auto* form = CreateForm<ContainedForm>(&Container());
    const auto made = creations.Of("TContainedForm");
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].parent, Container().Handle());
    EXPECT_TRUE(made[0].style & WS_CHILD);
    EXPECT_FALSE(made[0].style & (WS_CAPTION | WS_THICKFRAME | WS_POPUP | WS_VISIBLE));

    EXPECT_EQ(form->Parent(), &Container());
    EXPECT_EQ(GetParent(form->Handle()), Container().Handle());
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(form->GetBorderStyle(), BorderStyle::None);
    EXPECT_EQ(form->GetWindowState(), WindowState::Maximized);
    EXPECT_EQ(form->GetAlign(), Align::Client);
    // Its controls are laid out in the client area of the designed window
    // (a sizeable frame of 300 x 200) until it is shown.
    auto* designed = CreateForm<ContainedForm>(nullptr);
    EXPECT_LT(designed->ClientWidth(), 300);
    EXPECT_EQ(form->ClientWidth(), designed->ClientWidth());
    EXPECT_EQ(form->ClientHeight(), designed->ClientHeight());
    EXPECT_EQ(form->edge->GetBounds(), (Bounds{280, 0, 20, 200}));
    designed->Free();
    form->Free();
}

TEST_F(FormTests, AFormMadeInItsContainerIsEmbeddedWithoutMovingAndLaidOutAsOneEmbeddedLater)
{
    auto* form = CreateForm<ContainedForm>(&Container());
    const HWND window = form->Handle();
    form->EmbedInto(&Container());
    driver::ProcessMessages();
    EXPECT_EQ(form->Handle(), window);
    EXPECT_EQ(GetParent(window), Container().Handle());
    EXPECT_TRUE(IsWindowVisible(window));
    const int width = Container().ClientWidth();
    EXPECT_EQ(form->Width(), width);
    EXPECT_EQ(form->Height(), Container().ClientHeight());
    // Shown first, then sized, and only then on screen.
    EXPECT_EQ(form->widthWhenAppearing, width);
    ASSERT_GE(form->events.size(), 2u);
    EXPECT_EQ(form->events[1], "resize " + std::to_string(width));
    const Bounds edge = form->edge->GetBounds();
    const std::vector<std::string> events = form->events;
    form->Free();

    // The same form made as a window of its own and embedded afterwards.
    auto* later = CreateForm<ContainedForm>(nullptr);
    later->EmbedInto(&Container());
    driver::ProcessMessages();
    EXPECT_EQ(later->edge->GetBounds(), edge);
    ASSERT_FALSE(later->events.empty());
    EXPECT_EQ(later->events.back(), events.back());
    later->Free();
}

TEST_F(FormTests, AFormMadeInAContainerStandsFreeWithItsDesignedFrameWhenItLeaves)
{
    auto* form = CreateForm<ContainedForm>(&Container());
    form->EmbedInto(&Container());
    driver::ProcessMessages();

    form->LeaveContainer();
    form->Show();
    driver::ProcessMessages();
    EXPECT_EQ(form->Parent(), nullptr);
    EXPECT_EQ(GetAncestor(form->Handle(), GA_PARENT), GetDesktopWindow());
    const LONG_PTR style = GetWindowLongPtrA(form->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_EQ(form->GetBorderStyle(), BorderStyle::Sizeable);
    EXPECT_EQ(form->GetWindowState(), WindowState::Normal);
    EXPECT_EQ(form->GetAlign(), Align::None);
    EXPECT_EQ(form->Width(), 300);
    EXPECT_EQ(form->Height(), 200);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    form->Free();
}
