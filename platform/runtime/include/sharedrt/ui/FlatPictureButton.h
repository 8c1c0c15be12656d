#pragma once
// A flat picture button: no border until the mouse is over it (then a raised
// edge; sunken while pressed), the picture centred above the caption, a hand
// cursor. The picture is split into cells of equal width: the first is drawn
// while the button is enabled, the second while it is disabled. Pictures are
// drawn transparently (bottom-left pixel's colour left out), at the
// button's scale (smoothed above 96 dots per inch). A click runs OnClick; a
// disabled or hidden button takes no clicks.
//
// A caption wider than the button (less a margin on either side) wraps onto
// a second line, at a blank where one is near, else between characters;
// what still does not fit ends with an ellipsis. No glyph is ever cut. With
// growToFit the button grows downwards when its picture and caption need
// more than its designed height, and shrinks back to it when they no
// longer do.
//
// For the keyboard and assistive technology it is a tab stop and a push
// button named by its caption, whose default action is its click.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/Bitmap.h"
#include "sharedrt/ui/GraphicControl.h"

#include <optional>
#include <string>
#include <vector>

namespace rt::ui {

struct FlatPictureButtonArgs {
    ControlArgs control; // cursor defaults to the hand
    Bitmap glyph;
    int numGlyphs = 2;
    int spacing = 4;   // between picture and caption
    bool growToFit = false;
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
    // The caption as it is drawn, one text a line.
    std::vector<std::string> CaptionLines() const;
    // The height of the picture and the caption together, as they are laid
    // out one above the other.
    int ContentHeight() const;

    void Paint(HDC dc) override;

    bool TabStop() const noexcept override { return true; }
    long AccessibleRole() const noexcept override;
    std::string AccessibleDefaultAction() const override;
    RECT FocusRect() const noexcept override;

protected:
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(int x, int y) override;
    void MouseUp(int x, int y) override;
    void EnabledChanged() override;
    void CaptionChanged() override;
    void FontChanged() override;
    void BoundsChanged(const Bounds& old) override;
    void ScaleProperties(int to, int from) override;

private:
    struct CaptionLayout {
        std::vector<std::string> lines;
        SIZE size{0, 0};   // of the whole block
        int lineHeight = 0;
        bool single = true;
        int width = -1;    // the button width it was made for
    };
    // Made once per caption, font and width: a paint asks for it often.
    const CaptionLayout& Layout() const;
    SIZE CaptionSize() const;
    int CellWidth() const noexcept;
    int GlyphHeight() const noexcept;
    // The picture at the button's scale (the picture itself at 96 DPI).
    const Bitmap& ScaledGlyph() const;
    void FitHeight();

    Bitmap glyph_;
    int numGlyphs_;
    int spacing_;
    bool growToFit_;
    int designHeight_;
    bool pressed_ = false;
    bool fitting_ = false;
    mutable std::optional<CaptionLayout> layout_;
    mutable Bitmap scaledGlyph_;
    mutable int scaledGlyphFor_ = 0;
};

} // namespace rt::ui
#endif
