#include "sharedrt/ui/Shape.h"

#include "sharedrt/ui/DcGuards.h"

namespace rt::ui {

Shape::Shape(const ShapeArgs& args)
    : GraphicControl(args.control),
      shape_(args.shape),
      penColor_(args.penColor),
      penWidth_(args.penWidth < 0 ? 0 : args.penWidth),
      penClear_(args.penClear),
      brushColor_(args.brushColor),
      brushClear_(args.brushClear)
{
}

Shape::~Shape() = default;

void Shape::SetPenColor(Color color)
{
    penColor_ = color;
    Invalidate();
}

void Shape::SetBrushColor(Color color)
{
    brushColor_ = color;
    Invalidate();
}

void Shape::Paint(HDC dc)
{
    const bool drawPen = !penClear_ && penWidth_ > 0;
    // The pen is centred on the outline, as the form designer shows it.
    const int inset = drawPen ? penWidth_ / 2 : 0;
    const int w = Width() - (drawPen ? penWidth_ - 1 : 0);
    const int h = Height() - (drawPen ? penWidth_ - 1 : 0);
    if (shape_ == ShapeType::Rectangle && drawPen && (Width() <= penWidth_ || Height() <= penWidth_)) {
        // Too thin for an outline: a line (or dot) in the pen's colour.
        RECT r{0, 0, Width(), Height()};
        unique_hbrush pen(CreateSolidBrush(ResolveColor(penColor_)));
        FillRect(dc, &r, pen.get());
        return;
    }
    unique_hgdiobj pen(drawPen ? CreatePen(PS_SOLID, penWidth_, ResolveColor(penColor_)) : nullptr);
    unique_hgdiobj brush(brushClear_ ? nullptr : CreateSolidBrush(ResolveColor(brushColor_)));
    SelectGuard selectPen(dc, pen ? pen.get() : GetStockObject(NULL_PEN));
    SelectGuard selectBrush(dc, brush ? brush.get() : GetStockObject(NULL_BRUSH));
    // A null pen leaves out the right and bottom edges: one more pixel.
    const int extra = drawPen ? 0 : 1;
    switch (shape_) {
    case ShapeType::Rectangle: Rectangle(dc, inset, inset, inset + w + extra, inset + h + extra); break;
    case ShapeType::Ellipse: Ellipse(dc, inset, inset, inset + w + extra, inset + h + extra); break;
    case ShapeType::RoundRect:
        RoundRect(dc, inset, inset, inset + w + extra, inset + h + extra, (w < h ? w : h) / 4, (w < h ? w : h) / 4);
        break;
    }
}

} // namespace rt::ui
