#pragma once
// A control without a window: its parent paints it (clipped to its
// rectangle, with the origin at its top-left corner) and routes the mouse to
// it. A graphic control needs a parent to be seen.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/Control.h"

namespace rt::ui {

class SHAREDRT_API GraphicControl : public Control {
public:
    ~GraphicControl() override;

    // Paints the control into `dc`: origin at the control's top-left, clip
    // to its rectangle. Called by the parent.
    virtual void Paint(HDC dc) = 0;

protected:
    explicit GraphicControl(const ControlArgs& args);
};

} // namespace rt::ui
#endif
