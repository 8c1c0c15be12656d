#pragma once
// The base of every visible thing: position and size in the parent's client
// area, alignment and anchors, visibility, enabled state, caption, hint,
// font, colour and mouse cursor, and a click event.
//
// Controls are created with an arguments struct and belong to their owner
// (which frees them) and to their parent (which paints or hosts them and
// frees them when it goes first):
//
//   auto* label = new rt::ui::Label({
//       .control = {.owner = form, .parent = panel, .name = "Label_kjny",
//                   .bounds = {140, 12, 76, 13}, .caption = "2007年03月",
//                   .font = rt::ui::Font{.face = "宋体", .height = 13, .bold = true}},
//       .transparent = true});
//   label->OnClick = [this](rt::ui::Component&) { ... };
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/UniqueHandle.h"
#include "sharedrt/ui/Color.h"
#include "sharedrt/ui/Component.h"
#include "sharedrt/ui/Events.h"
#include "sharedrt/ui/Font.h"
#include "sharedrt/ui/Geometry.h"

#include <optional>
#include <string>

namespace rt::ui {

class WinControl;
class Form;

enum class Cursor { Default, Arrow, Hand, IBeam, Wait };

// Designs give pixels at this many dots per inch.
inline constexpr int kDesignPixelsPerInch = 96;

struct ControlArgs {
    Component* owner = nullptr;
    WinControl* parent = nullptr;
    std::string name;
    Bounds bounds;
    Align align = Align::None;
    Anchors anchors = kAnchorsDefault;
    bool visible = true;
    bool enabled = true;
    std::string caption;
    std::string hint;
    std::optional<Font> font;     // empty: the parent's font, following it
    std::optional<Color> color;   // empty: the kind's default colour
    std::optional<Cursor> cursor; // empty: the kind's default cursor
};

class SHAREDRT_API Control : public Component {
public:
    ~Control() override;

    WinControl* Parent() const noexcept { return parent_; }
    // Moves the control into another parent (null: none). The anchors keep
    // the distances the control has in its new parent.
    virtual void SetParent(WinControl* parent);
    // The nearest form among the control itself and its parents, or null.
    Form* ParentForm() const noexcept;

    Bounds GetBounds() const noexcept { return bounds_; }
    int Left() const noexcept { return bounds_.left; }
    int Top() const noexcept { return bounds_.top; }
    int Width() const noexcept { return bounds_.width; }
    int Height() const noexcept { return bounds_.height; }
    void SetBounds(const Bounds& bounds);
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);
    // Where the control is on the screen now.
    Bounds ScreenBounds() const noexcept;

    Align GetAlign() const noexcept { return align_; }
    void SetAlign(Align align);
    Anchors GetAnchors() const noexcept { return anchors_; }
    void SetAnchors(Anchors anchors);

    bool Visible() const noexcept { return visible_; }
    virtual void SetVisible(bool visible);
    virtual void Show() { SetVisible(true); }
    virtual void Hide() { SetVisible(false); }

    bool Enabled() const noexcept { return enabled_; }
    virtual void SetEnabled(bool enabled);

    const std::string& Caption() const noexcept { return caption_; }
    void SetCaption(std::string caption);
    // Tool-tip text; shown when the control's form has tool tips switched on.
    const std::string& Hint() const noexcept { return hint_; }
    void SetHint(std::string hint) { hint_ = std::move(hint); }

    // The font in effect: the control's own, or its parent's.
    Font GetFont() const;
    bool ParentFont() const noexcept { return !ownFont_; }
    void SetFont(const Font& font);
    void SetParentFont(bool parentFont);

    // The colour in effect: the control's own, or its parent's.
    Color GetColor() const noexcept;
    bool ParentColor() const noexcept { return parentColor_; }
    void SetColor(Color color);

    Cursor GetCursor() const noexcept { return cursor_; }
    void SetCursor(Cursor cursor) { cursor_ = cursor; }

    // True while the mouse is over the control (as its parent routes it).
    bool IsHot() const noexcept { return hot_; }

    // Asks for a repaint of the control's area.
    virtual void Invalidate() noexcept;

