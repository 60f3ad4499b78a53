// The program's look: window backgrounds with magenta outside the outline,
// the item icons, the program and tray icons, the title-button glyphs, the
// painting of buttons and tab strips, group and page panels, and the check
// marks of lists. Everything is drawn in code with the primitives of
// drawing.h, at the size the screen's DPI asks for, so it stays sharp at
// any scale.
#pragma once

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "shell/drawing.h"
#include "shell/owned_handle.h"

namespace cindral::shell {

// Design sizes of the windows (96 DPI).
constexpr int kMainWidth = 482, kMainHeight = 383;
constexpr int kResultWidth = 420, kResultHeight = 151;
constexpr int kAboutWidth = 390, kAboutHeight = 361;
constexpr int kEraseItemsWidth = 488, kEraseItemsHeight = 402;
constexpr int kOptionsWidth = 482, kOptionsHeight = 383;
constexpr int kKeeperWidth = 563, kKeeperHeight = 373;
constexpr int kPluginEditorWidth = 760, kPluginEditorHeight = 620;
constexpr int kPromptWidth = 340, kPromptHeight = 140;

// The plug-in editor and its prompt have the settings dialogs' frame.
enum class SkinWindow { Main, Result, About, EraseItems, Options, Keeper, PluginEditor, Prompt };

// The design size of a window.
SIZE designSize(SkinWindow which);

// The frame of the three settings dialogs, in design units: a title band
// at the top, and a bar for the Help / OK / Cancel buttons at the bottom
// below an etched line.
namespace dialog_layout {
constexpr int kTitleBand = 26;
constexpr int kButtonBar = 40;  // from the bottom edge to the etched line
constexpr int kMargin = 10;
}  // namespace dialog_layout

// The background picture of a window, magenta outside its rounded outline.
DibSection drawBackground(SkinWindow which, const Dpi& dpi);

// Fonts of the skin, created for one DPI. Copies share the same fonts,
// which are freed with the last copy.
struct SkinFonts {
    HFONT normal = nullptr;  // controls, lists
    HFONT bold = nullptr;    // headings, group captions
    HFONT title = nullptr;   // title labels
    HFONT link = nullptr;    // underlined links
    HFONT large = nullptr;   // "Cindral 3.0", result headline
    void create(const Dpi& dpi);
    void destroy();

private:
    std::shared_ptr<const std::array<OwnedFont, 5>> owned_;
};

// Colours shared by the windows' own painting.
namespace colors {
constexpr COLORREF kTitleText = RGB(255, 255, 255);
constexpr COLORREF kBodyText = RGB(30, 47, 70);
constexpr COLORREF kMutedText = RGB(84, 100, 122);
constexpr COLORREF kDisabledText = RGB(150, 160, 176);
constexpr COLORREF kLinkText = RGB(22, 92, 186);
constexpr COLORREF kHeadingText = RGB(24, 62, 112);
constexpr COLORREF kWarningText = RGB(176, 36, 28);
constexpr COLORREF kPanel = RGB(255, 255, 255);
constexpr COLORREF kAlertText = RGB(176, 36, 36);     // what is wrong with a field
constexpr COLORREF kAlertField = RGB(255, 230, 230);  // a field marked wrong
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

// One tab of a strip as it is to be painted; `rect` in the strip's pixels.
struct TabFace {
    std::string caption;
    RECT rect;
    bool selected;
};

// Paints a flat tab strip of `size` pixels into `dc` over its piece of the
// background (`origin` in the picture). The selected tab joins the page
// panel below the strip; `focused` marks it with a focus rectangle.
void paintTabStrip(HDC dc, SIZE size, const DibSection& background, POINT origin,
                   const std::vector<TabFace>& tabs, bool focused, HFONT font, const Dpi& dpi);

// The panel a page set sits on, drawn into a picture; the rectangle is in
// the picture's design units and the tab strip lies above it.
void drawPagePanel(DibSection& picture, const Dpi& dpi, int x, int y, int w, int h);

// A group box's panel with a header band for its caption (drawn by the
// window as a label, kGroupCaptionHeight high at the panel's top).
constexpr int kGroupCaptionHeight = 20;
void drawGroupPanel(DibSection& picture, const Dpi& dpi, int x, int y, int w, int h);

// The state pictures of lists with check boxes: index 0 unchecked, 1 checked.
OwnedImageList createCheckImages(const Dpi& dpi);

// Twelve item icons, indexes 0..11; set 0 smooth and shaded, set 1 flat.
OwnedImageList createItemImages(int imageSet, const Dpi& dpi);

// Pictures of single entries (the Keeper dialog's rows).
enum class EntryIcon { Cookie, Address, Document };

// A list of one small (16x16 design) picture of the entry; every list that
// shows it takes a list of its own, which it frees.
OwnedImageList createEntryImages(EntryIcon icon, const Dpi& dpi);

// The program's emblem as an icon of the given pixel size (program and tray).
OwnedIcon createProgramIcon(int size);

// The emblem drawn smoothly onto a DC (alpha-blended).
void drawEmblem(HDC dc, int x, int y, int size);

}  // namespace cindral::shell
