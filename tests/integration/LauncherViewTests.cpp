// ShowFrmView on the real wscbs.dll: the view created once and embedded in
// the host's container, the shown notice, the free-standing view, closing by
// the host and a new view afterwards, and a failed creation.
#include "LauncherTestHost.h"

#include "sharedrt/RtError.h"
#include "sharedrt/RtQuery.h"
#include "sharedrt/RtString.h"
#include "sharedrt/UniqueHandle.h"
#include "sharedrt/ui/Label.h"
#include "sharedrt/ui/Panel.h"
#include "support/ImportPatch.h"
#include "support/WindowCreations.h"

#include <gmock/gmock.h>

using hostmodel::Model;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

class LauncherViewTest : public testing_support::LauncherTestHost {
protected:
    int MigrationStatements() const
    {
        int count = 0;
        for (const hostmodel::CallRecord& call : Model().Calls())
            count += call.function == "ExecADOQueryMsg" && call.arguments.find("alter table cs_ickxx") != std::string::npos;
        return count;
    }
};

// The topmost top-level window of the class among this process's own: the
// other test programs that run beside this one have windows of it too.
HWND FindOwnWindow(const char* className)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId())
            return window;
    }
    return nullptr;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

} // namespace

TEST_F(LauncherViewTest, TheFirstShowCreatesAndEmbedsTheViewAndLaterShowsReuseIt)
{
    const std::string text = "SubAppCode=WSCBS;RunMode=1";
    ASSERT_TRUE(Show(text));
    rt::ui::Form* view = View();
    ASSERT_NE(view, nullptr);
    // Windows compares class names without case: the view's class is the
    // host's main window class under another spelling.
    EXPECT_EQ(_stricmp(ClassOf(view->Handle()).c_str(), "Tfrm_Mainframe"), 0);
    EXPECT_EQ(GetParent(view->Handle()), host->Container().Handle());
    EXPECT_TRUE(IsWindowVisible(view->Handle()));
    EXPECT_FALSE(GetWindowLongPtrA(view->Handle(), GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME));
    EXPECT_EQ(view->Width(), host->Container().ClientWidth());
    EXPECT_EQ(view->Height(), host->Container().ClientHeight());
    EXPECT_EQ(lastTextAfterShow, text);
    EXPECT_EQ(MigrationStatements(), 2);
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-01"));

    ASSERT_TRUE(Show("ModalFormMsg=&eq%&lim%"));
    EXPECT_EQ(View(), view);
    EXPECT_EQ(lastTextAfterShow, "ModalFormMsg=&eq%&lim%");
    EXPECT_EQ(MigrationStatements(), 2);
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-01"));
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherViewTest, TheViewIsMadeInsideTheHostsContainerAndStandsFreeWhenThereIsNone)
{
    {
        testing_support::WindowCreations creations;
        ASSERT_TRUE(creations.Hooked());
        ASSERT_TRUE(Show());
        const auto made = creations.Of("Tfrm_Mainframe");
        ASSERT_EQ(made.size(), 1u);
        EXPECT_EQ(made[0].parent, host->Container().Handle());
        EXPECT_TRUE(made[0].style & WS_CHILD);
        EXPECT_FALSE(made[0].style & (WS_CAPTION | WS_THICKFRAME | WS_POPUP));
    }
    const HWND view = View()->Handle();
    EXPECT_EQ(GetParent(view), host->Container().Handle());
    EXPECT_EQ(View()->Width(), host->Container().ClientWidth());
    EXPECT_EQ(View()->Height(), host->Container().ClientHeight());
    // The panel was laid out at its designed width (789) first: the version,
    // anchored to the right edge, moved with it as far as the panel grew.
    const auto& version = Element<rt::ui::Label>("Label_version");
    EXPECT_GT(version.Parent()->ClientWidth(), 789);
    EXPECT_EQ(version.Left(), 640 + version.Parent()->ClientWidth() - 789);

    SendMessageA(view, WSCBS_MSG_CLOSE_FORM, 0, 0);
    rt::ui::driver::ProcessMessages();
    ASSERT_FALSE(IsWindow(view));
    testing_support::WindowCreations creations;
    ASSERT_TRUE(Show("", false));
    const auto made = creations.Of("Tfrm_Mainframe");
    ASSERT_EQ(made.size(), 1u);
    const HWND free = FindOwnWindow("Tfrm_Mainframe");
    EXPECT_EQ(GetAncestor(free, GA_PARENT), GetDesktopWindow());
    EXPECT_FALSE(made[0].style & WS_CHILD);
    SendMessageA(free, WSCBS_MSG_CLOSE_FORM, 0, 0);
    rt::ui::driver::ProcessMessages();
    EXPECT_FALSE(IsWindow(free));
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherViewTest, OnlyAModalFormMsgMakesTheShownNoticeWithItsFourFields)
{
    ASSERT_TRUE(Show("RunMode=1;modalformmsg=ignored"));
    EXPECT_TRUE(host->CopyDataNotices().empty());

    ASSERT_TRUE(Show("RunMode=1;ModalFormMsg=WSCBS&lim%主界面"));
    ASSERT_EQ(host->CopyDataNotices().size(), 1u);
    const shell::CopyDataNotice& notice = host->CopyDataNotices()[0];
    const std::string expected =
        "WSCBS;主界面|" + std::to_string(reinterpret_cast<std::uintptr_t>(View()->Handle())) + "|0|1";
    EXPECT_EQ(notice.kind, WSCBS_CD_FORM_SHOWN);
    EXPECT_EQ(notice.text, expected);
    EXPECT_EQ(notice.size, expected.size() + 1);
    EXPECT_EQ(notice.sender, reinterpret_cast<WPARAM>(host->Handle()));
    EXPECT_EQ(Model().HelpPage(), "");
}

