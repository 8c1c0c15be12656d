// Shows and closes the launcher view many times, as the reference shell
// does, and watches the process for anything that grows.
//   ViewSoak.exe <installation folder> <cycles> [<every>] [--leak gdi|windows|heap]
// The host is configured from the installation's profile (a copy: the start
// writes into it), wscbs.dll is loaded and initialised, and each cycle then
// calls ShowFrmView with the shell window's container, handles messages
// until the view is painted, sends it the host's close (1280) and handles
// messages until it is destroyed. After the first cycle and every <every>
// cycles (default 500) one line gives GDI objects, the thread's windows,
// committed private memory and heap bytes in use; FindGrowth decides.
// --leak makes the host's start function leak one GDI object, window or
// heap block per show, to see the run catch it.
// Exit code 0 when nothing grows, 1 when something does, 2 when a cycle did
// not show or close the view as it should (or the run could not start).
#include "hostmodel/HostModel.h"
#include "shell/HostProfile.h"
#include "shell/MainFrameWindow.h"
#include "shell/ShellFunctions.h"
#include "shell/SubAppModule.h"
#include "sharedrt/AppObjects.h"
#include "sharedrt/ui/UiDriver.h"
#include "soak/ProcessCounters.h"
#include "soak/SoakSeries.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iterator>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kDestroyRounds = 100;

struct Options {
    std::string installation;
    int cycles = 0;
    int every = 500;
    std::string leak;
};

