#include "sharedrt/ui/Bitmap.h"

#include "sharedrt/RtError.h"
#include "sharedrt/ui/DcGuards.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace rt::ui {
namespace {

// A 32-bit top-down DIB section; `bits` receives its pixels (0x00RRGGBB).
HBITMAP CreateDib(int width, int height, std::uint32_t** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!bitmap)
        throw Error("无法创建位图。");
    *bits = static_cast<std::uint32_t*>(pixels);
    return bitmap;
}

// A DIB section holding the bitmap resource `name` of `module` as it is
// stored: same format, colour table and pixels. Null when the module has no
// such resource or it is not a plain uncompressed bitmap.
HBITMAP CopyResourceDib(HMODULE module, const char* name)
{
    HRSRC found = FindResourceA(module, name, reinterpret_cast<LPCSTR>(RT_BITMAP));
    if (!found)
        return nullptr;
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const std::uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD size = SizeofResource(module, found);
    if (!data || size < sizeof(BITMAPINFOHEADER))
        return nullptr;
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biCompression != BI_RGB || header.biPlanes != 1 ||
        header.biWidth <= 0 || header.biHeight == 0)
        return nullptr;
    const int bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return nullptr;
    std::size_t colours = 0;
    if (bits <= 8)
        colours = header.biClrUsed != 0 ? header.biClrUsed : (std::size_t{1} << bits);
    else
        colours = header.biClrUsed;
    const std::size_t width = static_cast<std::size_t>(header.biWidth);
    const std::size_t height = static_cast<std::size_t>(header.biHeight < 0 ? -static_cast<std::int64_t>(header.biHeight)
                                                                             : header.biHeight);
    const std::size_t stride = ((width * static_cast<std::size_t>(bits) + 31) / 32) * 4;
    const std::size_t offset = sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
    if (height > (size - std::min<std::size_t>(size, offset)) / stride || offset > size)
        return nullptr;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(data), DIB_RGB_COLORS, &pixels,
                                      nullptr, 0);
    if (!bitmap || !pixels) {
        if (bitmap)
            DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(pixels, data + offset, stride * height);
    return bitmap;
}

