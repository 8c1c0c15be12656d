#pragma once
// The runtime's current application and screen objects. The host sets them
// up at start; a module records the ones current when it is loaded and puts
// them back when it is unloaded.
#include "sharedrt/Export.h"
#include "sharedrt/RtObject.h"

namespace rt {

class SHAREDRT_API Application : public RtObject {
public:
    // The window that owns every top-level window of the application and of
    // the modules it loads; set by the host (and by a module's entry points).
    WindowHandle Handle() const noexcept { return handle_; }
    void SetHandle(WindowHandle handle) noexcept { handle_ = handle; }

private:
    WindowHandle handle_ = nullptr;
};

class SHAREDRT_API Screen : public RtObject {};

SHAREDRT_API Application* CurrentApplication() noexcept;
SHAREDRT_API void SetCurrentApplication(Application* app) noexcept;
SHAREDRT_API Screen* CurrentScreen() noexcept;
SHAREDRT_API void SetCurrentScreen(Screen* screen) noexcept;

} // namespace rt
