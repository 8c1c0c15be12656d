#pragma once
// A container for a window that is not the runtime's: a borderless child
// window of the host's window that fills its client area and follows its
// size, as a windowed control of the runtime, so that a module's view can
// be embedded in any window (ShowFrmView's container). The C interface
// makes it with WscbsContainerCreate.
//
// It counts as on screen whenever it is visible, as a top-level form does.
// It must go before its host window; when the host window is destroyed
// first, the container destroys itself (and an embedded view with it)
// while the host window's destruction begins.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/Panel.h"

namespace rt::ui {

class SHAREDRT_API HostWindowContainer : public Panel {
public:
    // Throws rt::Error when `hostWindow` is no window.
    explicit HostWindowContainer(HWND hostWindow);
    ~HostWindowContainer() override;

    HWND HostWindow() const noexcept { return host_; }

    // True while `container` is a container of this kind that lives.
    static bool Lives(const void* container) noexcept;

protected:
    HWND DetachedParentWindow() const override { return host_; }
    bool ShowsWithoutParent() const noexcept override { return true; }

private:
    static LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self);
    void FillHostWindow();

    HWND host_;
    bool subclassed_ = false;
};

} // namespace rt::ui
#endif
