#include "sharedrt/ui/Control.h"

#include "sharedrt/ui/Form.h"
#include "sharedrt/ui/WinControl.h"

#include <oleacc.h>

namespace rt::ui {

Control::Control(const ControlArgs& args)
    : Component(args.owner, args.name),
      bounds_(args.bounds),
      align_(args.align),
      anchors_(args.anchors),
      visible_(args.visible),
      enabled_(args.enabled),
      caption_(args.caption),
      hint_(args.hint),
      ownFont_(args.font),
      color_(args.color.value_or(kColorBtnFace)),
      parentColor_(!args.color),
      cursor_(args.cursor.value_or(Cursor::Default))
{
    if (args.parent) {
        parent_ = args.parent;
        RecordAnchorDistances();
        parent_->InsertChild(this);
    }
}

Control::~Control()
{
    if (Form* form = ParentForm(); form && form != this)
        form->ControlRemoved(*this);
    if (parent_) {
        Invalidate();
        parent_->RemoveChild(this);
        parent_ = nullptr;
    }
}

ControlArgs Control::KindDefaults(ControlArgs args, std::optional<Color> color, std::optional<Cursor> cursor)
{
    if (!args.color && color)
        args.color = color;
    if (!args.cursor && cursor)
        args.cursor = cursor;
    return args;
}

void Control::SetParent(WinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent_) {
        Invalidate();
        parent_->RemoveChild(this);
    }
    parent_ = parent;
    if (parent_) {
        RecordAnchorDistances();
        parent_->InsertChild(this);
        Invalidate();
    }
    NotifyFontChanged();
    NotifyColorChanged();
}

Form* Control::ParentForm() const noexcept
{
    for (const Control* c = this; c; c = c->parent_)
        if (auto* form = dynamic_cast<const Form*>(c))
            return const_cast<Form*>(form);
    return nullptr;
}

void Control::SetBounds(const Bounds& bounds) { ApplyBounds(bounds, true); }
void Control::SetLeft(int left) { SetBounds({left, bounds_.top, bounds_.width, bounds_.height}); }
void Control::SetTop(int top) { SetBounds({bounds_.left, top, bounds_.width, bounds_.height}); }
void Control::SetWidth(int width) { SetBounds({bounds_.left, bounds_.top, width, bounds_.height}); }
void Control::SetHeight(int height) { SetBounds({bounds_.left, bounds_.top, bounds_.width, height}); }
void Control::SetBoundsFromLayout(const Bounds& bounds) { ApplyBounds(bounds, false); }

void Control::ApplyBounds(const Bounds& bounds, bool recordAnchors)
{
    const Bounds old = bounds_;
    bounds_ = bounds;
    if (bounds_ != old) {
        BoundsChanged(old);
        if (parent_)
            parent_->ContentChanged();
    }
    if (recordAnchors) {
        RecordAnchorDistances();
        // An aligned control that changes size moves its neighbours.
        if (parent_ && align_ != Align::None && bounds_ != old)
            parent_->Realign();
    }
}

void Control::RecordAnchorDistances() noexcept
{
    if (!parent_)
        return;
    rightDistance_ = parent_->ClientWidth() - bounds_.Right();
    bottomDistance_ = parent_->ClientHeight() - bounds_.Bottom();
}

Bounds Control::ScreenBounds() const noexcept
{
    if (!parent_ || !parent_->Handle())
        return bounds_;
    POINT origin{0, 0};
    ClientToScreen(parent_->Handle(), &origin);
    const POINT scroll = parent_->ScrollPosition();
    return {origin.x + bounds_.left - scroll.x, origin.y + bounds_.top - scroll.y, bounds_.width, bounds_.height};
}

void Control::SetAlign(Align align)
{
    if (align == align_)
        return;
    align_ = align;
    if (parent_)
        parent_->Realign();
}

void Control::SetAnchors(Anchors anchors)
{
    anchors_ = anchors;
    RecordAnchorDistances();
}

void Control::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    VisibleChanged();
    if (parent_ && align_ != Align::None)
        parent_->Realign();
    if (parent_) {
        parent_->ContentChanged();
        // The children that assistive technology sees are the visible ones.
        if (AccessibleRole() != 0)
            parent_->NotifyAccessible(EVENT_OBJECT_REORDER, nullptr);
    }
}

void Control::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    EnabledChanged();
}

void Control::SetCaption(std::string caption)
{
    if (caption == caption_)
        return;
    caption_ = std::move(caption);
    CaptionChanged();
}

Font Control::GetFont() const
{
    if (ownFont_)
        return *ownFont_;
    if (parent_)
        return parent_->GetFont();
    return Font{};
}

void Control::SetFont(const Font& font)
{
    ownFont_ = font;
    NotifyFontChanged();
}

void Control::SetParentFont(bool parentFont)
{
    if (parentFont == ParentFont())
        return;
    if (parentFont)
        ownFont_.reset();
    else
        ownFont_ = GetFont();
    NotifyFontChanged();
}

