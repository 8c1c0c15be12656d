#include "sharedrt/ui/HostWindowContainer.h"

#include "sharedrt/RtError.h"
#include "wscbs/wscbs.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace rt::ui {
namespace {

// The host window's subclass of this container kind (one per container).
constexpr UINT_PTR kSubclassId = 0x57534342; // "WSCB"

std::vector<const HostWindowContainer*>& LiveContainers()
{
    static auto* const containers = new std::vector<const HostWindowContainer*>;
    return *containers;
}

Bounds ClientBounds(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return {0, 0, client.right, client.bottom};
}

PanelArgs ContainerArgs(HWND hostWindow)
{
    PanelArgs args;
    args.control.name = "HostWindowContainer";
    args.control.bounds = ClientBounds(hostWindow);
    args.bevelOuter = Bevel::None;
    args.showCaption = false;
    return args;
}

} // namespace

HostWindowContainer::HostWindowContainer(HWND hostWindow) : Panel(ContainerArgs(hostWindow)), host_(hostWindow)
{
    if (hostWindow == nullptr || !IsWindow(hostWindow))
        throw Error("容器的父窗口不是窗口");
    // Made in the runtime's parking window, then moved into the host's.
    ::SetParent(Handle(), host_);
    FillHostWindow();
    subclassed_ = SetWindowSubclass(host_, &HostWindowProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    if (!subclassed_)
        throw Error("无法跟随容器的父窗口");
    LiveContainers().push_back(this);
    UpdateShowing();
}

HostWindowContainer::~HostWindowContainer()
{
    std::erase(LiveContainers(), this);
    if (subclassed_)
        RemoveWindowSubclass(host_, &HostWindowProc, kSubclassId);
}

bool HostWindowContainer::Lives(const void* container) noexcept
{
    const auto& live = LiveContainers();
    return container != nullptr && std::find(live.begin(), live.end(), container) != live.end();
}

void HostWindowContainer::FillHostWindow()
{
    if (IsWindow(host_))
        SetBounds(ClientBounds(host_));
}

LRESULT CALLBACK HostWindowContainer::HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                     UINT_PTR, DWORD_PTR self)
{
    auto* container = reinterpret_cast<HostWindowContainer*>(self);
    try {
        if (message == WM_SIZE)
            container->FillHostWindow();
        if (message == WM_DESTROY) {
            // The host window goes first: the container and its view go
            // now, while their windows are still whole.
            const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            container->Free();
            return result;
        }
    } catch (...) {
        ReportEventException();
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace rt::ui

extern "C" {

WscbsContainer* WscbsContainerCreate(WscbsWindowHandle parent)
{
    try {
        return new rt::ui::HostWindowContainer(static_cast<HWND>(parent));
    } catch (...) {
        return nullptr;
    }
}

void WscbsContainerDestroy(WscbsContainer* container)
{
    if (rt::ui::HostWindowContainer::Lives(container))
        container->Free();
}

WscbsWindowHandle WscbsContainerWindow(const WscbsContainer* container)
{
    return rt::ui::HostWindowContainer::Lives(container) ? container->Handle() : nullptr;
}

} // extern "C"