    // Runs OnClick; an exception in the handler goes to the application's
    // error display.
    virtual void Click();
    NotifyEvent OnClick;

    // The dots per inch the control's sizes are for: the design's (96)
    // until its form is scaled to its window's (Form::ScaleToDpi).
    int PixelsPerInch() const noexcept { return pixelsPerInch_; }
    // A design length (at 96 dots per inch) in this control's pixels.
    int Scaled(int designPixels) const noexcept;
    // Scales position, size, anchor distances and the control's own font
    // from `from` to `to` dots per inch (a whole form: Form::ScaleToDpi).
    virtual void ChangeScale(int to, int from);

    // The keyboard and assistive technology. A windowed parent serves its
    // graphic children: it takes the focus for them, moves it between its
    // tab stops and tells oleacc about those with a role.
    // Reached with Tab and the arrow keys; Enter and Space click it.
    virtual bool TabStop() const noexcept { return false; }
    // Its MSAA role (ROLE_SYSTEM_...); 0: not shown to assistive technology.
    virtual long AccessibleRole() const noexcept { return 0; }
    // The name it is read by: the one set, else the caption with each run
    // of blanks made one blank and none at either end ("清  卡  ": "清 卡").
    std::string AccessibleName() const;
    bool HasOwnAccessibleName() const noexcept { return accessibleName_.has_value(); }
    // A name for assistive technology; the caption stays as it is.
    void SetAccessibleName(std::string name);
    // What its click does, in words (the default action); empty: nothing.
    virtual std::string AccessibleDefaultAction() const { return {}; }
    // Where its focus rectangle goes, in its parent's coordinates.
    virtual RECT FocusRect() const noexcept;

protected:
    explicit Control(const ControlArgs& args);
    // The arguments with a kind's own defaults where the caller left them
    // unset (a panel's face colour, a button's hand cursor).
    static ControlArgs KindDefaults(ControlArgs args, std::optional<Color> color,
                                    std::optional<Cursor> cursor = std::nullopt);

    // Mouse input as the parent routes it, in the control's own coordinates.
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void MouseDown(int x, int y);
    virtual void MouseUp(int x, int y);

    // Hooks after a property changed.
    virtual void BoundsChanged(const Bounds& old);
    virtual void VisibleChanged();
    virtual void EnabledChanged();
    virtual void CaptionChanged();
    virtual void FontChanged();
    virtual void ColorChanged();

    // A GDI font for GetFont(), kept until the font changes.
    HFONT FontHandle() const;
    // The size the control wants for its content (auto-sized kinds), or the
    // current size.
    virtual Bounds AutoSizedBounds() const { return bounds_; }
    // Applies AutoSizedBounds() when the control sizes itself.
    void AdjustSize();
    bool autoSize_ = false;

    // For the layout of the parent: bounds set without touching the anchor
    // distances.
    void SetBoundsFromLayout(const Bounds& bounds);

    // The DPI, the own font and the anchor distances of ChangeScale.
    virtual void ScaleProperties(int to, int from);
    // The bounds ChangeScale gives the control.
    virtual Bounds ScaledBounds(int to, int from) const noexcept;

private:
    friend class WinControl;
    void ApplyBounds(const Bounds& bounds, bool recordAnchors);
    void RecordAnchorDistances() noexcept;
    void NotifyFontChanged();
    void NotifyColorChanged();

    WinControl* parent_ = nullptr;
    Bounds bounds_;
    Align align_;
    Anchors anchors_;
    int rightDistance_ = 0;  // to the parent's right edge, for right anchors
    int bottomDistance_ = 0; // to the parent's bottom edge, for bottom anchors
    bool visible_;
    bool enabled_;
    bool hot_ = false;
    std::string caption_;
    std::string hint_;
    std::optional<Font> ownFont_;
    Color color_;
    bool parentColor_;
    Cursor cursor_;
    mutable unique_hfont fontHandle_;
    mutable unique_hfont retiredFont_; // the previous one, still selected somewhere
    mutable std::optional<Font> fontHandleFor_;
    int pixelsPerInch_ = kDesignPixelsPerInch;
    bool scaling_ = false;
    std::optional<std::string> accessibleName_;
};

} // namespace rt::ui
#endif
