#include "shell/WindowMode.h"

#include "shell/HighContrastStandIn.h"
#include "shell/HostProfile.h"
#include "shell/MainFrameWindow.h"
#include "shell/ParamEntry.h"
#include "shell/ShellFunctions.h"
#include "shell/ShellReport.h"
#include "shell/SubAppModule.h"
#include "sharedrt/AppObjects.h"
#include "sharedrt/RtError.h"
#include "sharedrt/ui/WindowCapture.h"

#include <windows.h>

#include <memory>
#include <utility>

namespace shell {
namespace {

constexpr const char* kResultMessageName = "ResultMsgStr";
constexpr DWORD kSettleMs = 300;

// Handles what is waiting and paints every invalid window of `window`.
void PaintNow(rt::Application& app, HWND window)
{
    app.ProcessMessages();
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
}

// Lets the window settle (late messages, painting) for `ms`.
void Settle(rt::Application& app, HWND window, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        PaintNow(app, window);
        Sleep(10);
    }
    PaintNow(app, window);
}

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double Milliseconds() const
    {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

// A second skin for the skin-change command.
hostmodel::Skin AlternateSkin(const hostmodel::Skin& skin)
{
    hostmodel::Skin other = skin;
    other.moduleBackColor = skin.moduleBackColor == 0xE8F0E0 ? 0xFEF9F4 : 0xE8F0E0;
    other.moduleToolBarColor = skin.moduleToolBarColor == 0xC0D8F0 ? 0xD8E8DA : 0xC0D8F0;
    return other;
}

void PrintNotices(std::ostream& out, const Tfrm_MainFrame& window)
{
    out << "notices to the main window: " << window.CopyDataNotices().size() << " copy-data, "
        << window.HelpRequests() << " help requests\n";
    for (const CopyDataNotice& notice : window.CopyDataNotices())
        out << "  WM_COPYDATA " << notice.kind << " (" << notice.size << " bytes): " << notice.text << "\n";
}

void PrintExecuteCalls(std::ostream& out, hostmodel::HostModel& model)
{
    out << "host functions started: " << model.ExecuteCalls().size() << "\n";
    for (const hostmodel::ExecuteCall& call : model.ExecuteCalls())
        out << "  " << call.functionCode << " -> " << (call.result ? 1 : 0) << "\n";
}

int Run(const WindowOptions& options, std::ostream& out, rt::Application& app)
{
    if (options.highContrast && !ReportHighContrastToRuntime())
        out << "high contrast: the runtime could not be told\n";
    hostmodel::HostModel& model = hostmodel::Model();
    const HostProfile profile = ReadHostProfile(options.installationFolder);
    ApplyHostProfile(profile, model);
    std::string caption = "MainFrame";
    for (const auto& setup : profile.subApps)
        if (setup.code == profile.currentSubApp)
            caption += " - " + setup.caption;

    // The module goes last: the view it made lives in the window until the
    // window is destroyed.
    SubAppModule module(ExecutableFolder() + "wscbs.dll");
    std::unique_ptr<Tfrm_MainFrame, void (*)(Tfrm_MainFrame*)> window(
        rt::ui::CreateForm<Tfrm_MainFrame>(caption), [](Tfrm_MainFrame* form) { form->Free(); });
    HWND mainWindow = window->Handle();
    app.SetMainForm(window.get());
    app.SetHandle(mainWindow);
    app.SetTitle("MainFrame");
    model.SetWindows(mainWindow, mainWindow);
    model.SetParentForms(&window->Container(), &window->Container());
    const bool unattended = options.unattended || !options.capturePath.empty();
    RegisterShellFunctions(model, profile.currentSubApp,
                           unattended ? DialogMode::Unattended : DialogMode::Interactive, mainWindow);
    window->Show();
    PaintNow(app, mainWindow);

    const std::string initText = profile.initSubAppText.empty()
                                     ? "SubAppCode=" + profile.currentSubApp + ";RunMode=1"
                                     : profile.initSubAppText;
    // Which of the host's calls into the module each service call came from.
    std::vector<CallStep> steps;
    auto beginStep = [&](std::string name) { steps.push_back({model.Calls().size(), std::move(name)}); };
    beginStep("InitSubApp");
    const SubAppModule::InitResult init = module.InitSubApp(mainWindow, initText);
    out << "InitSubApp -> " << (init.succeeded ? 1 : 0) << "\n";
    if (!init.succeeded) {
        const std::string reason = ReadParamEntry(init.text, kResultMessageName);
        out << "ResultMsgStr: " << reason << "\n";
        window->SetStatus("子应用初始化失败：" + reason);
        if (!unattended)
            MessageBoxA(mainWindow, reason.c_str(), "MainFrame", MB_OK | MB_ICONWARNING);
    }

    auto showView = [&](std::string step) {
        beginStep(std::move(step));
        const bool shown = module.ShowFrmView(mainWindow, &window->Container(), profile.showFrmViewText);
        PaintNow(app, mainWindow);
        return shown;
    };
    window->OnShowView = [&]() { showView("ShowFrmView (the shell's show command)"); };
    window->OnChangeSkin = [&]() { model.SetSkin(AlternateSkin(profile.skin)); };

    int status = init.succeeded ? 0 : 1;
    if (init.succeeded) {
        const Stopwatch first;
        const bool shown = showView("ShowFrmView");
        const double firstMs = first.Milliseconds();
        out << "ShowFrmView -> " << (shown ? 1 : 0) << "\n";
        if (!shown)
            status = 1;
        if (options.timing) {
            const Stopwatch repeated;
            showView("ShowFrmView (view on screen)");
            const double repeatedMs = repeated.Milliseconds();
            window->Container().Hide();
            PaintNow(app, mainWindow);
            const Stopwatch again;
            window->Container().Show();
            showView("ShowFrmView (container shown again)");
            const double againMs = again.Milliseconds();
            out << "timing: first ShowFrmView (view created, embedded, painted): " << firstMs << " ms\n";
            out << "timing: repeated ShowFrmView (view on screen): " << repeatedMs << " ms\n";
            out << "timing: container shown again, then ShowFrmView (panel set up again): " << againMs << " ms\n";
        }
    }

    beginStep(options.capturePath.empty() ? "the message loop" : "painting and capture");
    if (!options.capturePath.empty()) {
        Settle(app, mainWindow, kSettleMs);
        rt::ui::CaptureWindowToPng(mainWindow, options.capturePath);
        out << "captured: " << options.capturePath << "\n";
    } else {
        app.Run();
    }

    PrintNotices(out, *window);
    PrintExecuteCalls(out, model);
    PrintHostRecords(out, model, steps);
    window.reset();
    app.SetMainForm(nullptr);
    app.SetHandle(nullptr);
    // The module's items go while the module is still loaded.
    model.Reset();
    return status;
}

} // namespace

int RunWindow(const WindowOptions& options, std::ostream& out)
{
    rt::Application& app = *rt::CurrentApplication();
    try {
        const int status = Run(options, out, app);
        out.flush();
        return status;
    } catch (const std::exception& e) {
        out << "MainFrame: " << e.what() << "\n";
        out.flush();
        if (options.capturePath.empty())
            MessageBoxA(nullptr, e.what(), "MainFrame", MB_OK | MB_ICONSTOP);
        return 2;
    }
}

} // namespace shell
