#pragma once
// A picture. Stretched pictures fill the control; others are drawn at their
// own size at the top-left (or centred): the size of the design (96 dots
// per inch) at the control's scale, smoothed above it. Transparent pictures
// leave out their bottom-left pixel's colour. With auto size the control
// takes the picture's size. A decorative picture is not drawn in
// high-contrast mode.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/Bitmap.h"
#include "sharedrt/ui/GraphicControl.h"

namespace rt::ui {

struct ImageArgs {
    ControlArgs control;
    Bitmap picture;
    bool transparent = false;
    bool stretch = false;
    bool center = false;
    bool autoSize = false;
    bool decorative = false;
};

class SHAREDRT_API Image : public GraphicControl {
public:
    // The picture is moved out of `args`: pass a temporary to spare a copy.
    explicit Image(ImageArgs args);
    ~Image() override;

    const Bitmap& Picture() const noexcept { return picture_; }
    void SetPicture(Bitmap picture);
    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool transparent);
    bool Stretch() const noexcept { return stretch_; }
    void SetStretch(bool stretch);

    void Paint(HDC dc) override;

protected:
    Bounds AutoSizedBounds() const override;

private:
    // The picture as it is drawn at `width` x `height` (itself when that is
    // its own size at 96 dots per inch).
    const Bitmap& DrawnPicture(int width, int height) const;

    Bitmap picture_;
    bool transparent_;
    bool stretch_;
    bool center_;
    bool decorative_;
    mutable Bitmap scaled_;
    mutable SIZE scaledFor_{0, 0};
};

} // namespace rt::ui
#endif
