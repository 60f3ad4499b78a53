#include "shell/drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/window_shape.h"

namespace cindral::shell {

namespace {

TRIVERTEX vertex(int x, int y, COLORREF c) {
    TRIVERTEX v;
    v.x = x;
    v.y = y;
    v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
    v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
    v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
    v.Alpha = 0;
    return v;
}

}  // namespace

Dpi screenDpi() {
    WindowDc screen(nullptr);
    Dpi d{GetDeviceCaps(screen.get(), LOGPIXELSX)};
    if (d.dpi < 96) d.dpi = 96;
    return d;
}

// ---------------------------------------------------------------------------

DibSection::DibSection(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!bitmap_ || !dc_) {
        release();
        return;
    }
    pixels_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    oldBitmap_ = SelectObject(dc_.get(), bitmap_.get());
}

DibSection::~DibSection() { release(); }

DibSection::DibSection(DibSection&& o) noexcept { *this = std::move(o); }

DibSection& DibSection::operator=(DibSection&& o) noexcept {
    if (this != &o) {
        release();
        dc_ = std::move(o.dc_);
        bitmap_ = std::move(o.bitmap_);
        oldBitmap_ = std::exchange(o.oldBitmap_, nullptr);
        pixels_ = std::exchange(o.pixels_, nullptr);
        width_ = std::exchange(o.width_, 0);
        height_ = std::exchange(o.height_, 0);
    }
    return *this;
}

void DibSection::release() {
    // The bitmap leaves the DC before either is freed.
    if (dc_ && oldBitmap_) SelectObject(dc_.get(), oldBitmap_);
    dc_.reset();
    bitmap_.reset();
    oldBitmap_ = nullptr;
    pixels_ = nullptr;
    width_ = height_ = 0;
}

void DibSection::fill(std::uint32_t pixel) {
    GdiFlush();
    std::fill(pixels_, pixels_ + static_cast<std::size_t>(width_) * height_, pixel);
}

DibSection DibSection::crop(int x, int y, int width, int height) const {
    DibSection part(width, height);
    if (part.valid()) {
        part.fill(kTransparentPixel);
        BitBlt(part.dc(), 0, 0, width, height, dc(), x, y, SRCCOPY);
        GdiFlush();
    }
    return part;
}

// ---------------------------------------------------------------------------

Canvas::Canvas(HDC dc, double scale, bool flat) : dc_(dc), s_(scale), flat_(flat) {
    SetPolyFillMode(dc_, WINDING);
    SetBkMode(dc_, TRANSPARENT);
}

int Canvas::px(double v) const { return static_cast<int>(std::lround(v * s_)); }

void Canvas::rect(double l, double t, double r, double b, COLORREF c) {
    RECT rc{px(l), px(t), px(r), px(b)};
    OwnedBrush br(CreateSolidBrush(c));
    FillRect(dc_, &rc, br.get());
}

void Canvas::vgradient(double l, double t, double r, double b, COLORREF top, COLORREF bottom) {
    if (flat_) {
        rect(l, t, r, b, mix(top, bottom));
        return;
    }
    TRIVERTEX v[2] = {vertex(px(l), px(t), top), vertex(px(r), px(b), bottom)};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc_, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
}

void Canvas::hgradient(double l, double t, double r, double b, COLORREF left, COLORREF right) {
    TRIVERTEX v[2] = {vertex(px(l), px(t), left), vertex(px(r), px(b), right)};
    GRADIENT_RECT g{0, 1};
    GradientFill(dc_, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
}

void Canvas::ellipse(double l, double t, double r, double b, COLORREF top, COLORREF bottom,
                     COLORREF line, double lw) {
    auto shape = [&] { Ellipse(dc_, px(l), px(t), px(r), px(b)); };
    fillPath(shape, l, t, r, b, top, bottom);
    if (lw > 0) stroke(line, lw, shape);
}

void Canvas::roundRect(double l, double t, double r, double b, double radius, COLORREF top,
                       COLORREF bottom, COLORREF line, double lw) {
    auto shape = [&] {
        RoundRect(dc_, px(l), px(t), px(r), px(b), px(radius * 2), px(radius * 2));
    };
    fillPath(shape, l, t, r, b, top, bottom);
    if (lw > 0) stroke(line, lw, shape);
}

void Canvas::polygon(std::initializer_list<Pt> pts, COLORREF top, COLORREF bottom, COLORREF line,
                     double lw) {
    std::vector<POINT> p;
    double t = 1e9, b = -1e9, l = 1e9, r = -1e9;
    for (const auto& q : pts) {
        p.push_back(POINT{px(q.first), px(q.second)});
        t = std::min(t, q.second);
        b = std::max(b, q.second);
        l = std::min(l, q.first);
        r = std::max(r, q.first);
    }
    auto shape = [&] { Polygon(dc_, p.data(), static_cast<int>(p.size())); };
    fillPath(shape, l, t, r, b, top, bottom);
    if (lw > 0) stroke(line, lw, shape);
}

void Canvas::line(std::initializer_list<Pt> pts, COLORREF c, double lw) {
    std::vector<POINT> p;
    for (const auto& q : pts) p.push_back(POINT{px(q.first), px(q.second)});
    stroke(c, lw, [&] { Polyline(dc_, p.data(), static_cast<int>(p.size())); });
}

void Canvas::arc(double l, double t, double r, double b, Pt from, Pt to, COLORREF c, double lw) {
    stroke(c, lw, [&] {
        Arc(dc_, px(l), px(t), px(r), px(b), px(from.first), px(from.second), px(to.first),
            px(to.second));
    });
}

COLORREF Canvas::mix(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
               (GetBValue(a) + GetBValue(b)) / 2);
}