Color Control::GetColor() const noexcept
{
    if (parentColor_ && parent_)
        return parent_->GetColor();
    return color_;
}

void Control::SetColor(Color color)
{
    color_ = color;
    parentColor_ = false;
    NotifyColorChanged();
}

void Control::NotifyFontChanged()
{
    FontChanged();
    if (auto* self = dynamic_cast<WinControl*>(this))
        for (Control* child : self->Controls())
            if (child->ParentFont())
                child->NotifyFontChanged();
}

void Control::NotifyColorChanged()
{
    ColorChanged();
    if (auto* self = dynamic_cast<WinControl*>(this))
        for (Control* child : self->Controls())
            if (child->ParentColor())
                child->NotifyColorChanged();
}

HFONT Control::FontHandle() const
{
    Font font = GetFont();
    if (!fontHandle_ || !fontHandleFor_ || !(*fontHandleFor_ == font)) {
        unique_hfont next = CreateFontHandle(font);
        retiredFont_ = std::move(fontHandle_);
        fontHandle_ = std::move(next);
        fontHandleFor_ = std::move(font);
    }
    return fontHandle_.get();
}

void Control::AdjustSize()
{
    if (autoSize_)
        ApplyBounds(AutoSizedBounds(), !scaling_);
}

void Control::Invalidate() noexcept
{
    if (!parent_ || !parent_->Handle())
        return;
    const POINT scroll = parent_->ScrollPosition();
    RECT r{bounds_.left, bounds_.top, bounds_.Right(), bounds_.Bottom()};
    OffsetRect(&r, -scroll.x, -scroll.y);
    InvalidateRect(parent_->Handle(), &r, FALSE);
}

void Control::Click() { RunEvent(OnClick, *this); }

int Control::Scaled(int designPixels) const noexcept
{
    return MulDiv(designPixels, pixelsPerInch_, kDesignPixelsPerInch);
}

void Control::ScaleProperties(int to, int from)
{
    pixelsPerInch_ = to;
    if (ownFont_)
        ownFont_->height = MulDiv(ownFont_->height, to, from);
    rightDistance_ = MulDiv(rightDistance_, to, from);
    bottomDistance_ = MulDiv(bottomDistance_, to, from);
}

Bounds Control::ScaledBounds(int to, int from) const noexcept
{
    return {MulDiv(bounds_.left, to, from), MulDiv(bounds_.top, to, from), MulDiv(bounds_.width, to, from),
            MulDiv(bounds_.height, to, from)};
}

void Control::ChangeScale(int to, int from)
{
    if (to <= 0 || from <= 0 || to == from)
        return;
    ScaleProperties(to, from);
    ApplyBounds(ScaledBounds(to, from), false);
    // An auto-sized control takes its new size without new anchor
    // distances: its parent is not scaled yet; the scaled ones hold.
    scaling_ = true;
    FontChanged();
    scaling_ = false;
}

std::string Control::AccessibleName() const
{
    if (accessibleName_)
        return *accessibleName_;
    // A blank byte is never part of a double-byte character.
    std::string name;
    bool blank = false;
    for (char c : caption_) {
        if (c == ' ') {
            blank = true;
            continue;
        }
        if (blank && !name.empty())
            name += ' ';
        blank = false;
        name += c;
    }
    return name;
}

void Control::SetAccessibleName(std::string name)
{
    accessibleName_ = std::move(name);
    if (parent_)
        parent_->NotifyAccessible(EVENT_OBJECT_NAMECHANGE, this);
}

RECT Control::FocusRect() const noexcept
{
    return RECT{bounds_.left - 1, bounds_.top - 1, bounds_.Right() + 1, bounds_.Bottom() + 1};
}

void Control::MouseEnter() { hot_ = true; }
void Control::MouseLeave() { hot_ = false; }
void Control::MouseDown(int, int) {}
void Control::MouseUp(int, int) {}

void Control::BoundsChanged(const Bounds& old)
{
    if (parent_ && parent_->Handle()) {
        const POINT scroll = parent_->ScrollPosition();
        RECT r{old.left, old.top, old.Right(), old.Bottom()};
        OffsetRect(&r, -scroll.x, -scroll.y);
        InvalidateRect(parent_->Handle(), &r, FALSE);
    }
    Invalidate();
}

void Control::VisibleChanged()
{
    Invalidate();
    if (!visible_ && parent_ && parent_->HotControl() == this)
        parent_->SetHot(nullptr);
}

void Control::EnabledChanged()
{
    Invalidate();
    if (!enabled_ && parent_ && parent_->HotControl() == this)
        parent_->SetHot(nullptr);
    if (parent_)
        parent_->NotifyAccessible(EVENT_OBJECT_STATECHANGE, this);
}

void Control::CaptionChanged()
{
    AdjustSize();
    Invalidate();
    if (parent_ && !accessibleName_)
        parent_->NotifyAccessible(EVENT_OBJECT_NAMECHANGE, this);
}

void Control::FontChanged()
{
    AdjustSize();
    Invalidate();
}

void Control::ColorChanged() { Invalidate(); }

} // namespace rt::ui