// A new DIB section with the format, colour table and pixels of the DIB
// section `source`; null when `source` is none or not a plain DIB section.
HBITMAP CopyDib(HBITMAP source)
{
    DIBSECTION dib{};
    if (GetObjectA(source, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits)
        return nullptr;
    if (dib.dsBmih.biCompression != BI_RGB || dib.dsBmih.biBitCount > 32)
        return nullptr;
    // The header with room for the largest colour table. The copy stores
    // its rows bottom-up whichever way the source does: GetDIBits turns them.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = dib.dsBm.bmWidth;
    info.header.biHeight = dib.dsBm.bmHeight;
    info.header.biPlanes = 1;
    info.header.biBitCount = dib.dsBmih.biBitCount;
    info.header.biCompression = BI_RGB;
    unique_hdc memory(CreateCompatibleDC(nullptr));
    if (!memory)
        return nullptr;
    if (info.header.biBitCount <= 8) {
        SelectGuard select(memory.get(), source);
        info.header.biClrUsed = GetDIBColorTable(memory.get(), 0, 256, info.colours);
    }
    void* pixels = nullptr;
    unique_hbitmap copy(
        CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!copy || !pixels)
        return nullptr;
    if (GetDIBits(memory.get(), source, 0, static_cast<UINT>(dib.dsBm.bmHeight), pixels,
                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != dib.dsBm.bmHeight)
        return nullptr;
    return copy.release();
}

std::string ResourceName(const char* name)
{
    if (IS_INTRESOURCE(name))
        return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
    return name;
}

} // namespace

Bitmap::Bitmap(HBITMAP handle) : handle_(handle)
{
    BITMAP info{};
    if (handle && GetObjectA(handle, sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
}

Bitmap::Bitmap(const Bitmap& other) : alpha_(other.alpha_), width_(other.width_), height_(other.height_)
{
    if (other.handle_) {
        handle_.reset(CopyDib(other.handle_.get()));
        if (!handle_)
            handle_.reset(static_cast<HBITMAP>(CopyImage(other.handle_.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!handle_)
            throw Error("无法复制位图。");
    }
}

Bitmap& Bitmap::operator=(const Bitmap& other)
{
    if (this != &other) {
        Bitmap copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Bitmap Bitmap::FromFile(const std::string& path)
{
    auto* handle = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (!handle)
        throw Error("无法读取位图文件：" + path);
    return Bitmap(handle);
}

Bitmap Bitmap::FromResource(HMODULE module, const char* name)
{
    // Uncompressed pictures are copied straight out of the mapped resource:
    // what LoadImageA makes of them, without its slow way there.
    if (HBITMAP copied = CopyResourceDib(module, name))
        return Bitmap(copied);
    auto* handle = static_cast<HBITMAP>(LoadImageA(module, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!handle)
        throw Error("无法读取位图资源：" + ResourceName(name));
    return Bitmap(handle);
}

Bitmap Bitmap::Filled(int width, int height, Color color)
{
    if (width <= 0 || height <= 0)
        throw Error("位图尺寸无效。");
    std::uint32_t* bits = nullptr;
    Bitmap bitmap(CreateDib(width, height, &bits));
    const std::uint32_t rgb = ResolveColor(color);
    const std::uint32_t pixel = ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    std::fill(bits, bits + static_cast<std::size_t>(width) * height, pixel);
    return bitmap;
}

std::uint32_t Bitmap::PixelAt(int x, int y) const noexcept
{
    if (!handle_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    unique_hdc memory(CreateCompatibleDC(nullptr));
    SelectGuard select(memory.get(), handle_.get());
    const COLORREF pixel = GetPixel(memory.get(), x, y);
    return pixel == CLR_INVALID ? 0 : pixel;
}

void Bitmap::SetPixel(int x, int y, Color color)
{
    if (!handle_)
        return;
    unique_hdc memory(CreateCompatibleDC(nullptr));
    SelectGuard select(memory.get(), handle_.get());
    ::SetPixel(memory.get(), x, y, ResolveColor(color));
}

void Bitmap::Draw(HDC dc, const RECT& destination, const RECT& source, bool transparent) const
{
    if (!handle_)
        return;
    const int dw = destination.right - destination.left, dh = destination.bottom - destination.top;
    const int sw = source.right - source.left, sh = source.bottom - source.top;
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    // Read before the bitmap is selected: it can sit in one DC only.
    const COLORREF key = transparent && !alpha_ ? TransparentColor() : 0;
    unique_hdc memory(CreateCompatibleDC(dc));
    SelectGuard select(memory.get(), handle_.get());
    if (alpha_) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, destination.left, destination.top, dw, dh, memory.get(), source.left, source.top, sw, sh,
                   blend);
    } else if (transparent) {
        TransparentBlt(dc, destination.left, destination.top, dw, dh, memory.get(), source.left, source.top, sw, sh,
                       key);
    } else if (dw == sw && dh == sh) {
        BitBlt(dc, destination.left, destination.top, dw, dh, memory.get(), source.left, source.top, SRCCOPY);
    } else {
        const int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, destination.left, destination.top, dw, dh, memory.get(), source.left, source.top, sw, sh,
                   SRCCOPY);
        SetStretchBltMode(dc, oldMode);
    }
}

void Bitmap::Draw(HDC dc, int x, int y, bool transparent) const
{
    Draw(dc, RECT{x, y, x + width_, y + height_}, RECT{0, 0, width_, height_}, transparent);
}

void Bitmap::StretchDraw(HDC dc, const RECT& destination, bool transparent) const
{
    Draw(dc, destination, RECT{0, 0, width_, height_}, transparent);
}

void Bitmap::DrawCell(HDC dc, int x, int y, int cell, int cellCount, bool transparent) const
{
    if (cellCount < 1)
        cellCount = 1;
    if (cell < 0 || cell >= cellCount)
        cell = 0;
    const int cellWidth = width_ / cellCount;
    Draw(dc, RECT{x, y, x + cellWidth, y + height_}, RECT{cell * cellWidth, 0, (cell + 1) * cellWidth, height_},
         transparent);
}

namespace {

// For one axis: which source pixels each new pixel covers, and how much.
struct Span {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Span> Spans(int from, int to)
{
    std::vector<Span> spans(static_cast<std::size_t>(to));
    const double step = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double begin = i * step, end = (i + 1) * step;
        Span& span = spans[static_cast<std::size_t>(i)];
        span.first = static_cast<int>(begin);
        for (int s = span.first; s < from && s < end; ++s)
            span.weights.push_back(std::min<double>(end, s + 1) - std::max<double>(begin, s));
    }
    return spans;
}

} // namespace

Bitmap Bitmap::Scaled(int width, int height, int cells, bool transparent) const
{
    if (!handle_ || width <= 0 || height <= 0)
        throw Error("位图尺寸无效。");
    if (cells < 1)
        cells = 1;
    // The source as 32-bit rows from the top (0x00RRGGBB).
    std::vector<std::uint32_t> source(static_cast<std::size_t>(width_) * height_);
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        WindowDc screen(nullptr);
        if (GetDIBits(screen.get(), handle_.get(), 0, static_cast<UINT>(height_), source.data(), &info,
                      DIB_RGB_COLORS) != height_)
            throw Error("无法读取位图数据。");
    }
    const COLORREF keyRef = TransparentColor();
    const std::uint32_t key = (GetRValue(keyRef) << 16) | (GetGValue(keyRef) << 8) | GetBValue(keyRef);
    const int sourceCell = width_ / cells;
    const int cell = width / cells;
    std::uint32_t* bits = nullptr;
    Bitmap scaled(CreateDib(cell * cells, height, &bits));
    const std::vector<Span> columns = Spans(sourceCell, cell);
    const std::vector<Span> rows = Spans(height_, height);
    for (int y = 0; y < height; ++y) {
        const Span& row = rows[static_cast<std::size_t>(y)];
        for (int c = 0; c < cells; ++c) {
            for (int x = 0; x < cell; ++x) {
                const Span& column = columns[static_cast<std::size_t>(x)];
                double red = 0, green = 0, blue = 0, alpha = 0, total = 0;
                for (std::size_t j = 0; j < row.weights.size(); ++j) {
                    const std::uint32_t* line = source.data() + static_cast<std::size_t>(row.first + j) * width_ +
                                                c * sourceCell;
                    for (std::size_t i = 0; i < column.weights.size(); ++i) {
                        const double weight = row.weights[j] * column.weights[i];
                        const std::uint32_t pixel = line[column.first + static_cast<int>(i)] & 0x00FFFFFFu;
                        const double opacity = transparent && pixel == key ? 0.0 : 1.0;
                        red += weight * opacity * (pixel >> 16 & 0xFF);
                        green += weight * opacity * (pixel >> 8 & 0xFF);
                        blue += weight * opacity * (pixel & 0xFF);
                        alpha += weight * opacity;
                        total += weight;
                    }
                }
                // Premultiplied, as a blended drawing takes it.
                auto channel = [&](double sum) { return static_cast<std::uint32_t>(sum / total + 0.5) & 0xFF; };
                const std::uint32_t a = static_cast<std::uint32_t>(255.0 * alpha / total + 0.5) & 0xFF;
                bits[static_cast<std::size_t>(y) * cell * cells + c * cell + x] =
                    (a << 24) | (channel(red) << 16) | (channel(green) << 8) | channel(blue);
            }
        }
    }
    GdiFlush();
    scaled.alpha_ = transparent;
    return scaled;
}

void Bitmap::SaveToFile(const std::string& path) const
{
    if (!handle_)
        throw Error("位图为空，无法保存：" + path);
    const int stride = (width_ * 3 + 3) & ~3;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = height_; // bottom-up, as .bmp files usually are
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(stride) * height_;
    std::vector<char> pixels(info.bmiHeader.biSizeImage);
    {
        WindowDc screen(nullptr);
        if (!GetDIBits(screen.get(), handle_.get(), 0, height_, pixels.data(), &info, DIB_RGB_COLORS))
            throw Error("无法读取位图数据。");
    }
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = file.bfOffBits + info.bmiHeader.biSizeImage;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(BITMAPINFOHEADER));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    out.close();
    if (!out)
        throw IoError("无法写入文件：" + path);
}

} // namespace rt::ui
