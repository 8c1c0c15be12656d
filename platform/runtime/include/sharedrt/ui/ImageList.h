#pragma once
// A list of equally sized images (24 x 24 unless told otherwise), for tool
// bars. A component without a window; owned like any other.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/UniqueHandle.h"
#include "sharedrt/ui/Bitmap.h"
#include "sharedrt/ui/Component.h"

#include <string>

namespace rt::ui {

struct ImageListArgs {
    Component* owner = nullptr;
    std::string name;
    int width = 24;
    int height = 24;
};

class SHAREDRT_API ImageList : public Component {
public:
    explicit ImageList(const ImageListArgs& args);
    ~ImageList() override;

    int ImageWidth() const noexcept { return width_; }
    int ImageHeight() const noexcept { return height_; }
    int Count() const noexcept;
    HIMAGELIST Handle() const noexcept { return list_.get(); }

    // Adds the images of `strip` (one or more images side by side); pixels
    // of the strip's transparent colour are left out. Returns the index of
    // the first one. Throws rt::Error when the list refuses the bitmap.
    int Add(const Bitmap& strip);
    void Draw(HDC dc, int index, int x, int y, bool enabled = true) const;

private:
    int width_;
    int height_;
    unique_himagelist list_;
};

} // namespace rt::ui
#endif
