#pragma once
// The runtime's current application and screen objects. The host sets them
// up at start; a module records the ones current when it is loaded and puts
// them back when it is unloaded.
//
// The application object also carries what every window of the process
// shares: the owner window of top-level windows, the main form, the message
// loop and the default error display.
#include "sharedrt/Export.h"
#include "sharedrt/RtObject.h"

#include <functional>
#include <string>
#include <vector>

namespace rt {

namespace ui {
class Form;
}

class SHAREDRT_API Application : public RtObject {
public:
    Application();
    ~Application() override;

    // The window that owns every top-level window of the application and of
    // the modules it loads; set by the host (and by a module's entry points).
    WindowHandle Handle() const noexcept { return handle_; }
    void SetHandle(WindowHandle handle) noexcept { handle_ = handle; }

    // The form that stands for the application: forms centred "over the main
    // form" centre over it, and closing it ends the message loop. Set by the
    // program that owns the loop (the host); null when there is none.
    ui::Form* MainForm() const noexcept { return mainForm_; }
    void SetMainForm(ui::Form* form) noexcept { mainForm_ = form; }

    // Forms the application owns, such as a module's view: they are freed,
    // newest first, by FreeOwnedForms, which a host calls before it unloads
    // the modules whose code they run, and at the latest when the
    // application object itself is destroyed. A form freed in another way
    // leaves the list by itself.
    void OwnForm(ui::Form* form);
    void FreeOwnedForms() noexcept;
    void ForgetForm(const ui::Form* form) noexcept;
    bool OwnsForm(const ui::Form* form) const noexcept;

    // Caption of the default error display; empty: the program's file name
    // without extension.
    const std::string& Title() const noexcept { return title_; }
    void SetTitle(std::string title) { title_ = std::move(title); }

    // The error display receives the GBK message of every error that reaches
    // the user-interface layer. Empty (the default): a message box with the
    // message (standard error outside Windows). Tests install a recorder.
    using ErrorDisplay = std::function<void(const std::string& gbkMessage)>;
    ErrorDisplay SetErrorDisplay(ErrorDisplay display);

    // Shows the exception being handled; call only inside a catch block. The
    // message of an rt::Error or other std::exception is shown as it is;
    // anything else shows a fixed text. Never throws.
    void HandleException() noexcept;
    // Shows one message with the error display. Never throws.
    void ShowError(const std::string& gbkMessage) noexcept;

    // The message loop (Windows only).
    // Handles every waiting message and returns. A quit message sets
    // Terminated() instead of being handled.
    void ProcessMessages();
    // Waits for one message and handles it; false once a quit message came.
    bool HandleMessage();
    // Handles messages until the application is terminated; returns the
    // exit code of the quit message.
    int Run();
    // Asks the loop to end (posts a quit message).
    void Terminate();
    bool Terminated() const noexcept { return terminated_; }

private:
    WindowHandle handle_ = nullptr;
    ui::Form* mainForm_ = nullptr;
    std::vector<ui::Form*> ownedForms_;
    std::string title_;
    ErrorDisplay errorDisplay_;
    bool terminated_ = false;
    int exitCode_ = 0;
};

class SHAREDRT_API Screen : public RtObject {
public:
    // Size of the primary screen in pixels (0 outside Windows).
    int Width() const noexcept;
    int Height() const noexcept;
};

SHAREDRT_API Application* CurrentApplication() noexcept;
SHAREDRT_API void SetCurrentApplication(Application* app) noexcept;
SHAREDRT_API Screen* CurrentScreen() noexcept;
SHAREDRT_API void SetCurrentScreen(Screen* screen) noexcept;

} // namespace rt
