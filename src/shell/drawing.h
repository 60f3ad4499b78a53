// Drawing primitives the skin is made of: design units and DPI, a 32-bit
// DIB section with its own DC, a canvas that draws shapes in design units,
// smoothing by supersampling, alpha blending, fonts and text, and the
// window region cut from a picture. No artwork lives here (see skin.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "shell/owned_handle.h"

namespace cindral::shell {

// Converts the 96-DPI design units of the layout to device pixels.
struct Dpi {
    int dpi = 96;
    int operator()(int v) const { return MulDiv(v, dpi, 96); }
    RECT rect(int x, int y, int w, int h) const {
        return RECT{(*this)(x), (*this)(y), (*this)(x + w), (*this)(y + h)};
    }
};

// The DPI of the screen (the manifest makes the process DPI-aware).
Dpi screenDpi();

// Magenta: the colour outside a window's outline, in a DIB pixel and as a COLORREF.
constexpr std::uint32_t kTransparentPixel = 0x00FF00FF;
constexpr COLORREF kTransparentColor = RGB(255, 0, 255);

// A top-down 32-bit DIB section with its own memory DC.
class DibSection {
public:
    DibSection() = default;
    DibSection(int width, int height);
    ~DibSection();
    DibSection(DibSection&& other) noexcept;
    DibSection& operator=(DibSection&& other) noexcept;
    DibSection(const DibSection&) = delete;
    DibSection& operator=(const DibSection&) = delete;

    bool valid() const { return static_cast<bool>(bitmap_); }
    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bitmap_.get(); }
    std::uint32_t* pixels() const { return pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void fill(std::uint32_t pixel);
    // A copy of the part at (x, y) of the given size.
    DibSection crop(int x, int y, int width, int height) const;

private:
    void release();
    OwnedDc dc_;
    OwnedBitmap bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

using Pt = std::pair<double, double>;

// Drawing in design units (a 32-unit grid for icons, 96-DPI pixels for
// windows) onto a DC whose pixels are `scale` times finer. Shapes are
// filled with a vertical gradient (top == bottom: solid), then outlined
// with a round pen of `lw` units (0: no outline). A flat canvas draws
// gradients as their middle colour.
class Canvas {
public:
    Canvas(HDC dc, double scale, bool flat = false);
    int px(double v) const;
    bool flat() const { return flat_; }
    HDC dc() const { return dc_; }

    void rect(double l, double t, double r, double b, COLORREF c);
    void vgradient(double l, double t, double r, double b, COLORREF top, COLORREF bottom);
    void hgradient(double l, double t, double r, double b, COLORREF left, COLORREF right);
    void ellipse(double l, double t, double r, double b, COLORREF top, COLORREF bottom,
                 COLORREF line = 0, double lw = 0);
    void roundRect(double l, double t, double r, double b, double radius, COLORREF top,
                   COLORREF bottom, COLORREF line = 0, double lw = 0);
    void polygon(std::initializer_list<Pt> pts, COLORREF top, COLORREF bottom, COLORREF line = 0,
                 double lw = 0);
    void line(std::initializer_list<Pt> pts, COLORREF c, double lw);
    void arc(double l, double t, double r, double b, Pt from, Pt to, COLORREF c, double lw);

    static COLORREF mix(COLORREF a, COLORREF b);

private:
    void fillPath(const std::function<void()>& shape, double l, double t, double r, double b,
                  COLORREF top, COLORREF bottom);
    void stroke(COLORREF c, double lw, const std::function<void()>& shape);

    HDC dc_;
    double s_;
    bool flat_;
};

// Renders a drawing `factor` times larger on magenta and averages it down:
// the result is a smooth picture with an alpha channel (straight alpha, or
// premultiplied for AlphaBlend). `draw` gets the scale from `designUnits`
// to the enlarged pixels.
DibSection renderSmooth(int width, int height, int factor, bool premultiplied,
                        const std::function<void(HDC, double scale)>& draw, double designUnits);

// Blends a premultiplied picture onto a DC.
void alphaBlend(HDC dst, int x, int y, const DibSection& src);

// An icon from a straight-alpha picture.
OwnedIcon iconFromStraightAlpha(const DibSection& pic);

OwnedFont makeFont(const Dpi& dpi, int points, int weight, bool underline = false,
                   const char* face = "Tahoma");

// Text without prefix processing, transparent background.
void drawText(HDC dc, const std::string& s, RECT rc, HFONT font, COLORREF color, UINT format);
// The width in pixels of a single line of text.
int textWidth(HDC dc, const std::string& s, HFONT font);

// The window region cut from a picture (magenta transparent), built from
// row rectangles united in batches.
OwnedRegion regionFromPicture(const DibSection& picture);

}  // namespace cindral::shell
