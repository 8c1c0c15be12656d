#include "module/ModuleState.h"

namespace module {
namespace {

rt::Application* g_savedApplication = nullptr;
rt::Screen* g_savedScreen = nullptr;

} // namespace

void RecordRuntimeObjects() noexcept
{
    g_savedApplication = rt::CurrentApplication();
    g_savedScreen = rt::CurrentScreen();
}

void RestoreRuntimeObjects() noexcept
{
    rt::SetCurrentApplication(g_savedApplication);
    rt::SetCurrentScreen(g_savedScreen);
}

void AdoptApplicationHandle(rt::WindowHandle handle) noexcept
{
    if (rt::Application* app = rt::CurrentApplication())
        app->SetHandle(handle);
}

} // namespace module
