#include "shell/skin.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "app/window_shape.h"

namespace cindral::shell {

namespace {

constexpr std::uint32_t kKey = 0x00FF00FF;  // magenta in a DIB pixel
constexpr COLORREF kKeyRef = RGB(255, 0, 255);

using Pt = std::pair<double, double>;

// Drawing in design units (a 32-unit grid for icons, 96-DPI pixels for
// windows) onto a DC whose pixels are `scale` times finer.
class Canvas {
public:
    Canvas(HDC dc, double scale, bool flat = false) : dc_(dc), s_(scale), flat_(flat) {
        SetPolyFillMode(dc_, WINDING);
        SetBkMode(dc_, TRANSPARENT);
    }
    int px(double v) const { return static_cast<int>(std::lround(v * s_)); }
    bool flat() const { return flat_; }
    HDC dc() const { return dc_; }

    void rect(double l, double t, double r, double b, COLORREF c) {
        RECT rc{px(l), px(t), px(r), px(b)};
        HBRUSH br = CreateSolidBrush(c);
        FillRect(dc_, &rc, br);
        DeleteObject(br);
    }
    void vgradient(double l, double t, double r, double b, COLORREF top, COLORREF bottom) {
        if (flat_) {
            rect(l, t, r, b, mix(top, bottom));
            return;
        }
        TRIVERTEX v[2] = {vertex(px(l), px(t), top), vertex(px(r), px(b), bottom)};
        GRADIENT_RECT g{0, 1};
        GradientFill(dc_, v, 2, &g, 1, GRADIENT_FILL_RECT_V);
    }
    void hgradient(double l, double t, double r, double b, COLORREF left, COLORREF right) {
        TRIVERTEX v[2] = {vertex(px(l), px(t), left), vertex(px(r), px(b), right)};
        GRADIENT_RECT g{0, 1};
        GradientFill(dc_, v, 2, &g, 1, GRADIENT_FILL_RECT_H);
    }

    // Shapes: filled with a vertical gradient (top == bottom: solid), then
    // outlined with a round pen of `lw` units (0: no outline).
    void ellipse(double l, double t, double r, double b, COLORREF top, COLORREF bottom,
                 COLORREF line = 0, double lw = 0) {
        fillPath([&] { Ellipse(dc_, px(l), px(t), px(r), px(b)); }, l, t, r, b, top, bottom);
        if (lw > 0) stroke(line, lw, [&] { Ellipse(dc_, px(l), px(t), px(r), px(b)); });
    }
    void roundRect(double l, double t, double r, double b, double radius, COLORREF top,
                   COLORREF bottom, COLORREF line = 0, double lw = 0) {
        auto shape = [&] {
            RoundRect(dc_, px(l), px(t), px(r), px(b), px(radius * 2), px(radius * 2));
        };
        fillPath(shape, l, t, r, b, top, bottom);
        if (lw > 0) stroke(line, lw, shape);
    }
    void polygon(std::initializer_list<Pt> pts, COLORREF top, COLORREF bottom, COLORREF line = 0,
                 double lw = 0) {
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
    void line(std::initializer_list<Pt> pts, COLORREF c, double lw) {
        std::vector<POINT> p;
        for (const auto& q : pts) p.push_back(POINT{px(q.first), px(q.second)});
        stroke(c, lw, [&] { Polyline(dc_, p.data(), static_cast<int>(p.size())); });
    }
    void arc(double l, double t, double r, double b, Pt from, Pt to, COLORREF c, double lw) {
        stroke(c, lw, [&] {
            Arc(dc_, px(l), px(t), px(r), px(b), px(from.first), px(from.second), px(to.first),
                px(to.second));
        });
    }

    static COLORREF mix(COLORREF a, COLORREF b) {
        return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2,
                   (GetBValue(a) + GetBValue(b)) / 2);
    }

private:
    static TRIVERTEX vertex(int x, int y, COLORREF c) {
        TRIVERTEX v;
        v.x = x;
        v.y = y;
        v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
        v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
        v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
        v.Alpha = 0;
        return v;
    }
    template <typename Shape>
    void fillPath(Shape shape, double l, double t, double r, double b, COLORREF top,
                  COLORREF bottom) {
        if (top == bottom || flat_) {
            HBRUSH br = CreateSolidBrush(flat_ ? mix(top, bottom) : top);
            HGDIOBJ ob = SelectObject(dc_, br);
            HGDIOBJ op = SelectObject(dc_, GetStockObject(NULL_PEN));
            shape();
            SelectObject(dc_, op);
            SelectObject(dc_, ob);
            DeleteObject(br);
            return;
        }
        SaveDC(dc_);
        BeginPath(dc_);
        shape();
        EndPath(dc_);
        SelectClipPath(dc_, RGN_AND);
        vgradient(l, t, r + 1, b + 1, top, bottom);
        RestoreDC(dc_, -1);
    }
    template <typename Shape>
    void stroke(COLORREF c, double lw, Shape shape) {
        LOGBRUSH lb{BS_SOLID, c, 0};
        HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                                std::max(1, px(lw)), &lb, 0, nullptr);
        HGDIOBJ op = SelectObject(dc_, pen);
        HGDIOBJ ob = SelectObject(dc_, GetStockObject(NULL_BRUSH));
        shape();
        SelectObject(dc_, ob);
        SelectObject(dc_, op);
        DeleteObject(pen);
    }

