#pragma once
// A device-independent bitmap (a picture of a control). Copies are deep.
//
// Transparent drawing leaves out every pixel of the bitmap's transparent
// colour: the colour of its bottom-left pixel. Two-cell pictures (buttons)
// are split into equal-width cells side by side.
#ifdef _WIN32
#include "sharedrt/Export.h"
#include "sharedrt/UniqueHandle.h"
#include "sharedrt/ui/Color.h"

#include <cstdint>
#include <string>

namespace rt::ui {

class SHAREDRT_API Bitmap {
public:
    Bitmap() = default;
    Bitmap(const Bitmap& other);
    Bitmap& operator=(const Bitmap& other);
    Bitmap(Bitmap&&) noexcept = default;
    Bitmap& operator=(Bitmap&&) noexcept = default;

    // A .bmp file (GBK path). Throws rt::Error naming the file when it is
    // missing or not a bitmap.
    static Bitmap FromFile(const std::string& path);
    // A bitmap resource of a module (`name`: text, or MAKEINTRESOURCEA of a
    // number). Throws rt::Error when the module has no such bitmap.
    static Bitmap FromResource(HMODULE module, const char* name);
    // A width x height bitmap filled with one colour.
    static Bitmap Filled(int width, int height, Color color);

    bool Empty() const noexcept { return !handle_; }
    int Width() const noexcept { return width_; }
    int Height() const noexcept { return height_; }
    HBITMAP Handle() const noexcept { return handle_.get(); }

    // RGB of a pixel (0x00BBGGRR); 0 outside the bitmap.
    std::uint32_t PixelAt(int x, int y) const noexcept;
    void SetPixel(int x, int y, Color color);
    // The colour left out by transparent drawing: the bottom-left pixel.
    std::uint32_t TransparentColor() const noexcept { return PixelAt(0, height_ - 1); }

    // Draws the source rectangle of the bitmap into the destination
    // rectangle (stretching when sizes differ), transparently or not.
    void Draw(HDC dc, const RECT& destination, const RECT& source, bool transparent) const;
    void Draw(HDC dc, int x, int y, bool transparent) const;
    void StretchDraw(HDC dc, const RECT& destination, bool transparent) const;
    // Cell `cell` of `cellCount` equal-width cells, at its own size.
    void DrawCell(HDC dc, int x, int y, int cell, int cellCount, bool transparent) const;

    // Writes a 24-bit .bmp file. Throws rt::IoError when it cannot.
    void SaveToFile(const std::string& path) const;

    // A copy of `width` x `height` pixels, each of `cells` equal-width
    // cells scaled on its own by averaging the area each new pixel covers
    // (smooth, for pictures of a design drawn at a higher DPI). With
    // `transparent`, the transparent colour's pixels become see-through
    // and the copy is drawn blended (its edges soft); whichever way it is
    // drawn. Throws rt::Error when the copy cannot be made.
    Bitmap Scaled(int width, int height, int cells, bool transparent) const;
    // Drawn blended by its own per-pixel alpha (a transparent Scaled copy).
    bool HasAlpha() const noexcept { return alpha_; }

private:
    explicit Bitmap(HBITMAP handle);

    unique_hbitmap handle_;
    bool alpha_ = false;
    int width_ = 0;
    int height_ = 0;
};

} // namespace rt::ui
#endif
