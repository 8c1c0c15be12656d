#pragma once
// What the toolkit's tests share: an error display that records (a message
// box would wait for a user who never comes), and a shown host form with a
// container panel, standing in for the host's main window.
#include "sharedrt/ui/Toolkit.h"
#include "sharedrt/ui/UiDriver.h"
#include "sharedrt/ui/WindowCapture.h"

#include <commctrl.h>

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

// A shown borderless form at (100, 100), 400 x 300, whose client area is a
// panel of colour #F4F9FE: the surface graphic controls are tested on.
class CanvasTest : public UiTest {
protected:
    static constexpr std::uint32_t kCanvasColor = 0xF4F9FE;

    void SetUp() override
    {
        form_ = new rt::ui::Form({.control = {.bounds = {100, 100, 400, 300},
                                              .font = rt::ui::Font{.face = "宋体", .height = 12}},
                                  .borderStyle = rt::ui::BorderStyle::None});
        canvas_ = new rt::ui::Panel({.control = {.owner = form_, .parent = form_, .name = "Canvas",
                                                 .align = rt::ui::Align::Client,
                                                 .color = rt::ui::RgbHex(kCanvasColor)},
                                     .bevelOuter = rt::ui::Bevel::None});
        form_->Show();
        rt::ui::driver::ProcessMessages();
    }
    void TearDown() override
    {
        rt::ui::FreeComponent(form_);
        UiTest::TearDown();
    }

    // The canvas as it is on screen now (0x00RRGGBB pixels).
    rt::ui::CapturedImage Capture() const { return rt::ui::CaptureWindow(canvas_->Handle()); }

    rt::ui::Form* form_ = nullptr;
    rt::ui::Panel* canvas_ = nullptr;
};

// A picture of two square cells side by side (left, right) whose bottom row
// is magenta: the transparent colour, as the bottom-left pixel says.
inline rt::ui::Bitmap TwoCellPicture(int cell, rt::ui::Color left, rt::ui::Color right)
{
    rt::ui::Bitmap picture = rt::ui::Bitmap::Filled(2 * cell, cell, left);
    rt::unique_hdc dc(CreateCompatibleDC(nullptr));
    rt::ui::SelectGuard select(dc.get(), picture.Handle());
    rt::unique_hbrush rightBrush(CreateSolidBrush(rt::ui::ResolveColor(right)));
    RECT r{cell, 0, 2 * cell, cell};
    FillRect(dc.get(), &r, rightBrush.get());
    rt::unique_hbrush key(CreateSolidBrush(RGB(255, 0, 255)));
    r = RECT{0, cell - 1, 2 * cell, cell};
    FillRect(dc.get(), &r, key.get());
    return picture;
}

// The text a tool-tip window would show for the tool `window` now, asked for
// the way the tool tip asks: a TTN_GETDISPINFO notification to the window.
inline std::string ToolTipText(HWND tips, HWND window)
{
    char text[1024] = {};
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = text;
    SendMessageA(tips, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    return text;
}

// Client rectangle of a window in screen coordinates.
inline RECT ScreenClientRect(HWND window)
{
    RECT r{};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace uitest
