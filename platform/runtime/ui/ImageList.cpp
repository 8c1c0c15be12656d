#include "sharedrt/ui/ImageList.h"

#include "WindowDispatch.h"

#include "sharedrt/RtError.h"

namespace rt::ui {

ImageList::ImageList(const ImageListArgs& args)
    : Component(args.owner, args.name), width_(args.width), height_(args.height)
{
    WindowDispatch::InitCommonControlsOnce();
    list_.reset(ImageList_Create(width_, height_, ILC_COLOR24 | ILC_MASK, 4, 4));
    if (!list_)
        throw Error("无法创建图像列表。");
}

ImageList::~ImageList() = default;

int ImageList::Count() const noexcept { return ImageList_GetImageCount(list_.get()); }

int ImageList::Add(const Bitmap& strip)
{
    if (strip.Empty())
        throw Error("无法把空位图加入图像列表。");
    // Adding with a mask blackens the masked pixels of the source: use a copy.
    Bitmap copy(strip);
    const int index = ImageList_AddMasked(list_.get(), copy.Handle(), strip.TransparentColor());
    if (index < 0)
        throw Error("无法把位图加入图像列表。");
    return index;
}

void ImageList::Draw(HDC dc, int index, int x, int y, bool enabled) const
{
    ImageList_DrawEx(list_.get(), index, dc, x, y, 0, 0, CLR_NONE, CLR_DEFAULT,
                     ILD_TRANSPARENT | (enabled ? 0 : ILD_BLEND50));
}

} // namespace rt::ui