void Canvas::fillPath(const std::function<void()>& shape, double l, double t, double r, double b,
                      COLORREF top, COLORREF bottom) {
    if (top == bottom || flat_) {
        OwnedBrush br(CreateSolidBrush(flat_ ? mix(top, bottom) : top));
        SelectedObject brush(dc_, br.get());
        SelectedObject pen(dc_, GetStockObject(NULL_PEN));
        shape();
        return;
    }
    SavedDc saved(dc_);
    BeginPath(dc_);
    shape();
    EndPath(dc_);
    SelectClipPath(dc_, RGN_AND);
    vgradient(l, t, r + 1, b + 1, top, bottom);
}

void Canvas::stroke(COLORREF c, double lw, const std::function<void()>& shape) {
    LOGBRUSH lb{BS_SOLID, c, 0};
    OwnedPen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                              std::max(1, px(lw)), &lb, 0, nullptr));
    SelectedObject selectedPen(dc_, pen.get());
    SelectedObject brush(dc_, GetStockObject(NULL_BRUSH));
    shape();
}

// ---------------------------------------------------------------------------

DibSection renderSmooth(int width, int height, int factor, bool premultiplied,
                        const std::function<void(HDC, double scale)>& draw, double designUnits) {
    DibSection big(width * factor, height * factor);
    DibSection out(width, height);
    if (!big.valid() || !out.valid()) return out;
    big.fill(kTransparentPixel);
    draw(big.dc(), width * factor / designUnits);
    GdiFlush();
    const int n = factor * factor;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned r = 0, g = 0, b = 0, count = 0;
            for (int sy = 0; sy < factor; ++sy) {
                const std::uint32_t* row =
                    big.pixels() + static_cast<std::size_t>(y * factor + sy) * big.width();
                for (int sx = 0; sx < factor; ++sx) {
                    std::uint32_t p = row[x * factor + sx] & 0x00FFFFFF;
                    if (p == kTransparentPixel) continue;
                    r += (p >> 16) & 0xFF;
                    g += (p >> 8) & 0xFF;
                    b += p & 0xFF;
                    ++count;
                }
            }
            std::uint32_t px = 0;
            if (count > 0) {
                unsigned a = count * 255 / n;
                unsigned div = premultiplied ? n : count;
                px = (a << 24) | ((r / div) << 16) | ((g / div) << 8) | (b / div);
            }
            out.pixels()[static_cast<std::size_t>(y) * width + x] = px;
        }
    }
    return out;
}

void alphaBlend(HDC dst, int x, int y, const DibSection& src) {
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dst, x, y, src.width(), src.height(), src.dc(), 0, 0, src.width(), src.height(), bf);
}

OwnedIcon iconFromStraightAlpha(const DibSection& pic) {
    // The mask is white where the picture is mostly transparent: systems
    // without alpha icons then draw the colour pixels through it.
    OwnedBitmap mask(CreateBitmap(pic.width(), pic.height(), 1, 1, nullptr));
    {
        OwnedDc mdc(CreateCompatibleDC(nullptr));
        SelectedObject selected(mdc.get(), mask.get());
        PatBlt(mdc.get(), 0, 0, pic.width(), pic.height(), BLACKNESS);
        for (int y = 0; y < pic.height(); ++y) {
            for (int x = 0; x < pic.width(); ++x) {
                if ((pic.pixels()[y * pic.width() + x] >> 24) < 128)
                    SetPixel(mdc.get(), x, y, RGB(255, 255, 255));
            }
        }
    }
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmColor = pic.bitmap();
    ii.hbmMask = mask.get();
    return OwnedIcon(CreateIconIndirect(&ii));
}

OwnedFont makeFont(const Dpi& dpi, int points, int weight, bool underline, const char* face) {
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(points, dpi.dpi, 72);
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return OwnedFont(CreateFontIndirectA(&lf));
}

void drawText(HDC dc, const std::string& s, RECT rc, HFONT font, COLORREF color, UINT format) {
    SelectedObject selected(dc, font);
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &rc, format | DT_NOPREFIX);
}

int textWidth(HDC dc, const std::string& s, HFONT font) {
    SelectedObject selected(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
    return size.cx;
}

OwnedRegion regionFromPicture(const DibSection& picture) {
    OwnedRegion total;
    if (!picture.valid()) return OwnedRegion(CreateRectRgn(0, 0, 0, 0));
    GdiFlush();
    app::WindowShape shape;
    shape.build(
        picture.pixels(), picture.width(), picture.height(), picture.width(),
        [&](const std::vector<app::ShapeRect>& batch) {
            std::vector<char> data(sizeof(RGNDATAHEADER) + batch.size() * sizeof(RECT));
            auto* rd = reinterpret_cast<RGNDATA*>(data.data());
            rd->rdh.dwSize = sizeof(RGNDATAHEADER);
            rd->rdh.iType = RDH_RECTANGLES;
            rd->rdh.nCount = static_cast<DWORD>(batch.size());
            rd->rdh.nRgnSize = static_cast<DWORD>(batch.size() * sizeof(RECT));
            rd->rdh.rcBound = RECT{0, 0, picture.width(), picture.height()};
            RECT* rects = reinterpret_cast<RECT*>(rd->Buffer);
            for (std::size_t i = 0; i < batch.size(); ++i) {
                rects[i] = RECT{batch[i].left, batch[i].top, batch[i].right, batch[i].bottom};
            }
            OwnedRegion part(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd));
            if (!part) return;
            if (!total) {
                total = std::move(part);
            } else {
                CombineRgn(total.get(), total.get(), part.get(), RGN_OR);
            }
        });
    return total ? std::move(total) : OwnedRegion(CreateRectRgn(0, 0, 0, 0));
}

}  // namespace cindral::shell
