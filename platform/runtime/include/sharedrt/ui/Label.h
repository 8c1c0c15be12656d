#pragma once
// A text label. Transparent labels draw only their text over the parent's
// background. With auto size (the default) the label takes the size of its
// text, keeping its left and top. Assistive technology reads it as static
// text, or as a link when it is one (a tab stop then, whose default action
// is its click); in high-contrast mode it is drawn in the system's text
// (or link) colour.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/GraphicControl.h"

namespace rt::ui {

enum class TextAlignment { Left, Center, Right };

struct LabelArgs {
    ControlArgs control; // colour defaults to the parent's
    bool transparent = false;
    bool autoSize = true;
    bool wordWrap = false;
    TextAlignment alignment = TextAlignment::Left;
    bool link = false;
};

class SHAREDRT_API Label : public GraphicControl {
public:
    explicit Label(const LabelArgs& args);
    ~Label() override;

    bool Transparent() const noexcept { return transparent_; }
    void SetTransparent(bool transparent);
    bool AutoSize() const noexcept { return autoSize_; }
    void SetAutoSize(bool autoSize);

    bool IsLink() const noexcept { return link_; }

    void Paint(HDC dc) override;

    bool TabStop() const noexcept override { return link_; }
    long AccessibleRole() const noexcept override;
    std::string AccessibleDefaultAction() const override;

protected:
    Bounds AutoSizedBounds() const override;

private:
    UINT TextFormat() const noexcept;

    bool transparent_;
    bool wordWrap_;
    TextAlignment alignment_;
    bool link_;
};

} // namespace rt::ui
#endif
