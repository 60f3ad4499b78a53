#include "shell/skin.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "app/emblem.h"

namespace cindral::shell {

namespace {

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
            c.ellipse(10.5, 6.5, 21.5, 25.5, kTransparentColor, kTransparentColor);
            c.ellipse(10.5, 6.5, 21.5, 25.5, kTransparentColor, kTransparentColor, RGB(130, 14, 14),
                      1.0);
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

void drawEntryIcon(Canvas& c, EntryIcon icon) {
    switch (icon) {
        case EntryIcon::Cookie: {  // a biscuit with a bite out of it and chips
            const COLORREF chip = RGB(92, 52, 22);
            c.ellipse(3, 4, 28, 29, RGB(240, 198, 124), RGB(206, 146, 70), RGB(128, 78, 30), 1.3);
            c.ellipse(22, 1, 32, 11, kTransparentColor, kTransparentColor);
            for (const Pt& p : {Pt{10, 10}, Pt{17, 14}, Pt{9, 19}, Pt{19, 22}, Pt{13, 25}}) {
                c.ellipse(p.first - 1.8, p.second - 1.5, p.first + 1.8, p.second + 1.5, chip, chip);
            }
            break;
        }
        case EntryIcon::Address:  // the web globe of the browser
            drawItemIcon(c, 0);
            break;
        case EntryIcon::Document: {  // a page with a folded corner and lines of text
            const COLORREF edge = RGB(70, 90, 120);
            c.polygon({{6.5, 2.5}, {20, 2.5}, {26.5, 9}, {26.5, 29.5}, {6.5, 29.5}},
                      RGB(255, 255, 255), RGB(226, 234, 244), edge, 1.2);
            c.polygon({{20, 2.5}, {20, 9}, {26.5, 9}}, RGB(214, 224, 238), RGB(190, 204, 224), edge,
                      1.0);
            for (double y : {13.0, 17.0, 21.0, 25.0}) {
                c.rect(10, y, y == 25.0 ? 18 : 23, y + 1.4, RGB(96, 140, 200));
            }
            break;
        }
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

// An etched line: a dark row over a white one.
void etchedLine(Canvas& c, int left, int right, int y, COLORREF dark = RGB(150, 166, 188)) {
    c.rect(left, y, right, y + 1, dark);
    c.rect(left, y + 1, right, y + 2, RGB(255, 255, 255));
}

// The common frame of every window: a rounded outline, a title band and a
// light body, in 96-DPI units through the canvas.
void drawFrame(Canvas& c, int w, int h, int titleHeight, bool statusStrip) {
    const double radius = 12;
    c.roundRect(0, 0, w, h, radius, RGB(24, 40, 66), RGB(24, 40, 66));
    // Body.
    c.roundRect(1, 1, w - 1, h - 1, radius - 1, RGB(244, 247, 251), RGB(218, 226, 236));
    // Title band: rounded on top, square below.
    {
        SavedDc saved(c.dc());
        IntersectClipRect(c.dc(), c.px(1), c.px(1), c.px(w - 1), c.px(titleHeight));
        c.roundRect(1, 1, w - 1, titleHeight + 20, radius - 1, RGB(64, 122, 186), RGB(22, 60, 108));
        // Gloss on the band's upper half.
        c.roundRect(2, 2, w - 2, titleHeight / 2 + 1, radius - 2, RGB(98, 152, 212),
                    RGB(60, 116, 180));
    }
    c.rect(1, titleHeight, w - 1, titleHeight + 1, RGB(14, 34, 62));
    c.rect(1, titleHeight + 1, w - 1, titleHeight + 2, RGB(255, 255, 255));
    if (statusStrip) {
        {
            SavedDc saved(c.dc());
            IntersectClipRect(c.dc(), c.px(1), c.px(h - 31), c.px(w - 1), c.px(h - 1));
            c.roundRect(1, h - 60, w - 1, h - 1, radius - 1, RGB(206, 216, 230),
                        RGB(184, 198, 216));
        }
        etchedLine(c, 8, w - 8, h - 32);
    }
}

// A sunken white panel behind a list control.
void panelFrame(Canvas& c, int x, int y, int w, int h) {
    c.rect(x - 2, y - 2, x + w + 2, y + h + 2, RGB(206, 216, 228));
    c.rect(x - 1, y - 1, x + w + 1, y + h + 1, RGB(118, 138, 164));
    c.rect(x, y, x + w, y + h, RGB(255, 255, 255));
}

// The settings dialogs: the common frame, and a button bar below an
// etched line, tinted like the main window's status strip.
void drawDialogFrame(Canvas& c, int w, int h) {
    drawFrame(c, w, h, dialog_layout::kTitleBand, false);
    const int bar = h - dialog_layout::kButtonBar;
    SavedDc saved(c.dc());
    IntersectClipRect(c.dc(), c.px(1), c.px(bar + 1), c.px(w - 1), c.px(h - 1));
    c.roundRect(1, bar - 30, w - 1, h - 1, 11, RGB(228, 234, 242), RGB(200, 211, 226));
    etchedLine(c, 8, w - 8, bar);
}

void drawMainWindow(Canvas& c, HDC dc, const Dpi& dpi, int w, int h) {
    drawFrame(c, w, h, 30, true);
    panelFrame(c, 10, 38, 359, 143);
    panelFrame(c, 10, 187, 359, 110);
    // The emblem and word mark below the log.
    drawEmblem(dc, dpi(12), dpi(305), dpi(34));
    OwnedFont mark = makeFont(dpi, 15, FW_BOLD, false, "Tahoma");
    OwnedFont tag = makeFont(dpi, 8, FW_NORMAL);
    drawText(dc, "Cindral", dpi.rect(52, 303, 200, 24), mark.get(), RGB(28, 62, 110),
             DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    drawText(dc, "Privacy cleaner  \xB7  version 3.0", dpi.rect(53, 325, 220, 14), tag.get(),
             colors::kMutedText, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    drawText(dc, "Quorvane Software", dpi.rect(296, 318, 170, 14), tag.get(), RGB(120, 136, 158),
             DT_RIGHT | DT_SINGLELINE | DT_VCENTER);
    // Separator between the lists and the word mark.
    c.rect(10, 301, 472, 302, RGB(176, 190, 208));
}

void drawResultWindow(Canvas& c, HDC dc, const Dpi& dpi, int w, int h) {
    drawFrame(c, w, h, 26, false);
    c.roundRect(10, 32, w - 10, 114, 6, RGB(255, 255, 255), RGB(238, 243, 249), RGB(176, 190, 208),
                1);
    DibSection done = renderSmooth(
        dpi(30), dpi(30), 4, true,
        [](HDC d, double s) {
            Canvas k(d, s);
            drawItemIcon(k, 11);
        },
        32);
    alphaBlend(dc, dpi(20), dpi(40), done);
}

void drawAboutWindow(Canvas& c, HDC dc, const Dpi& dpi, int w, int h) {
    drawFrame(c, w, h, 26, false);
    drawEmblem(dc, dpi(163), dpi(38), dpi(64));
    OwnedFont normal = makeFont(dpi, 8, FW_NORMAL);
    drawText(dc, "Privacy cleaner for Windows", dpi.rect(0, 134, w, 16), normal.get(),
             colors::kMutedText, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    etchedLine(c, 20, w - 20, 160, RGB(176, 190, 208));
    c.roundRect(60, 170, w - 60, 262, 6, RGB(255, 255, 255), RGB(238, 243, 249), RGB(176, 190, 208),
                1);
    drawText(dc, "Copyright \xA9 Quorvane Software. All rights reserved.", dpi.rect(0, 272, w, 16),
             normal.get(), colors::kMutedText, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    drawText(dc, "Cindral erases only what you select. Try Test Mode first.",
             dpi.rect(20, 288, w - 40, 16), normal.get(), colors::kMutedText,
             DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    etchedLine(c, 20, w - 20, 311, RGB(176, 190, 208));
}

// Tab strips, page and group panels share these.
constexpr COLORREF kPanelBorder = RGB(150, 166, 188);
constexpr COLORREF kPanelTop = RGB(255, 255, 255);
constexpr COLORREF kPanelBottom = RGB(238, 243, 249);

void drawCheckBox(Canvas& c, bool checked) {
    c.roundRect(1.5, 1.5, 14.5, 14.5, 2.5, RGB(255, 255, 255), RGB(222, 231, 243),
                RGB(84, 106, 138), 1.0);
    if (checked) c.line({{4.3, 8.2}, {6.9, 10.9}, {11.8, 4.9}}, RGB(22, 92, 186), 2.0);
}

}  // namespace

// ---------------------------------------------------------------------------

SIZE designSize(SkinWindow which) {
    switch (which) {
        case SkinWindow::Main:
            return SIZE{kMainWidth, kMainHeight};
        case SkinWindow::Result:
            return SIZE{kResultWidth, kResultHeight};
        case SkinWindow::About:
            return SIZE{kAboutWidth, kAboutHeight};
        case SkinWindow::EraseItems:
            return SIZE{kEraseItemsWidth, kEraseItemsHeight};
        case SkinWindow::Options:
            return SIZE{kOptionsWidth, kOptionsHeight};
        case SkinWindow::Keeper:
            return SIZE{kKeeperWidth, kKeeperHeight};
        case SkinWindow::PluginEditor:
            return SIZE{kPluginEditorWidth, kPluginEditorHeight};
        case SkinWindow::Prompt:
            return SIZE{kPromptWidth, kPromptHeight};
    }
    return SIZE{kMainWidth, kMainHeight};
}

void SkinFonts::create(const Dpi& dpi) {
    auto fonts = std::make_shared<std::array<OwnedFont, 5>>();
    (*fonts)[0] = makeFont(dpi, 8, FW_NORMAL);
    (*fonts)[1] = makeFont(dpi, 8, FW_BOLD);
    (*fonts)[2] = makeFont(dpi, 9, FW_BOLD);
    (*fonts)[3] = makeFont(dpi, 8, FW_NORMAL, true);
    (*fonts)[4] = makeFont(dpi, 12, FW_BOLD);
    normal = (*fonts)[0].get();
    bold = (*fonts)[1].get();
    title = (*fonts)[2].get();
    link = (*fonts)[3].get();
    large = (*fonts)[4].get();
    owned_ = std::move(fonts);
}

void SkinFonts::destroy() {
    normal = bold = title = link = large = nullptr;
    owned_.reset();
}

DibSection drawBackground(SkinWindow which, const Dpi& dpi) {
    const SIZE size = designSize(which);
    const int w = size.cx, h = size.cy;
    DibSection pic(dpi(w), dpi(h));
    if (!pic.valid()) return pic;
    pic.fill(kTransparentPixel);
    Canvas c(pic.dc(), dpi.dpi / 96.0);
    HDC dc = pic.dc();
    switch (which) {
        case SkinWindow::Main:
            drawMainWindow(c, dc, dpi, w, h);
            break;
        case SkinWindow::Result:
            drawResultWindow(c, dc, dpi, w, h);
            break;
        case SkinWindow::About:
            drawAboutWindow(c, dc, dpi, w, h);
            break;
        case SkinWindow::EraseItems:
        case SkinWindow::Options:
        case SkinWindow::Keeper:
        case SkinWindow::PluginEditor:
        case SkinWindow::Prompt:
            drawDialogFrame(c, w, h);
            break;
    }
    // The small emblem at the title band's left.
    const bool main = which == SkinWindow::Main;
    drawEmblem(dc, dpi(main ? 8 : 6), dpi(main ? 6 : 4), dpi(18));
    GdiFlush();
    return pic;
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
    drawText(buf.dc(), caption, tr, font, textColor, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
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

void paintTabStrip(HDC dc, SIZE size, const DibSection& background, POINT origin,
                   const std::vector<TabFace>& tabs, bool focused, HFONT font, const Dpi& dpi) {
    const int w = size.cx, h = size.cy;
    DibSection buf(w, h);
    if (!buf.valid()) return;
    BitBlt(buf.dc(), 0, 0, w, h, background.dc(), origin.x, origin.y, SRCCOPY);
    Canvas c(buf.dc(), 1.0);
    const double radius = dpi(4);
    // The page panel's top edge runs along the strip's last row, open under
    // the selected tab.
    c.rect(0, h - 1, w, h, kPanelBorder);
    for (const TabFace& tab : tabs) {
        const RECT& r = tab.rect;
        if (tab.selected) {
            c.roundRect(r.left, r.top, r.right, h + radius, radius, kPanelBorder, kPanelBorder);
            c.roundRect(r.left + 1, r.top + 1, r.right - 1, h + radius, radius - 1, kPanelTop,
                        kPanelTop);
            c.roundRect(r.left + 1, r.top + 1, r.right - 1, r.top + 1 + dpi(3), radius - 1,
                        RGB(64, 122, 186), RGB(22, 60, 108));
            c.rect(r.left + 1, r.top + 1 + dpi(2), r.right - 1, r.top + 1 + dpi(3), kPanelTop);
        } else {
            const int top = r.top + dpi(2);
            SavedDc saved(buf.dc());
            IntersectClipRect(buf.dc(), r.left, top, r.right, h - 1);
            c.roundRect(r.left, top, r.right, h + radius, radius, kPanelBorder, kPanelBorder);
            c.roundRect(r.left + 1, top + 1, r.right - 1, h + radius, radius - 1,
                        RGB(234, 240, 248), RGB(204, 216, 232));
        }
        RECT tr{r.left + dpi(4), r.top + (tab.selected ? dpi(2) : dpi(3)), r.right - dpi(4), h};
        drawText(buf.dc(), tab.caption, tr, font,
                 tab.selected ? colors::kHeadingText : colors::kBodyText,
                 DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        if (tab.selected && focused) {
            RECT fr{r.left + dpi(3), r.top + dpi(5), r.right - dpi(3), h - dpi(2)};
            SetTextColor(buf.dc(), RGB(0, 0, 0));
            SetBkColor(buf.dc(), RGB(255, 255, 255));
            DrawFocusRect(buf.dc(), &fr);
        }
    }
    GdiFlush();
    BitBlt(dc, 0, 0, w, h, buf.dc(), 0, 0, SRCCOPY);
}

void drawPagePanel(DibSection& picture, const Dpi& dpi, int x, int y, int w, int h) {
    Canvas c(picture.dc(), dpi.dpi / 96.0);
    // Square on top, where the tab strip's baseline closes it.
    SavedDc saved(picture.dc());
    IntersectClipRect(picture.dc(), c.px(x), c.px(y), c.px(x + w), c.px(y + h));
    c.roundRect(x, y - 8, x + w, y + h, 4, kPanelBorder, kPanelBorder);
    c.roundRect(x + 1, y - 8, x + w - 1, y + h - 1, 3, kPanelTop, kPanelBottom);
    GdiFlush();
}

void drawGroupPanel(DibSection& picture, const Dpi& dpi, int x, int y, int w, int h) {
    Canvas c(picture.dc(), dpi.dpi / 96.0);
    c.roundRect(x, y, x + w, y + h, 5, RGB(176, 190, 208), RGB(176, 190, 208));
    c.roundRect(x + 1, y + 1, x + w - 1, y + h - 1, 4, RGB(255, 255, 255), RGB(244, 247, 251));
    {
        SavedDc saved(picture.dc());
        IntersectClipRect(picture.dc(), c.px(x + 1), c.px(y + 1), c.px(x + w - 1),
                          c.px(y + kGroupCaptionHeight));
        c.roundRect(x + 1, y + 1, x + w - 1, y + kGroupCaptionHeight + 8, 4, RGB(236, 242, 250),
                    RGB(212, 223, 238));
    }
    c.rect(x + 1, y + kGroupCaptionHeight, x + w - 1, y + kGroupCaptionHeight + 1,
           RGB(196, 208, 224));
    GdiFlush();
}

OwnedImageList createCheckImages(const Dpi& dpi) {
    const int size = dpi(16);
    OwnedImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 2, 0));
    for (bool checked : {false, true}) {
        DibSection pic = renderSmooth(
            size, size, 4, false,
            [&](HDC d, double s) {
                Canvas k(d, s);
                drawCheckBox(k, checked);
            },
            16);
        OwnedIcon icon(iconFromStraightAlpha(pic));
        ImageList_ReplaceIcon(list.get(), -1, icon.get());
    }
    return list;
}

OwnedImageList createItemImages(int imageSet, const Dpi& dpi) {
    const int size = dpi(16);
    OwnedImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 12, 0));
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
        OwnedIcon icon(iconFromStraightAlpha(pic));
        ImageList_ReplaceIcon(list.get(), -1, icon.get());
    }
    return list;
}

OwnedImageList createEntryImages(EntryIcon icon, const Dpi& dpi) {
    const int size = dpi(16);
    OwnedImageList list(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 1, 0));
    DibSection pic = renderSmooth(
        size, size, 4, false,
        [&](HDC d, double s) {
            Canvas k(d, s);
            drawEntryIcon(k, icon);
        },
        32);
    OwnedIcon picture(iconFromStraightAlpha(pic));
    ImageList_ReplaceIcon(list.get(), -1, picture.get());
    return list;
}

namespace {

// The emblem as a picture of the given size, straight alpha or premultiplied.
DibSection emblemPicture(int size, bool premultiplied) {
    DibSection pic(size, size);
    if (!pic.valid()) return pic;
    const std::vector<std::uint32_t> pixels = app::RenderEmblem(size);
    std::uint32_t* out = pic.pixels();
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        std::uint32_t p = pixels[i];
        if (premultiplied) {
            const std::uint32_t a = p >> 24;
            auto channel = [&](int shift) { return (((p >> shift) & 0xFF) * a / 255) << shift; };
            p = (a << 24) | channel(16) | channel(8) | channel(0);
        }
        out[i] = p;
    }
    return pic;
}

}  // namespace

OwnedIcon createProgramIcon(int size) { return iconFromStraightAlpha(emblemPicture(size, false)); }

void drawEmblem(HDC dc, int x, int y, int size) { alphaBlend(dc, x, y, emblemPicture(size, true)); }

}  // namespace cindral::shell
