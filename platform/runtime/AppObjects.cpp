#include "sharedrt/AppObjects.h"

namespace rt {
namespace {

// The runtime's own objects, current until the host installs others.
Application* g_application = new Application;
Screen* g_screen = new Screen;

} // namespace

Application* CurrentApplication() noexcept { return g_application; }
void SetCurrentApplication(Application* app) noexcept { g_application = app; }
Screen* CurrentScreen() noexcept { return g_screen; }
void SetCurrentScreen(Screen* screen) noexcept { g_screen = screen; }

} // namespace rt