    HDC dc_;
    double s_;
    bool flat_;
};

// Renders a drawing `factor` times larger on magenta and averages it down:
// the result is a smooth picture with an alpha channel (straight alpha, or
// premultiplied for AlphaBlend).
DibSection renderSmooth(int width, int height, int factor, bool premultiplied,
                        const std::function<void(HDC, double scale)>& draw, double designUnits) {
    DibSection big(width * factor, height * factor);
    DibSection out(width, height);
    if (!big.valid() || !out.valid()) return out;
    big.fill(kKey);
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
                    if (p == kKey) continue;
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

HICON iconFromStraightAlpha(const DibSection& pic) {
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmColor = pic.bitmap();
    ii.hbmMask = CreateBitmap(pic.width(), pic.height(), 1, 1, nullptr);
    // An all-zero mask: the alpha channel decides; where alpha is absent
    // (old systems) the colour pixels are drawn as they are.
    HDC mdc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mdc, ii.hbmMask);
    PatBlt(mdc, 0, 0, pic.width(), pic.height(), BLACKNESS);
    for (int y = 0; y < pic.height(); ++y) {
        for (int x = 0; x < pic.width(); ++x) {
            if ((pic.pixels()[y * pic.width() + x] >> 24) < 128)
                SetPixel(mdc, x, y, RGB(255, 255, 255));
        }
    }
    SelectObject(mdc, old);
    DeleteDC(mdc);
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(ii.hbmMask);
    return icon;
}

// ---------------------------------------------------------------------------
// The emblem: a shield with a bright sweep and a spark, on a 32-unit grid.

void drawEmblemShape(Canvas& c) {
    c.polygon({{16, 1.5},
               {28.5, 5.5},
               {28.5, 15},
               {26.5, 21},
               {22, 26.5},
               {16, 30.5},
               {10, 26.5},
               {5.5, 21},
               {3.5, 15},
               {3.5, 5.5}},
              RGB(72, 150, 232), RGB(22, 70, 146), RGB(14, 46, 98), 1.3);
    // Inner highlight of the shield's upper half.
    c.polygon({{16, 4}, {26, 7.2}, {26, 12}, {6, 12}, {6, 7.2}}, RGB(140, 196, 250),
              RGB(82, 156, 232));
    c.arc(9, 9.5, 23, 23.5, {23, 11.5}, {23, 21.5}, RGB(255, 255, 255), 3.2);
    c.polygon({{23.5, 4.5},
               {24.6, 7.9},
               {28, 9},
               {24.6, 10.1},
               {23.5, 13.5},
               {22.4, 10.1},
               {19, 9},
               {22.4, 7.9}},
              RGB(255, 236, 140), RGB(255, 196, 40));
}

// ---------------------------------------------------------------------------
// Item icons, on a 32-unit grid.

void cube(Canvas& c, double x, double y, double s) {
    // An isometric cube whose top corner is at (x, y).
    const double h = s * 0.5;
    c.polygon({{x, y}, {x + s, y + h}, {x, y + 2 * h}, {x - s, y + h}}, RGB(170, 214, 255),
              RGB(120, 180, 244), RGB(26, 70, 130), 0.9);
    c.polygon({{x - s, y + h}, {x, y + 2 * h}, {x, y + 2 * h + s}, {x - s, y + h + s}},
              RGB(70, 140, 222), RGB(46, 108, 196), RGB(26, 70, 130), 0.9);
    c.polygon({{x, y + 2 * h}, {x + s, y + h}, {x + s, y + h + s}, {x, y + 2 * h + s}},
              RGB(40, 96, 176), RGB(28, 74, 146), RGB(26, 70, 130), 0.9);
}

void drawItemIcon(Canvas& c, int index) {
    const COLORREF white = RGB(255, 255, 255);
    switch (index) {
        case 0: {  // Internet Explorer: the web globe
            c.ellipse(3, 3, 29, 29, RGB(120, 200, 250), RGB(24, 104, 196), RGB(18, 70, 140), 1.4);
            c.ellipse(10, 3.5, 22, 28.5, RGB(96, 180, 244), RGB(30, 112, 204), RGB(230, 244, 255),
                      1.1);
            c.line({{4, 16}, {28, 16}}, RGB(230, 244, 255), 1.1);
            c.line({{6, 10}, {26, 10}}, RGB(230, 244, 255), 1.0);
            c.line({{6, 22}, {26, 22}}, RGB(230, 244, 255), 1.0);
            c.line({{16, 3.5}, {16, 28.5}}, RGB(230, 244, 255), 1.1);
            c.arc(1, 8, 31, 24, {31, 12}, {1, 20}, RGB(255, 196, 48), 2.0);
            break;
        }
        case 1: {  // Windows: a system window
            c.roundRect(2.5, 4.5, 29.5, 27.5, 2.5, RGB(250, 252, 255), RGB(222, 232, 244),
                        RGB(40, 70, 120), 1.3);
            c.roundRect(3.2, 5.2, 28.8, 11.5, 1.8, RGB(92, 156, 236), RGB(34, 96, 186));
            c.rect(25, 7, 27.5, 9.5, white);
            c.rect(6, 15, 18, 16.5, RGB(150, 166, 188));
            c.rect(6, 19, 24, 20.5, RGB(150, 166, 188));
            c.rect(6, 23, 15, 24.5, RGB(150, 166, 188));
            break;
        }
        case 2: {  // Recycle bin
            c.polygon({{7, 10}, {25, 10}, {23, 29}, {9, 29}}, RGB(186, 226, 180), RGB(78, 150, 72),
                      RGB(40, 96, 38), 1.3);
            c.line({{12.5, 13.5}, {13, 26}}, RGB(236, 250, 234), 1.3);
            c.line({{16, 13.5}, {16, 26}}, RGB(236, 250, 234), 1.3);
            c.line({{19.5, 13.5}, {19, 26}}, RGB(236, 250, 234), 1.3);
            c.roundRect(4.5, 6.5, 27.5, 10.5, 1.5, RGB(132, 200, 124), RGB(70, 140, 64),
                        RGB(40, 96, 38), 1.2);
            c.roundRect(12.5, 3.5, 19.5, 7, 1.2, RGB(132, 200, 124), RGB(70, 140, 64),
                        RGB(40, 96, 38), 1.2);
            break;
        }
        case 3: {  // Plug-in: a puzzle piece, outlined once around the union
            const COLORREF edge = RGB(36, 100, 26);
            c.rect(5.2, 9.2, 24.8, 28.8, edge);
            c.ellipse(11.2, 3.2, 18.8, 10.8, edge, edge);
            c.ellipse(21.2, 14.2, 28.8, 21.8, edge, edge);
            c.rect(6.5, 10.5, 23.5, 27.5, RGB(130, 206, 92));
            c.ellipse(12.5, 4.5, 17.5, 9.5, RGB(150, 220, 110), RGB(150, 220, 110));
            c.ellipse(22.5, 15.5, 27.5, 20.5, RGB(118, 196, 80), RGB(118, 196, 80));
            c.rect(13, 9, 17, 12, RGB(140, 212, 100));
            c.rect(22, 16, 24.5, 20, RGB(118, 196, 80));
            if (!c.flat()) c.vgradient(6.5, 21, 23.5, 27.5, RGB(104, 184, 70), RGB(70, 150, 44));
            break;
        }
        case 4: {  // In progress: an hourglass
            const COLORREF wood = RGB(138, 88, 40);
            c.polygon({{8, 5}, {24, 5}, {17.5, 16}, {24, 27}, {8, 27}, {14.5, 16}},
                      RGB(236, 246, 255), RGB(200, 222, 242), RGB(80, 110, 150), 1.1);
            c.polygon({{11, 8}, {21, 8}, {16, 14.5}}, RGB(255, 214, 96), RGB(238, 168, 30));
            c.polygon({{16, 18.5}, {22, 25.5}, {10, 25.5}}, RGB(255, 214, 96), RGB(228, 150, 20));
            c.line({{16, 15}, {16, 20}}, RGB(238, 168, 30), 0.8);
            c.roundRect(5.5, 2.5, 26.5, 5.8, 1.2, RGB(186, 128, 70), wood, RGB(96, 58, 24), 0.8);
            c.roundRect(5.5, 26.2, 26.5, 29.5, 1.2, RGB(186, 128, 70), wood, RGB(96, 58, 24), 0.8);
            break;
        }
        case 5: {  // Netscape: a compass
            c.ellipse(3, 3, 29, 29, RGB(96, 214, 220), RGB(18, 120, 136), RGB(12, 84, 96), 1.4);
            c.ellipse(6.5, 6.5, 25.5, 25.5, RGB(236, 252, 252), RGB(200, 236, 240), RGB(12, 84, 96),
                      0.8);
            c.polygon({{16, 7}, {19, 16}, {13, 16}}, RGB(240, 90, 70), RGB(200, 40, 30));
            c.polygon({{16, 25}, {19, 16}, {13, 16}}, RGB(120, 140, 160), RGB(70, 90, 110));
            c.ellipse(14.6, 14.6, 17.4, 17.4, white, white);
            break;
        }
        case 6: {  // Opera: a red ring
            c.ellipse(3, 3, 29, 29, RGB(255, 110, 96), RGB(190, 24, 24), RGB(130, 14, 14), 1.4);
            c.ellipse(10.5, 6.5, 21.5, 25.5, kKeyRef, kKeyRef);
            c.ellipse(10.5, 6.5, 21.5, 25.5, kKeyRef, kKeyRef, RGB(130, 14, 14), 1.0);
            break;
        }
        case 7: {  // AOL: a badge with a triangle
            c.ellipse(3, 3, 29, 29, RGB(86, 132, 232), RGB(24, 56, 140), RGB(16, 38, 98), 1.4);
            c.polygon({{16, 7.5}, {24.5, 23.5}, {7.5, 23.5}}, RGB(255, 230, 110), RGB(244, 178, 20),
                      RGB(150, 100, 10), 0.9);
            c.ellipse(14, 14, 18, 18, RGB(24, 56, 140), RGB(24, 56, 140));
            break;
        }
        case 8: {  // Drive scan: a drive under a magnifier
            c.roundRect(2, 14.5, 25, 27.5, 2, RGB(236, 240, 246), RGB(150, 160, 176),
                        RGB(70, 80, 96), 1.2);
            c.rect(5, 23, 15, 24.2, RGB(110, 120, 136));
            c.rect(19, 22, 22, 24.5, RGB(60, 210, 110));
            c.line({{17, 14.5}, {12.5, 19.5}}, RGB(96, 62, 30), 3.0);
            c.ellipse(14, 2.5, 28.5, 17, RGB(228, 244, 255), RGB(168, 212, 246), RGB(40, 70, 120),
                      2.0);
            c.arc(16.5, 5, 26, 14.5, {19, 6}, {17, 10}, white, 1.2);
            break;
        }
        case 9: {  // Custom registry: three cubes
            cube(c, 10, 13.5, 7);
            cube(c, 22, 13.5, 7);
            cube(c, 16, 3, 7);
            break;
        }
        case 10: {  // Custom folder
            c.polygon({{3, 7.5}, {12, 7.5}, {14.5, 10.5}, {28, 10.5}, {28, 26.5}, {3, 26.5}},
                      RGB(240, 196, 80), RGB(200, 140, 20), RGB(150, 100, 10), 1.2);
            c.polygon({{3, 26.5}, {6.5, 14.5}, {30.5, 14.5}, {27, 26.5}}, RGB(255, 232, 150),
                      RGB(246, 186, 60), RGB(150, 100, 10), 1.2);
            break;
        }
        case 11: {  // Done: a check mark
            c.ellipse(3, 3, 29, 29, RGB(120, 220, 110), RGB(24, 146, 48), RGB(16, 104, 36), 1.4);
            c.line({{9.5, 16.5}, {14, 21}, {22.5, 11}}, white, 3.4);
            break;
        }
        default:
            break;
    }
}

void drawTitleGlyph(Canvas& c, TitleGlyph glyph, bool pressed) {
    // 16-unit grid.
    const COLORREF top = pressed ? RGB(30, 70, 120) : RGB(100, 152, 210);
    const COLORREF bottom = pressed ? RGB(50, 96, 152) : RGB(44, 92, 150);
    if (glyph == TitleGlyph::Close) {
        c.roundRect(0.5, 0.5, 15.5, 15.5, 3, pressed ? RGB(150, 30, 30) : RGB(236, 110, 96),
                    pressed ? RGB(190, 60, 50) : RGB(184, 40, 34), RGB(255, 255, 255), 0.7);
    } else {
        c.roundRect(0.5, 0.5, 15.5, 15.5, 3, top, bottom, RGB(196, 220, 246), 0.7);
    }
    const COLORREF white = RGB(255, 255, 255);
    switch (glyph) {
        case TitleGlyph::Help:
            // The hook runs counter-clockwise from below the centre round to the left.
            c.arc(5, 2.5, 11, 8.5, {8, 9}, {5, 5}, white, 1.7);
            c.line({{8, 8.3}, {8, 9.8}}, white, 1.7);
            c.ellipse(6.9, 11.4, 9.1, 13.6, white, white);
            break;
        case TitleGlyph::Minimize:
            c.line({{4.5, 11}, {11.5, 11}}, white, 2.0);
            break;
        case TitleGlyph::Close:
            c.line({{5, 5}, {11, 11}}, white, 1.9);
            c.line({{11, 5}, {5, 11}}, white, 1.9);
            break;
    }
}

void alphaBlend(HDC dst, int x, int y, const DibSection& src) {
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dst, x, y, src.width(), src.height(), src.dc(), 0, 0, src.width(), src.height(), bf);
}

