// Small wrappers over HWNDs: a window that dispatches its messages to a
// virtual handler, and the skinned borderless window every Cindral window
// is (background picture, outline region, dragging, transparent labels,
// check boxes and radio buttons, owner-drawn buttons and title buttons).
// A skinned window can also be a child surface (a dialog page) whose
// picture is its piece of the parent's.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shell/owned_handle.h"
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

// What a list view shows and how (sizes in design units).
struct ListViewColumn {
    const char* caption;
    int width;
};
struct ListViewOptions {
    std::vector<ListViewColumn> columns;  // none: one column as wide as the list
    bool checkBoxes = false;              // drawn with the skin's check marks
    bool gridLines = false;
    bool fullRowSelect = true;
    bool multiSelect = false;
    bool header = true;
    bool showSelectionAlways = true;
    HIMAGELIST smallImages = nullptr;  // handed to the list, which frees it
};

struct EditOptions {
    const char* cue = nullptr;  // grey hint shown while empty
    bool readOnly = false;
    bool password = false;
    DWORD extraStyle = 0;  // e.g. ES_NUMBER
};

class SkinnedWindow : public Window {
public:
    const Dpi& dpi() const { return dpi_; }
    const SkinFonts& fonts() const { return fonts_; }
    const DibSection& picture() const { return background_; }
    // The text of a child control.
    static std::string textOf(HWND control);

    // Children in design units (96 DPI), relative to this window. Controls
    // that take the keyboard are tab stops; labels are not.
    HWND addLabel(const char* text, int x, int y, int w, int h, HFONT font, COLORREF color,
                  DWORD align = SS_LEFT, int id = 0);
    // Body text in the normal font, wrapped over as many lines as it needs.
    HWND addText(const char* text, int x, int y, int w, int h);
    HWND addButton(int id, const char* text, int x, int y, int w, int h,
                   ButtonStyle style = ButtonStyle::Normal);
    HWND addTitleButton(int id, TitleGlyph glyph, int x, int y);
    // A panel drawn into the picture with its caption in a header band;
    // returns the caption label (disable it to grey the caption).
    HWND addGroupBox(const char* caption, int x, int y, int w, int h);
    // The panel under a page set, drawn into the picture.
    void addPagePanel(int x, int y, int w, int h);
    HWND addCheckBox(int id, const char* text, int x, int y, int w, int h);
    // Radio buttons exclude each other within a group: a group starts at a
    // button with `groupStart` and takes in the radio buttons created after
    // it, up to the next group start.
    HWND addRadioButton(int id, const char* text, int x, int y, int w, int h, bool groupStart);
    HWND addEdit(int id, int x, int y, int w, int h, const EditOptions& options = {});
    // A drop-down list of fixed items (CBS_DROPDOWNLIST); `selected` -1: none.
    // `editable` gives a combo box whose text can be typed (CBS_DROPDOWN).
    HWND addDropDownList(int id, int x, int y, int w, const std::vector<std::string>& items,
                         int selected = 0, bool editable = false);
    HWND addListView(int id, int x, int y, int w, int h, const ListViewOptions& options);
    HWND addListBox(int id, int x, int y, int w, int h);
    // Any other control class (e.g. HOTKEY_CLASS), in the normal font; a
    // tab stop unless `style` says otherwise through `tabStop`.
    HWND addControl(const char* className, int id, const char* text, DWORD style, int x, int y,
                    int w, int h, bool tabStop = true, DWORD exStyle = 0);

    // A field whose text cannot be used: drawn on the alert colour until
    // unmarked.
    void markField(HWND edit, bool marked);

    void setButtonStyle(int id, ButtonStyle style);
    // Sets a label's text and repaints the background behind it.
    void setLabel(HWND label, const std::string& text);

protected:
    ~SkinnedWindow() override;

    // Creates the window at its design size, draws its picture and cuts
    // its outline.
    bool createSkinned(SkinWindow which, const char* className, const char* title, DWORD exStyle,
                       HWND owner, int x, int y);
    // Creates a hidden child surface at a design rectangle of `parent`,
    // painted with its piece of the parent's picture.
    bool createSurface(SkinnedWindow& parent, const char* className, int x, int y, int w, int h);
    void applyShape();
    // The picture may be painted on (panels); call after doing so.
    DibSection& mutablePicture() { return background_; }
    void pictureChanged();

    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

    Dpi dpi_;
    SkinFonts fonts_;
    DibSection background_;

private:
    HWND addChild(const char* className, const char* text, DWORD style, DWORD exStyle, int id,
                  int x, int y, int w, int h, HFONT font);
    POINT originOf(HWND child) const;
    HBRUSH backgroundBrush();
    LRESULT colorStatic(HDC dc, HWND child);
    void paintPicture(HDC dc);

    OwnedBrush backgroundBrush_;
    OwnedBrush alertBrush_;
    std::set<HWND> markedFields_;
    std::map<HWND, COLORREF> labelColors_;
    std::map<int, ButtonStyle> buttonStyles_;
    std::map<int, TitleGlyph> titleGlyphs_;
};

// Runs a window modally over its owner: the owner is disabled until the
// window is destroyed or hidden. A WM_QUIT met on the way is put back.
// `preTranslate` sees every message first and returns true for one it
// has handled; without it, IsDialogMessage handles the keyboard.
void runModalLoop(HWND window, HWND owner,
                  const std::function<bool(MSG& msg)>& preTranslate = nullptr);

}  // namespace cindral::shell
