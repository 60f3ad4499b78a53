// Small wrappers over HWNDs: a window that dispatches its messages to a
// virtual handler, and the skinned borderless window every Cindral window
// is (background picture, outline region, dragging, transparent labels,
// owner-drawn buttons and title buttons).
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "shell/skin.h"

namespace cindral::shell {

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool isVisible() const { return hwnd_ && IsWindowVisible(hwnd_); }

protected:
    bool createWindow(const char* className, const char* title, DWORD style, DWORD exStyle, int x,
                      int y, int width, int height, HWND owner);
    virtual LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called from WM_NCDESTROY: the handle is gone afterwards.
    virtual void onDestroyed() {}

    HWND hwnd_ = nullptr;

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

class SkinnedWindow : public Window {
public:
    const Dpi& dpi() const { return dpi_; }
    const SkinFonts& fonts() const { return fonts_; }
    // The text of a child control.
    static std::string textOf(HWND control);

protected:
    ~SkinnedWindow() override;

    // Creates the window at its design size, draws its picture and cuts
    // its outline.
    bool createSkinned(SkinWindow which, const char* className, const char* title, DWORD exStyle,
                       HWND owner, int x, int y);
    // Children in design units (96 DPI).
    HWND addLabel(const char* text, int x, int y, int w, int h, HFONT font, COLORREF color,
                  DWORD align = SS_LEFT, int id = 0);
    HWND addButton(int id, const char* text, int x, int y, int w, int h,
                   ButtonStyle style = ButtonStyle::Normal);
    HWND addTitleButton(int id, TitleGlyph glyph, int x, int y);
    void setButtonStyle(int id, ButtonStyle style);
    // Sets a label's text and repaints the background behind it.
    void setLabel(HWND label, const std::string& text);
    void applyShape();

    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

    Dpi dpi_;
    SkinFonts fonts_;
    DibSection background_;

private:
    POINT originOf(HWND child) const;

    HBRUSH backgroundBrush_ = nullptr;
    std::map<HWND, COLORREF> labelColors_;
    std::map<int, ButtonStyle> buttonStyles_;
    std::map<int, TitleGlyph> titleGlyphs_;
};

// Runs a window modally over its owner: the owner is disabled until the
// window is destroyed or hidden. A WM_QUIT met on the way is put back.
void runModalLoop(HWND window, HWND owner);

}  // namespace cindral::shell
