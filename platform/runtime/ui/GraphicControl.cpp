#include "sharedrt/ui/GraphicControl.h"

namespace rt::ui {

GraphicControl::GraphicControl(const ControlArgs& args) : Control(args) { Invalidate(); }

GraphicControl::~GraphicControl() = default;

} // namespace rt::ui
