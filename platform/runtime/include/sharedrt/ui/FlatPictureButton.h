#pragma once
// A flat picture button: no border until the mouse is over it (then a raised
// edge; sunken while pressed), the picture centred above the caption, a hand
// cursor. The picture is split into cells of equal width: the first is drawn
// while the button is enabled, the second while it is disabled. Pictures are
// drawn transparently (bottom-left pixel's colour left out). A click runs
// OnClick; a disabled or hidden button takes no clicks.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/Bitmap.h"
#include "sharedrt/ui/GraphicControl.h"

#include <optional>

namespace rt::ui {

struct FlatPictureButtonArgs {
    ControlArgs control; // cursor defaults to the hand
    Bitmap glyph;
    int numGlyphs = 2;
    int spacing = 4;   // between picture and caption
};

class SHAREDRT_API FlatPictureButton : public GraphicControl {
public:
    // The picture is moved out of `args`: pass a temporary to spare a copy.
    explicit FlatPictureButton(FlatPictureButtonArgs args);
    ~FlatPictureButton() override;

    const Bitmap& Glyph() const noexcept { return glyph_; }
    void SetGlyph(Bitmap glyph);
    int NumGlyphs() const noexcept { return numGlyphs_; }
    void SetNumGlyphs(int count);
    // Pressed: the mouse went down on the button and has not come up yet.
    bool Pressed() const noexcept { return pressed_; }

    // Where the picture and the caption go, in the button's coordinates.
    RECT GlyphRect() const noexcept;
    RECT CaptionRect() const;
    // The height of the picture and the caption together, as they are laid
    // out one above the other.
    int ContentHeight() const;

    void Paint(HDC dc) override;

protected:
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;
    void EnabledChanged() override;
    void CaptionChanged() override;
    void FontChanged() override;

private:
    // Measured once per caption and font: a paint asks for it three times.
    SIZE CaptionSize() const;
    int CellWidth() const noexcept;

    Bitmap glyph_;
    int numGlyphs_;
    int spacing_;
    bool pressed_ = false;
    mutable std::optional<SIZE> captionSize_;
};

} // namespace rt::ui
#endif
