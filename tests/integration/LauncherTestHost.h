#pragma once
// A host for the real wscbs.dll in the test process: the host model set up
// with the WSCBS sub-application (its folder and SQLite database in a
// temporary folder, version 2.0.1, period 200703, every launcher function
// allowed), the shell's main window with its container, and the module's
// ShowFrmView. Elements of the view are found by name.
#include "hostmodel/HostModel.h"
#include "shell/MainFrameWindow.h"
#include "sharedrt/AppObjects.h"
#include "sharedrt/SharedHeap.h"
#include "sharedrt/ui/Panel.h"
#include "sharedrt/ui/UiDriver.h"
#include "support/LoadedModule.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

inline constexpr const char* kLauncherSuffixes[] = {"004-00-01", "004-00-03", "004-00-04", "004-00-05",
                                                    "003-01",    "002-01",    "004-00-06", "005-01"};

class LauncherTestHost : public testing::Test {
protected:
    using ShowFrmViewFn = WscbsShowFrmViewProc;

    void SetUp() override
    {
        hostmodel::HostModel& model = hostmodel::Model();
        model.Reset();
        hostmodel::SubAppSetup& setup = subApp;
        setup.code = "WSCBS";
        setup.caption = "网上抄报税";
        setup.folder = folder.Path();
        setup.version = "2.0.1";
        setup.databaseFile = folder.Path() + "wscbs.db";
        setup.databaseScript =
            folder.Write("wscbs.sql", "CREATE TABLE cs_ickxx (qysbh Text(20), icxlh Integer, fjksm Integer);\n");
        model.AddSubApp(setup);
        model.SetCurrentSubApp("WSCBS");
        model.SetCurrentFunction("WSCBS004-00-01");
        for (const char* suffix : kLauncherSuffixes)
            model.AllowFunction(std::string("WSCBS") + suffix);
        model.SetString(*model.SubAppVo("WSCBS"), "Global_curkjny", "200703");

        host = rt::ui::CreateForm<shell::Tfrm_MainFrame>("MainFrame");
        host->SetBounds({20, 20, 900, 640});
        host->Show();
        rt::ui::driver::ProcessMessages();
        rt::CurrentApplication()->SetHandle(host->Handle());
        model.SetWindows(host->Handle(), host->Handle());

        module.emplace("wscbs.dll");
        ASSERT_TRUE(module->Loaded()) << GetLastError();
        showFrmView = module->Export<ShowFrmViewFn>("ShowFrmView");
        ASSERT_NE(showFrmView, nullptr);
    }

    void TearDown() override
    {
        rt::ui::FreeComponent(host);
        rt::ui::driver::ProcessMessages();
        rt::CurrentApplication()->SetHandle(nullptr);
        hostmodel::Model().Reset();
        module.reset();
    }

    // ShowFrmView with the host's container (or none) and `text` in a
    // shared-heap block; then the waiting messages are handled.
    bool Show(const std::string& text = "", bool withContainer = true)
    {
        return ShowIn(withContainer ? &host->Container() : nullptr, text);
    }

    // The same with any container.
    bool ShowIn(rt::ui::WinControl* container, const std::string& text = "")
    {
        char* block = static_cast<char*>(rt::SharedHeap::AllocZeroed(text.size() + 1));
        std::memcpy(block, text.data(), text.size());
        char* pointer = block;
        const bool shown = showFrmView(host->Handle(), container, &pointer) != 0;
        lastTextAfterShow = block;
        EXPECT_EQ(pointer, block);
        rt::SharedHeap::Free(block);
        rt::ui::driver::ProcessMessages();
        return shown;
    }

    // The form embedded in the container (the host's by default), or null.
    rt::ui::Form* View(const rt::ui::WinControl* container = nullptr) const
    {
        for (rt::ui::Control* control : (container ? *container : host->Container()).Controls())
            if (auto* form = dynamic_cast<rt::ui::Form*>(control))
                return form;
        return nullptr;
    }

    // A container of its own whose client area is `width` x `height`: a
    // borderless window at (20, 20), owned by the host's window, filled by
    // a panel. Freed with the host.
    rt::ui::Panel& OwnContainer(int width, int height)
    {
        auto* form = new rt::ui::Form({.control = {.owner = host, .name = "ownContainerForm",
                                                   .bounds = {20, 20, width, height}},
                                       .borderStyle = rt::ui::BorderStyle::None});
        auto* panel = new rt::ui::Panel({.control = {.owner = form, .parent = form, .name = "ownContainer",
                                                     .align = rt::ui::Align::Client},
                                         .bevelOuter = rt::ui::Bevel::None,
                                         .showCaption = false});
        form->Show();
        rt::ui::driver::ProcessMessages();
        return *panel;
    }

    template <typename T>
    T& Element(const char* name, const rt::ui::WinControl* container = nullptr) const
    {
        rt::ui::Form* view = View(container);
        T* element = view ? view->Find<T>(name) : nullptr;
        if (element == nullptr)
            throw std::runtime_error(std::string("no element ") + name);
        return *element;
    }

    std::vector<std::string> StartedCodes() const
    {
        std::vector<std::string> codes;
        for (const hostmodel::ExecuteCall& call : hostmodel::Model().ExecuteCalls())
            codes.push_back(call.functionCode);
        return codes;
    }

    // Gives the sub-application these individuation parameters.
    void Individuate(std::vector<std::pair<std::string, std::string>> parameters)
    {
        subApp.individuation = std::move(parameters);
        hostmodel::Model().AddSubApp(subApp);
    }

    hostmodel::SubAppSetup subApp;

    TempFolder folder;
    rt::ui::driver::ErrorRecorder errors;
    shell::Tfrm_MainFrame* host = nullptr;
    std::optional<LoadedModule> module;
    ShowFrmViewFn showFrmView = nullptr;
    std::string lastTextAfterShow;
};

} // namespace testing_support
