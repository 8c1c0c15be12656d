#include "sharedrt/AppObjects.h"

#include <algorithm>
#include <exception>

#ifdef _WIN32
#include "sharedrt/AnsiPath.h"
#include "sharedrt/ui/Form.h"

#include <windows.h>
#else
#include <cstdio>
#endif

namespace rt {
namespace {

// The runtime's own objects, current until the host installs others.
Application* g_application = new Application;
Screen* g_screen = new Screen;

const char kUnknownError[] = "发生了未知错误。";

#ifdef _WIN32
std::string ProgramName()
{
    const std::optional<std::string> path = rt::ModuleFileName(nullptr);
    const std::optional<std::string> folder = rt::ModuleFolder(nullptr);
    if (!path || !folder)
        return {};
    std::string name = path->substr(folder->size());
    const auto dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}
#endif

} // namespace

Application::Application() = default;

Application::~Application() { FreeOwnedForms(); }

void Application::OwnForm(ui::Form* form)
{
    if (form == nullptr || OwnsForm(form))
        return;
    ownedForms_.push_back(form);
#ifdef _WIN32
    form->owningApplication_ = this;
#endif
}

void Application::FreeOwnedForms() noexcept
{
#ifdef _WIN32
    while (!ownedForms_.empty()) {
        ui::Form* form = ownedForms_.back();
        ownedForms_.pop_back();
        form->owningApplication_ = nullptr;
        form->Free();
    }
#else
    ownedForms_.clear();  // no forms outside Windows
#endif
}

void Application::ForgetForm(const ui::Form* form) noexcept
{
    std::erase(ownedForms_, form);
}

bool Application::OwnsForm(const ui::Form* form) const noexcept
{
    return std::find(ownedForms_.begin(), ownedForms_.end(), form) != ownedForms_.end();
}

Application::ErrorDisplay Application::SetErrorDisplay(ErrorDisplay display)
{
    ErrorDisplay previous = std::move(errorDisplay_);
    errorDisplay_ = std::move(display);
    return previous;
}

void Application::HandleException() noexcept
{
    if (!std::current_exception())
        return;
    try {
        throw;
    } catch (const std::exception& e) {
        ShowError(e.what());
    } catch (...) {
        ShowError(kUnknownError);
    }
}

void Application::ShowError(const std::string& gbkMessage) noexcept
{
    try {
        if (errorDisplay_) {
            errorDisplay_(gbkMessage);
            return;
        }
#ifdef _WIN32
        const std::string caption = title_.empty() ? ProgramName() : title_;
        MessageBoxA(GetActiveWindow(), gbkMessage.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
#else
        std::fprintf(stderr, "%s\n", gbkMessage.c_str());
#endif
    } catch (...) {
        // The display itself failed; there is nowhere left to report to.
    }
}

#ifndef _WIN32
void Application::ProcessMessages() {}
bool Application::HandleMessage() { return !terminated_; }
int Application::Run() { return exitCode_; }
void Application::Terminate() { terminated_ = true; }
int Screen::Width() const noexcept { return 0; }
int Screen::Height() const noexcept { return 0; }
#endif

Application* CurrentApplication() noexcept { return g_application; }
void SetCurrentApplication(Application* app) noexcept { g_application = app; }
Screen* CurrentScreen() noexcept { return g_screen; }
void SetCurrentScreen(Screen* screen) noexcept { g_screen = screen; }

} // namespace rt