HFONT makeFont(const Dpi& dpi, int points, int weight, bool underline = false,
               const char* face = "Tahoma") {
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(points, dpi.dpi, 72);
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&lf);
}

void text(HDC dc, const char* s, RECT rc, HFONT font, COLORREF color, UINT format) {
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, s, -1, &rc, format | DT_NOPREFIX);
    SelectObject(dc, old);
}

// The common frame of every window: a rounded outline, a title band and a
// light body. Returns nothing; draws in 96-DPI units through the canvas.
void drawFrame(Canvas& c, int w, int h, int titleHeight, bool statusStrip) {
    const double radius = 12;
    c.roundRect(0, 0, w, h, radius, RGB(24, 40, 66), RGB(24, 40, 66));
    // Body.
    c.roundRect(1, 1, w - 1, h - 1, radius - 1, RGB(244, 247, 251), RGB(218, 226, 236));
    // Title band: rounded on top, square below.
    SaveDC(c.dc());
    IntersectClipRect(c.dc(), c.px(1), c.px(1), c.px(w - 1), c.px(titleHeight));
    c.roundRect(1, 1, w - 1, titleHeight + 20, radius - 1, RGB(64, 122, 186), RGB(22, 60, 108));
    // Gloss on the band's upper half.
    c.roundRect(2, 2, w - 2, titleHeight / 2 + 1, radius - 2, RGB(98, 152, 212), RGB(60, 116, 180));
    RestoreDC(c.dc(), -1);
    c.rect(1, titleHeight, w - 1, titleHeight + 1, RGB(14, 34, 62));
    c.rect(1, titleHeight + 1, w - 1, titleHeight + 2, RGB(255, 255, 255));
    if (statusStrip) {
        SaveDC(c.dc());
        IntersectClipRect(c.dc(), c.px(1), c.px(h - 31), c.px(w - 1), c.px(h - 1));
        c.roundRect(1, h - 60, w - 1, h - 1, radius - 1, RGB(206, 216, 230), RGB(184, 198, 216));
        RestoreDC(c.dc(), -1);
        c.rect(8, h - 32, w - 8, h - 31, RGB(150, 166, 188));  // separator, etched
        c.rect(8, h - 31, w - 8, h - 30, RGB(255, 255, 255));
    }
}

