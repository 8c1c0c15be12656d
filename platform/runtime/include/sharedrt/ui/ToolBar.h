#pragma once
// A tool bar (the common-controls tool bar) with buttons that show an image
// of an image list and a caption, to the right of the image in list style.
// Aligned to the top of its parent unless told otherwise. With auto size
// and at least one button, its height follows the button height.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/ui/WinControl.h"

#include <string>
#include <vector>

namespace rt::ui {

class ImageList;

struct ToolBarArgs {
    ControlArgs control; // align defaults to Top when left at None
    int buttonWidth = 23;
    int buttonHeight = 22;
    bool flat = true;
    bool list = false;      // captions to the right of the images
    bool edgeBorders = false;
    bool autoSize = false;
    ImageList* images = nullptr;
};

struct ToolButtonArgs {
    std::string caption;
    int imageIndex = -1;
    std::string hint;    // tool tip of the button (the bar's own hint when empty)
    NotifyEvent onClick; // sender: the tool bar
};

class SHAREDRT_API ToolBar : public WinControl {
public:
    explicit ToolBar(const ToolBarArgs& args);
    ~ToolBar() override;

    // Appends a button; returns its index.
    int AddButton(ToolButtonArgs button);
    int ButtonCount() const noexcept { return static_cast<int>(buttons_.size()); }
    // The button's rectangle in the tool bar's client area.
    RECT ButtonRect(int index) const;
    // The button at a client point, or -1.
    int ButtonAt(int x, int y) const;
    void SetButtonEnabled(int index, bool enabled);
    void SetImages(ImageList* images);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ScaleProperties(int to, int from) override;
    bool HandleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    std::string HintAt(int x, int y) const override;

private:
    void ApplyButtonSize();
    void AdjustHeight();

    struct Button {
        ToolButtonArgs args;
        int commandId;
    };
    std::vector<Button> buttons_;
    int buttonWidth_;
    int buttonHeight_;
    bool autoSizeBar_;
    int buttonUnderMouse_ = -1;
    ImageList* images_; // owned by the form
};

} // namespace rt::ui
#endif
