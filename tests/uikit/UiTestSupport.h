#pragma once
// What the toolkit's tests share: an error display that records (a message
// box would wait for a user who never comes), and a shown host form with a
// container panel, standing in for the host's main window.
#include "sharedrt/AppObjects.h"
#include "sharedrt/ui/Form.h"
#include "sharedrt/ui/Panel.h"
#include "sharedrt/ui/UiDriver.h"

#include <gtest/gtest.h>

namespace uitest {

class UiTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        rt::ui::FreeComponent(host_);
        rt::ui::driver::ProcessMessages();
    }

    // A shown top-level form of 640 x 480 at (40, 40) with a panel
    // "Container" filling its client area.
    rt::ui::Form& Host()
    {
        if (!host_) {
            host_ = new rt::ui::Form({.control = {.name = "HostForm", .bounds = {40, 40, 640, 480},
                                                  .caption = "Host"},
                                      .className = "TestHostForm"});
            container_ = new rt::ui::Panel({.control = {.owner = host_, .parent = host_, .name = "Container",
                                                        .align = rt::ui::Align::Client},
                                            .bevelOuter = rt::ui::Bevel::None});
            host_->Show();
            rt::ui::driver::ProcessMessages();
        }
        return *host_;
    }
    rt::ui::Panel& Container()
    {
        Host();
        return *container_;
    }

    rt::ui::driver::ErrorRecorder errors_;

private:
    rt::ui::Form* host_ = nullptr;
    rt::ui::Panel* container_ = nullptr;
};

// Client rectangle of a window in screen coordinates.
inline RECT ScreenClientRect(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace uitest