// A sunken white panel behind a list control.
void panelFrame(Canvas& c, int x, int y, int w, int h) {
    c.rect(x - 2, y - 2, x + w + 2, y + h + 2, RGB(206, 216, 228));
    c.rect(x - 1, y - 1, x + w + 1, y + h + 1, RGB(118, 138, 164));
    c.rect(x, y, x + w, y + h, RGB(255, 255, 255));
}

}  // namespace

// ---------------------------------------------------------------------------

Dpi screenDpi() {
    HDC screen = GetDC(nullptr);
    Dpi d{GetDeviceCaps(screen, LOGPIXELSX)};
    ReleaseDC(nullptr, screen);
    if (d.dpi < 96) d.dpi = 96;
    return d;
}

DibSection::DibSection(int width, int height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_) return;
    pixels_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    dc_ = CreateCompatibleDC(nullptr);
    oldBitmap_ = SelectObject(dc_, bitmap_);
}

DibSection::~DibSection() { release(); }

DibSection::DibSection(DibSection&& o) noexcept { *this = std::move(o); }

DibSection& DibSection::operator=(DibSection&& o) noexcept {
    if (this != &o) {
        release();
        std::swap(dc_, o.dc_);
        std::swap(bitmap_, o.bitmap_);
        std::swap(oldBitmap_, o.oldBitmap_);
        std::swap(pixels_, o.pixels_);
        std::swap(width_, o.width_);
        std::swap(height_, o.height_);
    }
    return *this;
}

