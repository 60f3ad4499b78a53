// The program's look: window backgrounds with magenta outside the outline,
// the item icons, the program and tray icons, the title-button glyphs and
// the painting of buttons. Everything is drawn in code, at the size the
// screen's DPI asks for, so it stays sharp at any scale.
#pragma once

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>

#include <cstdint>

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

    bool valid() const { return bitmap_ != nullptr; }
    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }
    std::uint32_t* pixels() const { return pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void fill(std::uint32_t pixel);

private:
    void release();
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

// Design sizes of the three windows (96 DPI).
constexpr int kMainWidth = 482, kMainHeight = 383;
constexpr int kResultWidth = 420, kResultHeight = 151;
constexpr int kAboutWidth = 390, kAboutHeight = 361;

enum class SkinWindow { Main, Result, About };

// The background picture of a window, magenta outside its rounded outline.
DibSection drawBackground(SkinWindow which, const Dpi& dpi);

// The window region cut from a background picture (magenta transparent),
// built from row rectangles united in batches. The caller owns the region.
HRGN regionFromPicture(const DibSection& picture);

// Fonts of the skin, created for one DPI.
struct SkinFonts {
    HFONT normal = nullptr;  // controls, lists
    HFONT bold = nullptr;    // headings
    HFONT title = nullptr;   // title labels
    HFONT link = nullptr;    // underlined links
    HFONT large = nullptr;   // "Cindral 3.0", result headline
    void create(const Dpi& dpi);
    void destroy();
};

// Colours shared by the windows' own painting.
namespace colors {
constexpr COLORREF kTitleText = RGB(255, 255, 255);
constexpr COLORREF kBodyText = RGB(30, 47, 70);
constexpr COLORREF kMutedText = RGB(84, 100, 122);
constexpr COLORREF kLinkText = RGB(22, 92, 186);
constexpr COLORREF kPanel = RGB(255, 255, 255);
}  // namespace colors

enum class ButtonStyle { Normal, Primary, Stop };

// Paints an owner-drawn push button. The corners outside its rounded edge
// are filled from the window's background picture (`origin` is the
// button's top-left corner in the picture).
void paintButton(const DRAWITEMSTRUCT& item, const DibSection& background, POINT origin,
                 ButtonStyle style, HFONT font, const Dpi& dpi);

enum class TitleGlyph { Help, Minimize, Close };

// Paints a 16x16 (design) title button over its piece of the background.
void paintTitleButton(const DRAWITEMSTRUCT& item, const DibSection& background, POINT origin,
                      TitleGlyph glyph);

// Twelve item icons, indexes 0..11; set 0 smooth and shaded, set 1 flat.
HIMAGELIST createItemImages(int imageSet, const Dpi& dpi);

// The program's emblem as an icon of the given pixel size (program and tray).
HICON createProgramIcon(int size);

// The emblem drawn smoothly onto a DC (alpha-blended).
void drawEmblem(HDC dc, int x, int y, int size);

}  // namespace cindral::shell
