#pragma once
// A geometric shape: rectangle, ellipse or rounded rectangle, outlined with a
// pen and filled with a brush (either may be clear). A rectangle one pixel
// high is a line.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/GraphicControl.h"

namespace rt::ui {

enum class ShapeType { Rectangle, Ellipse, RoundRect };

struct ShapeArgs {
    ControlArgs control;
    ShapeType shape = ShapeType::Rectangle;
    Color penColor = 0;     // black
    int penWidth = 1;
    bool penClear = false;
    Color brushColor = Rgb(255, 255, 255);
    bool brushClear = false;
};

class SHAREDRT_API Shape : public GraphicControl {
public:
    explicit Shape(const ShapeArgs& args);
    ~Shape() override;

    Color PenColor() const noexcept { return penColor_; }
    void SetPenColor(Color color);
    Color BrushColor() const noexcept { return brushColor_; }
    void SetBrushColor(Color color);

    void Paint(HDC dc) override;

private:
    ShapeType shape_;
    Color penColor_;
    int penWidth_;
    bool penClear_;
    Color brushColor_;
    bool brushClear_;
};

} // namespace rt::ui
#endif