void DibSection::release() {
    if (dc_) {
        SelectObject(dc_, oldBitmap_);
        DeleteDC(dc_);
    }
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    pixels_ = nullptr;
    width_ = height_ = 0;
}

void DibSection::fill(std::uint32_t pixel) {
    GdiFlush();
    std::fill(pixels_, pixels_ + static_cast<std::size_t>(width_) * height_, pixel);
}

void SkinFonts::create(const Dpi& dpi) {
    normal = makeFont(dpi, 8, FW_NORMAL);
    bold = makeFont(dpi, 8, FW_BOLD);
    title = makeFont(dpi, 9, FW_BOLD);
    link = makeFont(dpi, 8, FW_NORMAL, true);
    large = makeFont(dpi, 12, FW_BOLD);
}

void SkinFonts::destroy() {
    for (HFONT* f : {&normal, &bold, &title, &link, &large}) {
        if (*f) DeleteObject(*f);
        *f = nullptr;
    }
}

DibSection drawBackground(SkinWindow which, const Dpi& dpi) {
    int w = kMainWidth, h = kMainHeight;
    if (which == SkinWindow::Result) w = kResultWidth, h = kResultHeight;
    if (which == SkinWindow::About) w = kAboutWidth, h = kAboutHeight;
    DibSection pic(dpi(w), dpi(h));
    if (!pic.valid()) return pic;
    pic.fill(kKey);
    Canvas c(pic.dc(), dpi.dpi / 96.0);
    SkinFonts fonts;
    fonts.create(dpi);
    HDC dc = pic.dc();

    if (which == SkinWindow::Main) {
        drawFrame(c, w, h, 30, true);
        panelFrame(c, 10, 38, 359, 143);
        panelFrame(c, 10, 187, 359, 110);
        // The emblem and word mark below the log.
        drawEmblem(dc, dpi(12), dpi(305), dpi(34));
        HFONT mark = makeFont(dpi, 15, FW_BOLD, false, "Tahoma");
        HFONT tag = makeFont(dpi, 8, FW_NORMAL);
        text(dc, "Cindral", dpi.rect(52, 303, 200, 24), mark, RGB(28, 62, 110),
             DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        text(dc, "Privacy cleaner  \xB7  version 3.0", dpi.rect(53, 325, 220, 14), tag,
             colors::kMutedText, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
        text(dc, "Quorvane Software", dpi.rect(296, 318, 170, 14), tag, RGB(120, 136, 158),
             DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
        DeleteObject(mark);
        DeleteObject(tag);
        // Separator between the lists and the word mark.
        c.rect(10, 301, 472, 302, RGB(176, 190, 208));
    } else if (which == SkinWindow::Result) {
        drawFrame(c, w, h, 26, false);
        c.roundRect(10, 32, w - 10, 114, 6, RGB(255, 255, 255), RGB(238, 243, 249),
                    RGB(176, 190, 208), 1);
        DibSection done = renderSmooth(
            dpi(30), dpi(30), 4, true,
            [](HDC d, double s) {
                Canvas k(d, s);
                drawItemIcon(k, 11);
            },
            32);
        alphaBlend(dc, dpi(20), dpi(40), done);
    } else {
        drawFrame(c, w, h, 26, false);
        drawEmblem(dc, dpi(163), dpi(38), dpi(64));
        text(dc, "Privacy cleaner for Windows", dpi.rect(0, 134, w, 16), fonts.normal,
             colors::kMutedText, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
        c.rect(20, 160, w - 20, 161, RGB(176, 190, 208));
        c.rect(20, 161, w - 20, 162, RGB(255, 255, 255));
        c.roundRect(60, 170, w - 60, 262, 6, RGB(255, 255, 255), RGB(238, 243, 249),
                    RGB(176, 190, 208), 1);
        text(dc, "Copyright \xA9 Quorvane Software. All rights reserved.", dpi.rect(0, 272, w, 16),
             fonts.normal, colors::kMutedText, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
        text(dc, "Cindral erases only what you select. Try Test Mode first.",
             dpi.rect(20, 288, w - 40, 16), fonts.normal, colors::kMutedText,
             DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        c.rect(20, 311, w - 20, 312, RGB(176, 190, 208));
        c.rect(20, 312, w - 20, 313, RGB(255, 255, 255));
    }
    // The small emblem at the title band's left.
    drawEmblem(dc, dpi(which == SkinWindow::Main ? 8 : 6), dpi(which == SkinWindow::Main ? 6 : 4),
               dpi(18));
    fonts.destroy();
    GdiFlush();
    return pic;
}

HRGN regionFromPicture(const DibSection& picture) {
    HRGN total = nullptr;
    if (!picture.valid()) return CreateRectRgn(0, 0, 0, 0);
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
            HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd);
            if (!part) return;
            if (!total) {
                total = part;
            } else {
                CombineRgn(total, total, part, RGN_OR);
                DeleteObject(part);
            }
        });
    return total ? total : CreateRectRgn(0, 0, 0, 0);
}

void paintButton(const DRAWITEMSTRUCT& item, const DibSection& background, POINT origin,
                 ButtonStyle style, HFONT font, const Dpi& dpi) {
    const RECT rc = item.rcItem;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;

    DibSection buf(w, h);
    if (!buf.valid()) return;
    BitBlt(buf.dc(), 0, 0, w, h, background.dc(), origin.x, origin.y, SRCCOPY);
    Canvas c(buf.dc(), 1.0);
    const double r = dpi(4);
    COLORREF top, bottom, border, textColor;
    switch (style) {
        case ButtonStyle::Primary:
            top = RGB(94, 158, 230), bottom = RGB(34, 92, 172), border = RGB(20, 58, 112);
            textColor = RGB(255, 255, 255);
            break;
        case ButtonStyle::Stop:
            top = RGB(238, 112, 92), bottom = RGB(182, 38, 30), border = RGB(120, 20, 16);
            textColor = RGB(255, 255, 255);
            break;
        default:
            top = RGB(255, 255, 255), bottom = RGB(216, 226, 238), border = RGB(120, 140, 168);
            textColor = colors::kBodyText;
            break;
    }
    if (disabled) {
        top = RGB(240, 243, 247), bottom = RGB(226, 232, 240), border = RGB(184, 194, 208);
        textColor = RGB(150, 160, 176);
    }
    if (pressed) std::swap(top, bottom);
    c.roundRect(0, 0, w, h, r, border, border);
    c.roundRect(1, 1, w - 1, h - 1, r - 1, top, bottom);
    if (!disabled && !pressed) {
        // A soft highlight along the top edge.
        c.rect(r, 1, w - r, 2,
               style == ButtonStyle::Normal ? RGB(255, 255, 255)
                                            : Canvas::mix(top, RGB(255, 255, 255)));
    }
    char caption[128];
    GetWindowTextA(item.hwndItem, caption, sizeof caption);
    RECT tr{0, pressed ? 1 : 0, w, h + (pressed ? 1 : 0)};
    text(buf.dc(), caption, tr, font, textColor, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (focused && !disabled) {
        RECT fr{3, 3, w - 3, h - 3};
        SetTextColor(buf.dc(), style == ButtonStyle::Normal ? RGB(0, 0, 0) : RGB(255, 255, 255));
        SetBkColor(buf.dc(), style == ButtonStyle::Normal ? RGB(255, 255, 255) : RGB(0, 0, 0));
        DrawFocusRect(buf.dc(), &fr);
    }
    GdiFlush();
    BitBlt(item.hDC, rc.left, rc.top, w, h, buf.dc(), 0, 0, SRCCOPY);
}

void paintTitleButton(const DRAWITEMSTRUCT& item, const DibSection& background, POINT origin,
                      TitleGlyph glyph) {
    const RECT rc = item.rcItem;
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    DibSection buf(w, h);
    if (!buf.valid()) return;
    BitBlt(buf.dc(), 0, 0, w, h, background.dc(), origin.x, origin.y, SRCCOPY);
    DibSection g = renderSmooth(
        w, h, 4, true,
        [&](HDC d, double s) {
            Canvas k(d, s);
            drawTitleGlyph(k, glyph, pressed);
        },
        16);
    alphaBlend(buf.dc(), 0, 0, g);
    GdiFlush();
    BitBlt(item.hDC, rc.left, rc.top, w, h, buf.dc(), 0, 0, SRCCOPY);
}

HIMAGELIST createItemImages(int imageSet, const Dpi& dpi) {
    const int size = dpi(16);
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 12, 0);
    for (int i = 0; i < 12; ++i) {
        // The first set is smooth and shaded; the second keeps the flat,
        // hard-edged look of older systems.
        const bool smooth = imageSet == 0;
        DibSection pic = renderSmooth(
            size, size, smooth ? 4 : 1, false,
            [&](HDC d, double s) {
                Canvas k(d, s, !smooth);
                drawItemIcon(k, i);
            },
            32);
        HICON icon = iconFromStraightAlpha(pic);
        ImageList_ReplaceIcon(list, -1, icon);
        DestroyIcon(icon);
    }
    return list;
}

HICON createProgramIcon(int size) {
    DibSection pic = renderSmooth(
        size, size, 4, false,
        [](HDC d, double s) {
            Canvas k(d, s);
            drawEmblemShape(k);
        },
        32);
    return iconFromStraightAlpha(pic);
}

void drawEmblem(HDC dc, int x, int y, int size) {
    DibSection pic = renderSmooth(
        size, size, 4, true,
        [](HDC d, double s) {
            Canvas k(d, s);
            drawEmblemShape(k);
        },
        32);
    alphaBlend(dc, x, y, pic);
}

}  // namespace cindral::shell
