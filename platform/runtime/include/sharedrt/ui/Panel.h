#pragma once
// A panel: a windowed container with a colour, an optional bevel and a
// centred caption.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/WinControl.h"

namespace rt::ui {

enum class Bevel { None, Lowered, Raised };

struct PanelArgs {
    ControlArgs control;  // colour defaults to the button face
    Bevel bevelOuter = Bevel::Raised;
    bool showCaption = true;
    // Scroll bars when the client area is smaller than the content
    // (WinControl's scrolling).
    bool autoScroll = false;
};

class SHAREDRT_API Panel : public WinControl {
public:
    explicit Panel(const PanelArgs& args);
    ~Panel() override;

    Bevel BevelOuter() const noexcept { return bevel_; }
    void SetBevelOuter(Bevel bevel);

protected:
    void PaintBackground(HDC dc, const RECT& client) override;
    RECT LayoutArea() const override;

private:
    Bevel bevel_;
    bool showCaption_;
};

} // namespace rt::ui
#endif