TEST_F(LauncherViewTest, WithoutAContainerTheViewStandsFreeAndStaysOnTop)
{
    ASSERT_TRUE(Show("", false));
    EXPECT_EQ(View(), nullptr);
    HWND view = FindOwnWindow("Tfrm_Mainframe");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(IsWindowVisible(view));
    EXPECT_EQ(GetParent(view), nullptr);
    EXPECT_TRUE(GetWindowLongPtrA(view, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(view, GW_OWNER), host->Handle());
    EXPECT_TRUE(host->CopyDataNotices().empty());

    SendMessageA(view, WSCBS_MSG_CLOSE_FORM, 0, 0);
    rt::ui::driver::ProcessMessages();
    EXPECT_FALSE(IsWindow(view));
}

TEST_F(LauncherViewTest, TheHostsCloseMessageDestroysTheViewAndTheNextShowMakesANewOne)
{
    ASSERT_TRUE(Show());
    const HWND first = View()->Handle();
    Model().SetCurrentFunction("WSCBS002-01");

    SendMessageA(first, WSCBS_MSG_CLOSE_FORM, 0, 0);
    rt::ui::driver::ProcessMessages();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(View(), nullptr);
    ASSERT_EQ(host->CopyDataNotices().size(), 1u);
    EXPECT_EQ(host->CopyDataNotices()[0].kind, WSCBS_CD_FORM_CLOSED);
    EXPECT_EQ(host->CopyDataNotices()[0].text, "WSCBS004-00-01");

    ASSERT_TRUE(Show());
    ASSERT_NE(View(), nullptr);
    EXPECT_TRUE(IsWindowVisible(View()->Handle()));
    EXPECT_EQ(MigrationStatements(), 4);
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-01", "WSCBS004-00-01"));

    // Freed with the host's container, the new view says so with its own code.
    host->ClearRecords();
    rt::ui::FreeComponent(host);
    host = nullptr;
    rt::ui::driver::ProcessMessages();
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherViewTest, TheApplicationOwnsTheViewAndFreesItBeforeTheModuleGoes)
{
    ASSERT_TRUE(Show());
    rt::ui::Form* view = View();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(rt::CurrentApplication()->OwnsForm(view));
    const HWND window = view->Handle();

    // What a host does before it unloads the module.
    host->ClearRecords();
    rt::CurrentApplication()->FreeOwnedForms();
    rt::ui::driver::ProcessMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(View(), nullptr);
    ASSERT_EQ(host->CopyDataNotices().size(), 1u);
    EXPECT_EQ(host->CopyDataNotices()[0].kind, WSCBS_CD_FORM_CLOSED);

    // A view closed by the host leaves the application's list by itself.
    ASSERT_TRUE(Show());
    view = View();
    ASSERT_NE(view, nullptr);
    SendMessageA(view->Handle(), WSCBS_MSG_CLOSE_FORM, 0, 0);
    rt::ui::driver::ProcessMessages();
    EXPECT_FALSE(rt::CurrentApplication()->OwnsForm(view));
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherViewTest, WithoutTheCardTableTheHostShowsItsMessageTwiceAndThePanelOpens)
{
    subApp.databaseScript = folder.Write("other.sql", "CREATE TABLE cs_other (a Integer);\n");
    Model().AddSubApp(subApp);
    ASSERT_TRUE(Show());
    ASSERT_EQ(Model().Messages().size(), 2u);
    EXPECT_EQ(Model().Messages()[0].code, 70001005);
    EXPECT_EQ(Model().Messages()[1].code, 70001005);
    ASSERT_NE(View(), nullptr);
    EXPECT_TRUE(IsWindowVisible(View()->Handle()));
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-01"));
    EXPECT_TRUE(errors.Messages().empty());
}

namespace {

// The query object the module handed over, and the blocks the shared
// runtime gave back to its heap after the host's call raised.
int g_migrationCalls = 0;
void* g_query = nullptr;
std::vector<void*> g_sharedBlocksFreed;
BOOL(WINAPI* g_heapFree)(HANDLE, DWORD, LPVOID) = nullptr;

rt::Bool8 __stdcall RaisingExecADOQueryMsg(const char*, const char* sql, rt::RtQuery** query, rt::RtString*,
                                           std::int32_t, rt::Bool8)
{
    ++g_migrationCalls;
    g_query = *query;
    // Only what is freed from here on counts: the query's address may have
    // served an earlier block.
    g_sharedBlocksFreed.clear();
    throw rt::Error(std::string("数据库连接已断开：") + sql);
}

BOOL WINAPI RecordingHeapFree(HANDLE heap, DWORD flags, LPVOID block)
{
    g_sharedBlocksFreed.push_back(block);
    return g_heapFree(heap, flags, block);
}

} // namespace

TEST_F(LauncherViewTest, AMigrationCallThatRaisesIsShownAndThePanelOpensWithoutTheQuery)
{
    g_migrationCalls = 0;
    g_query = nullptr;
    g_sharedBlocksFreed.clear();
    {
        const testing_support::ImportPatch raising(module->Handle(), "ModuleLib.dll", "ExecADOQueryMsg",
                                                   reinterpret_cast<void*>(&RaisingExecADOQueryMsg));
        const testing_support::ImportPatch freeing(GetModuleHandleA("SharedRt.dll"), "kernel32.dll", "HeapFree",
                                                   reinterpret_cast<void*>(&RecordingHeapFree));
        g_heapFree = reinterpret_cast<BOOL(WINAPI*)(HANDLE, DWORD, LPVOID)>(freeing.Original());
        EXPECT_TRUE(Show());
    }
    // The first statement raised; the second was not tried.
    EXPECT_EQ(g_migrationCalls, 1);
    ASSERT_NE(g_query, nullptr);
    EXPECT_THAT(g_sharedBlocksFreed, testing::Contains(g_query));
    ASSERT_EQ(errors.Messages().size(), 1u);
    EXPECT_EQ(errors.Messages()[0], "数据库连接已断开：alter table cs_ickxx alter column icxlh Text(4)");
    EXPECT_TRUE(Model().Messages().empty());
    ASSERT_NE(View(), nullptr);
    EXPECT_TRUE(IsWindowVisible(View()->Handle()));
    EXPECT_EQ(GetParent(View()->Handle()), host->Container().Handle());
    EXPECT_THAT(StartedCodes(), ElementsAre("WSCBS004-00-01"));
}

TEST_F(LauncherViewTest, FreeDLLProcLeavesTheViewInPlace)
{
    ASSERT_TRUE(Show());
    auto freeProc = module->Export<WscbsFreeDLLProcProc>("FreeDLLProc");
    EXPECT_EQ(freeProc(1, 2), 1);
    rt::ui::driver::ProcessMessages();
    ASSERT_NE(View(), nullptr);
    EXPECT_TRUE(IsWindowVisible(View()->Handle()));
}

namespace {

HWND WINAPI RefuseWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID)
{
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

} // namespace

TEST_F(LauncherViewTest, AViewThatCannotBeCreatedIsReportedAndShowFrmViewAnswersFalse)
{
    {
        testing_support::ImportPatch noWindows(GetModuleHandleA("SharedRt.dll"), "user32.dll", "CreateWindowExA",
                                               reinterpret_cast<void*>(&RefuseWindow));
        EXPECT_FALSE(Show());
    }
    EXPECT_EQ(View(), nullptr);
    ASSERT_EQ(errors.Messages().size(), 1u);

    // The module did not keep a broken view: the next call makes a good one.
    EXPECT_TRUE(Show());
    EXPECT_NE(View(), nullptr);
}

TEST_F(LauncherViewTest, AShowRightAfterTheHostsCloseMessageGetsALivingView)
{
    ASSERT_TRUE(Show());
    const HWND closed = View()->Handle();
    // The close only posts the release; the host shows again before its
    // message loop runs.
    SendMessageA(closed, WSCBS_MSG_CLOSE_FORM, 0, 0);
    ASSERT_TRUE(Show());
    rt::ui::driver::ProcessMessages();
    EXPECT_FALSE(IsWindow(closed));
    ASSERT_NE(View(), nullptr);
    EXPECT_NE(View()->Handle(), closed);
    EXPECT_TRUE(IsWindowVisible(View()->Handle()));
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherViewTest, TheViewMovesToAnotherContainerAndStandsFreeWithoutOne)
{
    ASSERT_TRUE(Show());
    const HWND view = View()->Handle();
    auto* other = rt::ui::CreateForm<shell::Tfrm_MainFrame>("Other");
    other->SetBounds({60, 60, 700, 500});
    other->Show();
    rt::ui::driver::ProcessMessages();

    ASSERT_TRUE(ShowIn(&other->Container()));
    EXPECT_EQ(GetParent(view), other->Container().Handle());
    EXPECT_EQ(View(), nullptr) << "gone from the first container";

    ASSERT_TRUE(ShowIn(nullptr));
    EXPECT_TRUE(IsWindow(view));
    EXPECT_EQ(GetParent(view), nullptr);
    EXPECT_TRUE(IsWindowVisible(view));
    EXPECT_TRUE(GetWindowLongPtrA(view, GWL_STYLE) & WS_CAPTION) << "a free view has its frame back";
    EXPECT_TRUE(GetWindowLongPtrA(view, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT frame{};
    GetWindowRect(view, &frame);
    EXPECT_EQ(frame.right - frame.left, 797);
    EXPECT_EQ(frame.bottom - frame.top, 561);

    ASSERT_TRUE(Show());
    EXPECT_EQ(GetParent(view), host->Container().Handle());
    rt::ui::FreeComponent(other);
    rt::ui::driver::ProcessMessages();
    EXPECT_TRUE(errors.Messages().empty());
}

TEST_F(LauncherViewTest, WithoutTheMainFrameHandleNoticesGoToTheHostWindowNeverToTheView)
{
    // The view's class compares equal to the host's main window class.
    Model().SetWindows(host->Handle(), nullptr);
    ASSERT_TRUE(Show("", false));
    const HWND view = FindOwnWindow("Tfrm_Mainframe");
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view, host->Handle()) << "the free view stays on top, so it is found first";
    host->ClearRecords();

    SendMessageA(view, WSCBS_MSG_CLOSE_FORM, 0, 0);
    rt::ui::driver::ProcessMessages();
    ASSERT_EQ(host->CopyDataNotices().size(), 1u);
    EXPECT_EQ(host->CopyDataNotices()[0].kind, WSCBS_CD_FORM_CLOSED);
}

TEST_F(LauncherViewTest, WithoutTheMainFrameHandleAnotherProgramsWindowOfTheClassIsNeverTheHost)
{
    // The host loads the module: its main window is one of this process's.
    const std::string event = "ForeignMainWindow." + std::to_string(GetCurrentProcessId());
    const rt::unique_handle done(CreateEventA(nullptr, TRUE, FALSE, event.c_str()));
    const rt::unique_handle ready(CreateEventA(nullptr, TRUE, FALSE, (event + ".ready").c_str()));
    std::string commandLine = "ForeignMainWindow.exe " + event;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    const rt::unique_handle processHandle(process.hProcess);
    const rt::unique_handle threadHandle(process.hThread);
    ASSERT_EQ(WaitForSingleObject(ready.get(), 20000), WAIT_OBJECT_0);
    const HWND foreign = FindWindowA("Tfrm_MainFrame", "another program");
    ASSERT_NE(foreign, nullptr);

    Model().SetWindows(host->Handle(), nullptr);
    ASSERT_TRUE(Show());
    host->ClearRecords();
    SendMessageA(View()->Handle(), WSCBS_MSG_CLOSE_FORM, 0, 0);
    rt::ui::driver::ProcessMessages();
    SetEvent(done.get());
    WaitForSingleObject(processHandle.get(), 20000);
    ASSERT_EQ(host->CopyDataNotices().size(), 1u);
    EXPECT_EQ(host->CopyDataNotices()[0].kind, WSCBS_CD_FORM_CLOSED);
}

TEST_F(LauncherViewTest, WithoutAnApplicationObjectShowFrmViewAnswersFalseAndShowsNothing)
{
    rt::Application* const application = rt::CurrentApplication();
    rt::SetCurrentApplication(nullptr);
    const bool shown = Show();
    rt::SetCurrentApplication(application);
    EXPECT_FALSE(shown);
    EXPECT_EQ(View(), nullptr);
    EXPECT_EQ(FindOwnWindow("Tfrm_Mainframe"), host->Handle());
}
