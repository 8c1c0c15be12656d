#pragma once
// Records every window this thread creates while it lives, as Windows
// announces it before the window's first message (a CBT hook): its class,
// the parent it is created with and its style.
#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

class WindowCreations {
public:
    struct Creation {
        std::string className;
        HWND parent;
        LONG style;
    };

    WindowCreations()
    {
        current_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    }
    ~WindowCreations()
    {
        if (hook_)
            UnhookWindowsHookEx(hook_);
        current_ = nullptr;
    }
    WindowCreations(const WindowCreations&) = delete;
    WindowCreations& operator=(const WindowCreations&) = delete;

    bool Hooked() const noexcept { return hook_ != nullptr; }
    // The creations of windows of `className` (compared without case).
    std::vector<Creation> Of(const std::string& className) const
    {
        std::vector<Creation> found;
        for (const Creation& creation : creations_)
            if (lstrcmpiA(creation.className.c_str(), className.c_str()) == 0)
                found.push_back(creation);
        return found;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && current_) {
            const auto* create = reinterpret_cast<const CBT_CREATEWNDA*>(lParam);
            std::string name;
            if (IS_INTRESOURCE(create->lpcs->lpszClass)) {
                char buffer[256] = {};
                GetClassNameA(reinterpret_cast<HWND>(wParam), buffer, sizeof buffer);
                name = buffer;
            } else {
                name = create->lpcs->lpszClass;
            }
            current_->creations_.push_back({name, create->lpcs->hwndParent, create->lpcs->style});
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline WindowCreations* current_ = nullptr;
    HHOOK hook_ = nullptr;
    std::vector<Creation> creations_;
};

} // namespace testing_support