void Say(const std::string& line)
{
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

class CycleFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The host function the view starts on every show, made to leak.
hostmodel::HostFunction LeakingStart(const std::string& kind)
{
    if (kind == "gdi")
        return [](void*, const std::string&, std::string&) { return CreateSolidBrush(RGB(1, 2, 3)) != nullptr; };
    if (kind == "windows")
        return [](void*, const std::string&, std::string&) {
            return CreateWindowExA(0, "STATIC", "leak", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr) !=
                   nullptr;
        };
    if (kind == "heap")
        return [](void*, const std::string&, std::string&) { return HeapAlloc(GetProcessHeap(), 0, 256) != nullptr; };
    throw std::invalid_argument("unknown leak " + kind);
}

class ViewCycle {
public:
    ViewCycle(rt::Application& app, shell::Tfrm_MainFrame& window, shell::SubAppModule& module,
              const shell::HostProfile& profile)
        : app_(app), window_(window), module_(module), profile_(profile)
    {
    }

    // One show and close; throws CycleFailed when the view did not come,
    // paint, close or say so to the host.
    void Run(int cycle)
    {
        hostmodel::HostModel& model = hostmodel::Model();
        if (!module_.ShowFrmView(window_.Handle(), &window_.Container(), profile_.showFrmViewText))
            Fail(cycle, "ShowFrmView answered false");
        PaintNow();
        const HWND view = window_.ViewWindow();
        if (view == nullptr || !IsWindowVisible(view))
            Fail(cycle, "no visible view in the container after ShowFrmView");
        if (GetUpdateRect(view, nullptr, FALSE))
            Fail(cycle, "the view is not painted");
        if (model.ExecuteCalls().size() != 1)
            Fail(cycle, "the view started " + std::to_string(model.ExecuteCalls().size()) +
                            " host functions when shown, not one");

        window_.SendToView(WSCBS_MSG_CLOSE_FORM);
        for (int round = 0; round < kDestroyRounds && IsWindow(view); ++round)
            app_.ProcessMessages();
        if (IsWindow(view))
            Fail(cycle, "the view is not destroyed after the host's close");
        if (window_.ViewWindow() != nullptr)
            Fail(cycle, "a window is left in the container after the close");
        const auto& notices = window_.CopyDataNotices();
        if (notices.empty() || notices.back().kind != WSCBS_CD_FORM_CLOSED)
            Fail(cycle, "the host got no notice of the destroyed view");
        if (!errors_.Messages().empty())
            Fail(cycle, "the error display was called: " + errors_.Messages().front());

        // The host's records of what the module did are the reference
        // host's, for tests; a real host keeps none.
        window_.ClearRecords();
        model.ClearRecords();
    }

private:
    [[noreturn]] static void Fail(int cycle, const std::string& what)
    {
        throw CycleFailed("cycle " + std::to_string(cycle) + ": " + what);
    }

    void PaintNow()
    {
        app_.ProcessMessages();
        RedrawWindow(window_.Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        GdiFlush();
    }

    rt::Application& app_;
    shell::Tfrm_MainFrame& window_;
    shell::SubAppModule& module_;
    const shell::HostProfile& profile_;
    rt::ui::driver::ErrorRecorder errors_;
};

// "font +1, brush -2": what changed in the GDI objects from `before`.
std::string KindChanges(const std::map<std::string, std::uint32_t>& before,
                        const std::map<std::string, std::uint32_t>& now)
{
    std::map<std::string, long> change;
    for (const auto& [kind, count] : now)
        change[kind] += static_cast<long>(count);
    for (const auto& [kind, count] : before)
        change[kind] -= static_cast<long>(count);
    std::string text;
    for (const auto& [kind, delta] : change)
        if (delta != 0)
            text += (text.empty() ? "" : ", ") + kind + (delta > 0 ? " +" : " ") + std::to_string(delta);
    return text;
}

// One line for each of the first few objects in `now` that `before` lacks.
void SayNewObjects(std::vector<soak::GdiObject> before, std::vector<soak::GdiObject> now)
{
    std::sort(before.begin(), before.end());
    std::sort(now.begin(), now.end());
    std::vector<soak::GdiObject> added;
    std::set_difference(now.begin(), now.end(), before.begin(), before.end(), std::back_inserter(added));
    for (std::size_t i = 0; i < added.size() && i < 10; ++i)
        Say("soak:   new " + soak::DescribeGdiObject(added[i]));
}

soak::Sample TakeSample(int cycle)
{
    soak::Sample sample;
    sample.cycle = cycle;
    sample.gdiObjects = soak::GdiObjects();
    sample.windows = soak::ThreadWindows();
    sample.privateBytes = soak::CommittedPrivateBytes();
    sample.heapBytes = soak::HeapBytesInUse();
    return sample;
}

int Soak(const Options& options)
{
    rt::Application& app = *rt::CurrentApplication();
    hostmodel::HostModel& model = hostmodel::Model();
    const shell::HostProfile profile = shell::ReadHostProfile(options.installation);
    shell::ApplyHostProfile(profile, model);

    // The module goes last, as in the shell: the view lives in the window.
    shell::SubAppModule module(shell::ExecutableFolder() + "wscbs.dll");
    std::unique_ptr<shell::Tfrm_MainFrame, void (*)(shell::Tfrm_MainFrame*)> window(
        rt::ui::CreateForm<shell::Tfrm_MainFrame>("MainFrame - soak"), [](shell::Tfrm_MainFrame* form) {
            form->Free();
        });
    const HWND mainWindow = window->Handle();
    app.SetMainForm(window.get());
    app.SetHandle(mainWindow);
    model.SetWindows(mainWindow, mainWindow);
    model.SetParentForms(&window->Container(), &window->Container());
    shell::RegisterShellFunctions(model, profile.currentSubApp, shell::DialogMode::Unattended, mainWindow);
    if (!options.leak.empty())
        model.SetHostFunction(profile.currentSubApp + "004-00-01", LeakingStart(options.leak));
    // Each system colour's brush is made on its first use and kept for the
    // process's life; a colour first needed in the middle of a run (an
    // inactive caption, when the window loses the focus for a moment) would
    // look like a leak. Made here, before the run.
    for (int index = 0; index <= COLOR_MENUBAR; ++index)
        GetSysColorBrush(index);
    window->SetBounds({20, 20, 900, 640});
    window->Show();
    app.ProcessMessages();
    // The pointer rests outside the window: a pointer that happens to lie
    // over a button would hover it now and then, and the first hover loads
    // the hand cursor, whose bitmaps the system keeps for good.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    POINT pointer{};
    GetCursorPos(&pointer);
    RECT bounds{};
    GetWindowRect(mainWindow, &bounds);
    if (PtInRect(&bounds, pointer)) {
        Say("soak: the pointer cannot be moved off the shell's window");
        return 2;
    }

    const std::string initText = profile.initSubAppText.empty()
                                     ? "SubAppCode=" + profile.currentSubApp + ";RunMode=1"
                                     : profile.initSubAppText;
    const shell::SubAppModule::InitResult init = module.InitSubApp(mainWindow, initText);
    if (!init.succeeded) {
        Say("soak: InitSubApp failed: " + init.text);
        return 2;
    }
    model.ClearRecords();

    bool fromTable = false;
    soak::GdiObjects(&fromTable);
    if (fromTable && !soak::GdiObjectsInHandleTable()) {
        Say("soak: GDI objects cannot be counted here: GetGuiResources answers 0 and the PEB names no handle table");
        return 2;
    }
    Say("soak: " + std::to_string(options.cycles) + " cycles of ShowFrmView into the shell's container and the host's "
        "close (1280), a sample after the first and every " + std::to_string(options.every) + "; GDI objects " +
        (fromTable ? "counted in the handle table" : "from GetGuiResources") +
        (options.leak.empty() ? "" : "; the start function leaks " + options.leak));
    Say(soak::SeriesHeader());

    std::vector<soak::Sample> series;
    std::map<std::string, std::uint32_t> firstKinds;
    std::vector<soak::GdiObject> firstObjects;
    ViewCycle cycle(app, *window, module, profile);
    const DWORD start = GetTickCount();
    int status = 0;
    try {
        for (int i = 1; i <= options.cycles; ++i) {
            cycle.Run(i);
            if (i == 1 || i % options.every == 0 || i == options.cycles) {
                series.push_back(TakeSample(i));
                Say(soak::FormatSample(series.back()));
                // What the GDI objects that came or went since the first
                // sample are, whenever their number moved.
                if (series.size() == 1) {
                    firstKinds = soak::GdiObjectsByKind();
                    firstObjects = soak::GdiObjectsInTable();
                } else if (series.back().gdiObjects != series[series.size() - 2].gdiObjects) {
                    Say("soak: gdi objects against cycle 1: " + KindChanges(firstKinds, soak::GdiObjectsByKind()));
                    SayNewObjects(firstObjects, soak::GdiObjectsInTable());
                }
            }
        }
    } catch (const CycleFailed& e) {
        Say(std::string("soak: ") + e.what());
        status = 2;
    }
    const DWORD elapsed = GetTickCount() - start;
    if (status == 0) {
        const std::vector<soak::Growth> growth = soak::FindGrowth(series);
        for (const soak::Growth& g : growth)
            Say("soak: " + soak::FormatGrowth(g));
        char line[160];
        std::snprintf(line, sizeof line, "soak: %s over %d cycles in %.1f s (%.2f ms per cycle)",
                      growth.empty() ? "flat" : "GROWS", options.cycles, elapsed / 1000.0,
                      static_cast<double>(elapsed) / options.cycles);
        Say(line);
        status = growth.empty() ? 0 : 1;
    }

    window.reset();
    app.SetMainForm(nullptr);
    app.SetHandle(nullptr);
    model.Reset();
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    std::vector<std::string> plain;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--leak") == 0 && i + 1 < argc)
            options.leak = argv[++i];
        else
            plain.push_back(argv[i]);
    }
    if (plain.size() < 2 || plain.size() > 3) {
        std::fprintf(stderr, "usage: ViewSoak <installation folder> <cycles> [<every>] [--leak gdi|windows|heap]\n");
        return 2;
    }
    options.installation = plain[0];
    options.cycles = std::atoi(plain[1].c_str());
    if (plain.size() == 3)
        options.every = std::atoi(plain[2].c_str());
    if (options.cycles < 1 || options.every < 1) {
        std::fprintf(stderr, "ViewSoak: cycles and every must be positive\n");
        return 2;
    }
    try {
        return Soak(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ViewSoak: %s\n", e.what());
        return 2;
    }
}
