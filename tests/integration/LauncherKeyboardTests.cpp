// The launcher panel for a user without a mouse, and for assistive
// technology that follows the focus: keys go through the system's input
// queue to whichever window the system gives the focus, and oleacc reads
// the panel from outside. These tests run with no other test beside them.
#include "LauncherTestHost.h"

#include "sharedrt/ui/FlatPictureButton.h"
#include "sharedrt/ui/Label.h"
#include "sharedrt/ui/WindowCapture.h"
#include "support/Accessible.h"
#include "support/ImportPatch.h"
#include "support/UserInput.h"

#include <gmock/gmock.h>

using hostmodel::Model;
using rt::ui::FlatPictureButton;
using rt::ui::Panel;
using testing::ElementsAre;
using testing_support::UserPressKey;

namespace {

int g_opened = 0;

HINSTANCE WINAPI CountShellExecute(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT)
{
    ++g_opened;
    return reinterpret_cast<HINSTANCE>(33);
}

class LauncherKeyboardTest : public testing_support::LauncherTestHost {
protected:
    FlatPictureButton& Button(const char* name) { return Element<FlatPictureButton>(name); }
    HWND MainArea() { return Element<Panel>("Pnl_main").Handle(); }

    // The host's window in front with the keyboard, as after a click on
    // its title.
    void FocusHost()
    {
        SetForegroundWindow(host->Handle());
        SetFocus(host->Handle());
        rt::ui::driver::ProcessMessages();
    }

    // Pixels of the main area that differ between two pictures of it, and
    // the rectangle around them.
    static int Differing(const rt::ui::CapturedImage& a, const rt::ui::CapturedImage& b, RECT& where)
    {
        int count = 0;
        where = {a.width, a.height, -1, -1};
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                if (a.At(x, y) != b.At(x, y)) {
                    ++count;
                    where = {std::min<LONG>(where.left, x), std::min<LONG>(where.top, y),
                             std::max<LONG>(where.right, x + 1), std::max<LONG>(where.bottom, y + 1)};
                }
        return count;
    }
};

} // namespace

TEST_F(LauncherKeyboardTest, ShowingLeavesTheFocusWithTheHostAndTabThenEnterStartsAFunction)
{
    FocusHost();
    ASSERT_TRUE(Show());
    EXPECT_EQ(GetFocus(), host->Handle()) << "showing the panel takes no focus";
    Model().ClearRecords();

    UserPressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), MainArea());
    UserPressKey(VK_RETURN);
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS005-01")) << "the period link comes first";
    UserPressKey(VK_TAB);
    UserPressKey(VK_RETURN);
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS005-01", "WSCBS004-00-03"));
    EXPECT_EQ(Model().ExecuteCalls().back().owner, &host->Container());

    UserPressKey(VK_F1);
    EXPECT_EQ(host->HelpRequests(), 1) << "F1 once the panel has the focus by keyboard";
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherKeyboardTest, EveryElementIsReachedInOrderAndStartedByEnterOrSpace)
{
    Individuate({{"ThirdUrl", "http://www.example.com/"}});
    Model().DenyFunction("WSCBS004-00-06");
    testing_support::ImportPatch shellOpen(module->Handle(), "shell32.dll", "ShellExecuteA",
                                           reinterpret_cast<void*>(&CountShellExecute));
    g_opened = 0;
    FocusHost();
    ASSERT_TRUE(Show());
    ASSERT_FALSE(Button("sbtnQXBS").Visible());
    Button("sbtnGetState").SetEnabled(false);
    Model().ClearRecords();

    // The link, the top row left to right, the bottom row left to right;
    // the hidden and the disabled button are passed over.
    UserPressKey(VK_TAB);
    UserPressKey(VK_SPACE);
    UserPressKey(VK_TAB);
    UserPressKey(VK_RETURN);
    UserPressKey(VK_TAB);
    UserPressKey(VK_SPACE);
    EXPECT_EQ(g_opened, 1) << "the link button";
    for (int i = 0; i < 3; ++i) {
        UserPressKey(VK_TAB);
        UserPressKey(i % 2 ? VK_SPACE : VK_RETURN);
    }
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS005-01", "WSCBS004-00-03", "WSCBS004-00-04", "WSCBS002-01",
                                            "WSCBS003-01"));

    // Back and forth: Shift+Tab and the arrow keys move through the same order.
    Model().ClearRecords();
    UserPressKey(VK_TAB, {VK_SHIFT});
    UserPressKey(VK_RETURN);
    for (WORD key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN}) {
        UserPressKey(key);
        UserPressKey(VK_RETURN);
    }
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS002-01", "WSCBS004-00-04", "WSCBS002-01", "WSCBS004-00-04",
                                            "WSCBS002-01"));
    EXPECT_EQ(g_opened, 1);

    // The same rules as a click: without the right nothing starts, and the
    // button is disabled while its function runs.
    Button("sbtnGetState").SetEnabled(true);
    Model().DenyFunction("WSCBS002-01");
    Model().ClearRecords();
    UserPressKey(VK_RETURN);
    EXPECT_TRUE(StartedCodes().empty());
    bool disabledWhileRunning = false;
    Model().SetHostFunction("WSCBS004-00-05", [&](void*, const std::string&, std::string&) {
        disabledWhileRunning = !Button("sbtnGetState").Enabled();
        return true;
    });
    UserPressKey(VK_LEFT);
    UserPressKey(VK_SPACE);
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-05"));
    EXPECT_TRUE(disabledWhileRunning);
    EXPECT_TRUE(Button("sbtnGetState").Enabled());
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherKeyboardTest, AFocusRectangleAppearsOnlyAfterKeyboardUse)
{
    FocusHost();
    testing_support::ParkMouse();
    ASSERT_TRUE(Show());
    const rt::ui::CapturedImage atRest = rt::ui::CaptureWindow(MainArea());

    // A click on a button gives the panel the keyboard but shows no cue.
    testing_support::UserClick(rt::ui::driver::CenterOf(Button("sbtnGetState")));
    testing_support::ParkMouse();
    rt::ui::driver::ProcessMessagesUntil([&] { return !Button("sbtnGetState").IsHot(); }, 2000);
    EXPECT_EQ(GetFocus(), MainArea());
    RECT where{};
    EXPECT_EQ(Differing(atRest, rt::ui::CaptureWindow(MainArea()), where), 0);

    // After Tab, the next element (sbtnQXBS) shows one, and nothing else changes.
    UserPressKey(VK_TAB);
    EXPECT_GT(Differing(atRest, rt::ui::CaptureWindow(MainArea()), where), 0);
    const rt::ui::Bounds next = Button("sbtnQXBS").GetBounds();
    EXPECT_GE(where.left, next.left);
    EXPECT_GE(where.top, next.top);
    EXPECT_LE(where.right, next.Right());
    EXPECT_LE(where.bottom, next.Bottom());
}

