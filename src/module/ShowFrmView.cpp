#include "module/ShowFrmView.h"

#include "module/HostBuffer.h"
#include "module/ModuleState.h"
#include "module/SubAppExports.h"
#include "ui/EmbedForm.h"

#include <utility>

namespace module {
namespace {

ui::Tfrm_Mainframe* g_launcherView = nullptr;

} // namespace

ui::Tfrm_Mainframe& LauncherView(rt::ui::WinControl* container)
{
    if (g_launcherView)
        return *g_launcherView;
    // The application owns the view: it frees it at the latest when it ends,
    // or when the host frees the forms it owns before unloading the module.
    auto* view = rt::ui::CreateForm<ui::Tfrm_Mainframe>(container);
    rt::CurrentApplication()->OwnForm(view);
    g_launcherView = view;
    // A view closed for good is forgotten at once: its release is only
    // posted, and a show before the host's loop runs needs a living view.
    view->OnClose = [formClose = std::move(view->OnClose)](rt::ui::Component& sender, rt::ui::CloseAction& action) {
        formClose(sender, action);
        if (action == rt::ui::CloseAction::Free && g_launcherView == &sender)
            g_launcherView = nullptr;
    };
    view->OnDestroy = [formDestroy = std::move(view->OnDestroy)](rt::ui::Component& sender) {
        if (g_launcherView == &sender)
            g_launcherView = nullptr;
        formDestroy(sender);
    };
    return *view;
}

ui::Tfrm_Mainframe* ExistingLauncherView() noexcept { return g_launcherView; }

} // namespace module

extern "C" WSCBS_BOOL WSCBS_STDCALL ShowFrmView(WscbsWindowHandle appHandle, void* container, char** hostText)
{
    try {
        // The view belongs to the application object; without one there is
        // nothing to show it in.
        if (rt::CurrentApplication() == nullptr)
            return 0;
        module::AdoptApplicationHandle(appHandle);
        auto* target = static_cast<rt::ui::WinControl*>(container);
        ui::Tfrm_Mainframe& view = module::LauncherView(target);
        const std::string text = module::ReadHostText(hostText);
        ui::EmbedForm(target, view, text, true, "", "", false);
        return 1;
    } catch (...) {
        if (rt::Application* app = rt::CurrentApplication())
            app->HandleException();
        return 0;
    }
}
