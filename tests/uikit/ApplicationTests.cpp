#include "UiTestSupport.h"

#include "sharedrt/RtError.h"

#include <atomic>
#include <thread>

using namespace rt::ui;

namespace {

// Makes a fresh application object current for one test.
class ApplicationTests : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous_ = rt::CurrentApplication();
        rt::SetCurrentApplication(&app_);
    }
    void TearDown() override { rt::SetCurrentApplication(previous_); }

    rt::Application app_;
    rt::Application* previous_ = nullptr;
};

struct MessageBoxSeen {
    std::string title;
    std::string text;
};

BOOL CALLBACK LongestStaticText(HWND child, LPARAM data)
{
    char className[32] = {}, text[512] = {};
    GetClassNameA(child, className, sizeof className);
    GetWindowTextA(child, text, sizeof text);
    auto* longest = reinterpret_cast<std::string*>(data);
    if (lstrcmpiA(className, "Static") == 0 && std::string(text).size() > longest->size())
        *longest = text;
    return TRUE;
}

// Waits on another thread for a dialog of this process titled `title`,
// reads its text and presses its OK button.
std::thread AnswerMessageBox(const std::string& title, MessageBoxSeen& seen, std::atomic<bool>& answered)
{
    return std::thread([title, &seen, &answered] {
        for (int i = 0; i < 500 && !answered; ++i) {
            if (HWND dialog = FindWindowA("#32770", title.c_str())) {
                seen.title = title;
                EnumChildWindows(dialog, &LongestStaticText, reinterpret_cast<LPARAM>(&seen.text));
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                answered = true;
                return;
            }
            Sleep(20);
        }
    });
}

} // namespace

TEST_F(ApplicationTests, DefaultErrorDisplayIsAMessageBoxWithTheMessage)
{
    app_.SetTitle("网上抄报税测试");
    MessageBoxSeen seen;
    std::atomic<bool> answered{false};
    std::thread answer = AnswerMessageBox("网上抄报税测试", seen, answered);
    try {
        throw rt::Error("数据库升级失败：表 cs_ickxx 不存在");
    } catch (...) {
        app_.HandleException();
    }
    answered = true;
    answer.join();
    EXPECT_EQ(seen.title, "网上抄报税测试");
    EXPECT_EQ(seen.text, "数据库升级失败：表 cs_ickxx 不存在");
}

TEST_F(ApplicationTests, DisplayHookRecordsAndNeverLetsAnExceptionOut)
{
    std::vector<std::string> shown;
    app_.SetErrorDisplay([&](const std::string& message) { shown.push_back(message); });
    try {
        throw 42;
    } catch (...) {
        app_.HandleException();
    }
    try {
        throw std::runtime_error("runtime");
    } catch (...) {
        app_.HandleException();
    }
    app_.HandleException(); // outside a catch block: nothing to show
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_FALSE(shown[0].empty());
    EXPECT_EQ(shown[1], "runtime");

    app_.SetErrorDisplay([](const std::string&) { throw std::runtime_error("display broke"); });
    EXPECT_NO_THROW(app_.ShowError("x"));
}

TEST_F(ApplicationTests, RunHandlesMessagesUntilTheMainFormCloses)
{
    driver::ErrorRecorder errors;
    auto* form = new Form({.control = {.bounds = {20, 20, 200, 100}}});
    app_.SetMainForm(form);
    form->Show();
    int closes = 0;
    form->OnClose = [&](Component&, CloseAction& action) {
        ++closes;
        action = CloseAction::Free; // the main form only ends the loop
    };
    PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app_.Run(), 0);
    EXPECT_TRUE(app_.Terminated());
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(IsWindow(form->Handle()));
    form->Free();
    EXPECT_EQ(app_.MainForm(), nullptr);
    EXPECT_TRUE(errors.Messages().empty());
}