TEST_F(LauncherKeyboardTest, OleaccFindsEachElementAtItsPlace)
{
    testing_support::ComApartment com;
    FocusHost();
    ASSERT_TRUE(Show());
    const std::pair<const char*, const char*> named[] = {
        {"sbtnBs", "网上抄税"},   {"sbtnClearCard", "清 卡"}, {"sbtnGetState", "获取状态"},
        {"sbtncbzt", "抄报状态"}, {"sbtnQXBS", "取消抄税"},   {"sbtnfpcx", "发票查询"}};
    for (const auto& [name, caption] : named) {
        SCOPED_TRACE(name);
        const auto element = testing_support::AccessibleElement::FromPoint(rt::ui::driver::CenterOf(Button(name)));
        ASSERT_TRUE(element);
        EXPECT_EQ(element.Name(), caption);
        EXPECT_EQ(element.Role(), ROLE_SYSTEM_PUSHBUTTON);
    }
    const auto link =
        testing_support::AccessibleElement::FromPoint(rt::ui::driver::CenterOf(Element<rt::ui::Label>("Label_ggkjny")));
    EXPECT_EQ(link.Name(), "更改");
    EXPECT_EQ(link.Role(), ROLE_SYSTEM_LINK);
    const auto period =
        testing_support::AccessibleElement::FromPoint(rt::ui::driver::CenterOf(Element<rt::ui::Label>("Label_kjny")));
    EXPECT_EQ(period.Name(), "2007年03月");
    EXPECT_EQ(period.Role(), ROLE_SYSTEM_STATICTEXT);
}

namespace {

struct Event {
    DWORD kind;
    HWND window;
    LONG object, child;
    std::string name;
};
std::vector<Event> g_events;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD kind, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (object != OBJID_CLIENT || child == CHILDID_SELF)
        return;
    IAccessible* accessible = nullptr;
    VARIANT id;
    VariantInit(&id);
    std::string name;
    if (SUCCEEDED(AccessibleObjectFromEvent(window, object, child, &accessible, &id)) && accessible) {
        name = testing_support::AccessibleElement(accessible, id.vt == VT_I4 ? id.lVal : CHILDID_SELF).Name();
    }
    g_events.push_back({kind, window, object, child, name});
}

} // namespace

TEST_F(LauncherKeyboardTest, FocusStateAndNameChangesAreAnnounced)
{
    testing_support::ComApartment com;
    g_events.clear();
    FocusHost();
    ASSERT_TRUE(Show());
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, &RecordEvent,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    Model().SetHostFunction("WSCBS005-01", [](void*, const std::string&, std::string&) {
        Model().SetString(*Model().SubAppVo("WSCBS"), "Global_curkjny", "202611");
        return true;
    });
    UserPressKey(VK_TAB);
    UserPressKey(VK_RETURN);
    UserPressKey(VK_TAB);
    UserPressKey(VK_RETURN);
    rt::ui::driver::ProcessMessagesUntil([] { return g_events.size() >= 6; }, 2000);
    UnhookWinEvent(hook);

    auto names = [](DWORD kind) {
        std::vector<std::string> found;
        for (const Event& e : g_events)
            if (e.kind == kind)
                found.push_back(e.name);
        return found;
    };
    EXPECT_THAT(names(EVENT_OBJECT_FOCUS), ElementsAre("更改", "网上抄税"));
    EXPECT_THAT(names(EVENT_OBJECT_NAMECHANGE), testing::Contains("2026年11月"));
    // The button went disabled and came back while its function ran.
    EXPECT_GE(names(EVENT_OBJECT_STATECHANGE).size(), 2u);
    EXPECT_THAT(names(EVENT_OBJECT_STATECHANGE), testing::Each("网上抄税"));
}
