#include "shell/window.h"

#include <algorithm>
#include <vector>

namespace cindral::shell {

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

bool Window::createWindow(const char* className, const char* title, DWORD style, DWORD exStyle,
                          int x, int y, int width, int height, HWND owner) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    if (!GetClassInfoExA(instance, className, &wc)) {
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Window::proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.lpszClassName = className;
        if (!RegisterClassExA(&wc)) return false;
    }
    CreateWindowExA(exStyle, className, title, style, x, y, width, height, owner, nullptr, instance,
                    this);
    return hwnd_ != nullptr;
}

LRESULT CALLBACK Window::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        LRESULT r = self->handle(msg, wParam, lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->onDestroyed();
        return r;
    }
    return self->handle(msg, wParam, lParam);
}

LRESULT Window::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

// ---------------------------------------------------------------------------

SkinnedWindow::~SkinnedWindow() {
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

std::string SkinnedWindow::textOf(HWND control) {
    int n = GetWindowTextLengthA(control);
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    n = GetWindowTextA(control, &s[0], n + 1);
    s.resize(static_cast<std::size_t>(n));
    return s;
}

bool SkinnedWindow::createSkinned(SkinWindow which, const char* className, const char* title,
                                  DWORD exStyle, HWND owner, int x, int y) {
    dpi_ = screenDpi();
    fonts_.create(dpi_);
    background_ = drawBackground(which, dpi_);
    if (!createWindow(className, title, WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
                      exStyle, x, y, background_.width(), background_.height(), owner)) {
        return false;
    }
    applyShape();
    return true;
}

bool SkinnedWindow::createSurface(SkinnedWindow& parent, const char* className, int x, int y, int w,
                                  int h) {
    dpi_ = parent.dpi_;
    fonts_ = parent.fonts_;
    const RECT r = dpi_.rect(x, y, w, h);
    background_ = parent.background_.crop(r.left, r.top, r.right - r.left, r.bottom - r.top);
    // WS_EX_CONTROLPARENT: the keyboard reaches the surface's controls as
    // if they were the dialog's own.
    return createWindow(className, "", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        WS_EX_CONTROLPARENT, r.left, r.top, r.right - r.left, r.bottom - r.top,
                        parent.hwnd());
}

void SkinnedWindow::applyShape() {
    OwnedRegion region = regionFromPicture(background_);
    if (SetWindowRgn(hwnd_, region.get(), TRUE) != 0) region.release();  // the system keeps it
}

void SkinnedWindow::pictureChanged() {
    backgroundBrush_.reset();
    if (hwnd_) {
        RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
}

HBRUSH SkinnedWindow::backgroundBrush() {
    // A pattern brush copies the picture, so it is made again after the
    // picture has been painted on.
    if (!backgroundBrush_) backgroundBrush_.reset(CreatePatternBrush(background_.bitmap()));
    return backgroundBrush_.get();
}

HWND SkinnedWindow::addChild(const char* className, const char* text, DWORD style, DWORD exStyle,
                             int id, int x, int y, int w, int h, HFONT font) {
    const RECT r = dpi_.rect(x, y, w, h);
    HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, r.left,
                                 r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    if (child && font) SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

HWND SkinnedWindow::addLabel(const char* text, int x, int y, int w, int h, HFONT font,
                             COLORREF color, DWORD align, int id) {
    DWORD style = SS_NOPREFIX | align;
    if (id != 0) style |= SS_NOTIFY;  // labels with an id are links and take clicks
    HWND label = addChild("STATIC", text, style, 0, id, x, y, w, h, font);
    labelColors_[label] = color;
    return label;
}

HWND SkinnedWindow::addText(const char* text, int x, int y, int w, int h) {
    return addLabel(text, x, y, w, h, fonts_.normal, colors::kBodyText, SS_LEFT);
}

HWND SkinnedWindow::addButton(int id, const char* text, int x, int y, int w, int h,
                              ButtonStyle style) {
    HWND button = addChild("BUTTON", text, WS_TABSTOP | WS_GROUP | BS_OWNERDRAW, 0, id, x, y, w, h,
                           fonts_.normal);
    buttonStyles_[id] = style;
    return button;
}

HWND SkinnedWindow::addTitleButton(int id, TitleGlyph glyph, int x, int y) {
    HWND button = addChild("BUTTON", "", BS_OWNERDRAW, 0, id, x, y, 16, 16, nullptr);
    titleGlyphs_[id] = glyph;
    return button;
}

HWND SkinnedWindow::addGroupBox(const char* caption, int x, int y, int w, int h) {
    drawGroupPanel(background_, dpi_, x, y, w, h);
    pictureChanged();
    return addLabel(caption, x + 8, y + 1, w - 16, kGroupCaptionHeight - 1, fonts_.bold,
                    colors::kHeadingText, SS_LEFT | SS_CENTERIMAGE | SS_ENDELLIPSIS);
}

void SkinnedWindow::addPagePanel(int x, int y, int w, int h) {
    drawPagePanel(background_, dpi_, x, y, w, h);
    pictureChanged();
}

HWND SkinnedWindow::addCheckBox(int id, const char* text, int x, int y, int w, int h) {
    return addChild("BUTTON", text, WS_TABSTOP | WS_GROUP | BS_AUTOCHECKBOX, 0, id, x, y, w, h,
                    fonts_.normal);
}

HWND SkinnedWindow::addRadioButton(int id, const char* text, int x, int y, int w, int h,
                                   bool groupStart) {
    // Every other control that takes the keyboard starts a group of its
    // own, so a radio group ends at the first of them; labels between the
    // radio buttons of a group do not break it.
    return addChild("BUTTON", text, BS_AUTORADIOBUTTON | (groupStart ? WS_GROUP | WS_TABSTOP : 0),
                    0, id, x, y, w, h, fonts_.normal);
}

HWND SkinnedWindow::addEdit(int id, int x, int y, int w, int h, const EditOptions& options) {
    DWORD style = WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL | options.extraStyle;
    if (options.readOnly) style |= ES_READONLY;
    if (options.password) style |= ES_PASSWORD;
    HWND edit = addChild("EDIT", "", style, WS_EX_CLIENTEDGE, id, x, y, w, h, fonts_.normal);
    if (edit && options.cue) {
        // The cue banner takes UTF-16 text (common controls 6).
        const int n = MultiByteToWideChar(CP_ACP, 0, options.cue, -1, nullptr, 0);
        std::vector<wchar_t> cue(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
        MultiByteToWideChar(CP_ACP, 0, options.cue, -1, cue.data(), n);
        SendMessageA(edit, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(cue.data()));
    }
    return edit;
}

HWND SkinnedWindow::addDropDownList(int id, int x, int y, int w,
                                    const std::vector<std::string>& items, int selected,
                                    bool editable) {
    // The height of a combo box includes its open list: room for up to ten items.
    const int shown = items.empty() ? 1 : static_cast<int>(std::min<std::size_t>(items.size(), 10));
    const DWORD kind = editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
    HWND combo = addChild("COMBOBOX", "", WS_TABSTOP | WS_GROUP | WS_VSCROLL | kind, 0, id, x, y, w,
                          24 + shown * 15, fonts_.normal);
    for (const std::string& item : items) {
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    return combo;
}

HWND SkinnedWindow::addListView(int id, int x, int y, int w, int h,
                                const ListViewOptions& options) {
    DWORD style = WS_TABSTOP | WS_GROUP | LVS_REPORT |
                  (options.header ? LVS_NOSORTHEADER : LVS_NOCOLUMNHEADER);
    if (!options.multiSelect) style |= LVS_SINGLESEL;
    if (options.showSelectionAlways) style |= LVS_SHOWSELALWAYS;
    OwnedImageList smallIcons(options.smallImages);
    HWND list = addChild(WC_LISTVIEWA, "", style, WS_EX_CLIENTEDGE, id, x, y, w, h, fonts_.normal);
    if (!list) return nullptr;
    DWORD ex = LVS_EX_LABELTIP;
    if (options.fullRowSelect) ex |= LVS_EX_FULLROWSELECT;
    if (options.gridLines) ex |= LVS_EX_GRIDLINES;
    if (options.checkBoxes) ex |= LVS_EX_CHECKBOXES;
    ListView_SetExtendedListViewStyle(list, ex);
    if (options.checkBoxes) {
        // The skin's check marks in place of the ones the list made itself;
        // the list frees the images it holds when it goes.
        OwnedImageList replaced(
            ListView_SetImageList(list, createCheckImages(dpi_).release(), LVSIL_STATE));
    }
    if (smallIcons) ListView_SetImageList(list, smallIcons.release(), LVSIL_SMALL);
    std::vector<ListViewColumn> columns = options.columns;
    if (columns.empty()) {
        RECT client;
        GetClientRect(list, &client);
        columns.push_back(
            {"", MulDiv(client.right - GetSystemMetrics(SM_CXVSCROLL), 96, dpi_.dpi)});
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = const_cast<char*>(columns[i].caption);
        col.cx = dpi_(columns[i].width);
        col.iSubItem = static_cast<int>(i);
        ListView_InsertColumn(list, static_cast<int>(i), &col);
    }
    return list;
}

HWND SkinnedWindow::addListBox(int id, int x, int y, int w, int h) {
    return addChild("LISTBOX", "",
                    WS_TABSTOP | WS_GROUP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                    WS_EX_CLIENTEDGE, id, x, y, w, h, fonts_.normal);
}

HWND SkinnedWindow::addControl(const char* className, int id, const char* text, DWORD style, int x,
                               int y, int w, int h, bool tabStop, DWORD exStyle) {
    if (tabStop) style |= WS_TABSTOP | WS_GROUP;
    return addChild(className, text, style, exStyle, id, x, y, w, h, fonts_.normal);
}

void SkinnedWindow::markField(HWND edit, bool marked) {
    const bool was = markedFields_.count(edit) != 0;
    if (was == marked) return;
    if (marked) {
        markedFields_.insert(edit);
    } else {
        markedFields_.erase(edit);
    }
    InvalidateRect(edit, nullptr, TRUE);
}

void SkinnedWindow::setButtonStyle(int id, ButtonStyle style) {
    auto it = buttonStyles_.find(id);
    if (it == buttonStyles_.end() || it->second == style) return;
    it->second = style;
    InvalidateRect(GetDlgItem(hwnd_, id), nullptr, FALSE);
}

void SkinnedWindow::setLabel(HWND label, const std::string& text) {
    SetWindowTextA(label, text.c_str());
    InvalidateRect(label, nullptr, TRUE);
}

POINT SkinnedWindow::originOf(HWND child) const {
    RECT r;
    GetWindowRect(child, &r);
    POINT p{r.left, r.top};
    ScreenToClient(hwnd_, &p);
    return p;
}

void SkinnedWindow::paintPicture(HDC dc) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    BitBlt(dc, 0, 0, rc.right, rc.bottom, background_.dc(), 0, 0, SRCCOPY);
}

LRESULT SkinnedWindow::colorStatic(HDC dc, HWND child) {
    // Labels, check boxes and radio buttons show the picture behind them;
    // a read-only or disabled edit field keeps the system's colours.
    char cls[16] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0 && lstrcmpiA(cls, "Button") != 0) {
        return Window::handle(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(child));
    }
    auto it = labelColors_.find(child);
    COLORREF color = it != labelColors_.end() ? it->second : colors::kBodyText;
    if (!IsWindowEnabled(child)) color = colors::kDisabledText;
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);
    POINT o = originOf(child);
    SetBrushOrgEx(dc, -o.x, -o.y, nullptr);
    return reinterpret_cast<LRESULT>(backgroundBrush());
}

LRESULT SkinnedWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            paintPicture(reinterpret_cast<HDC>(wParam));
            return 1;
        case WM_PRINTCLIENT:
            // Themed check boxes ask for the parent's background this way.
            paintPicture(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            return colorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CTLCOLOREDIT:
            if (markedFields_.count(reinterpret_cast<HWND>(lParam))) {
                if (!alertBrush_) alertBrush_.reset(CreateSolidBrush(colors::kAlertField));
                SetBkColor(reinterpret_cast<HDC>(wParam), colors::kAlertField);
                return reinterpret_cast<LRESULT>(alertBrush_.get());
            }
            break;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlType != ODT_BUTTON) break;
            const int id = static_cast<int>(item->CtlID);
            POINT o = originOf(item->hwndItem);
            auto glyph = titleGlyphs_.find(id);
            if (glyph != titleGlyphs_.end()) {
                paintTitleButton(*item, background_, o, glyph->second);
                return TRUE;
            }
            auto style = buttonStyles_.find(id);
            paintButton(*item, background_, o,
                        style != buttonStyles_.end() ? style->second : ButtonStyle::Normal,
                        fonts_.normal, dpi_);
            return TRUE;
        }
        case WM_LBUTTONDOWN:
            // Dragging by the picture and the labels, like a title bar;
            // only with the left button alone and no modifier key. A page
            // moves the window it belongs to.
            if (wParam == MK_LBUTTON) {
                ReleaseCapture();
                SendMessageA(GetAncestor(hwnd_, GA_ROOT), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
                return 0;
            }
            break;
        default:
            break;
    }
    return Window::handle(msg, wParam, lParam);
}

void runModalLoop(HWND window, HWND owner, const std::function<bool(MSG& msg)>& preTranslate) {
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (owner) EnableWindow(owner, FALSE);
    MSG msg;
    bool quit = false;
    WPARAM quitCode = 0;
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            quit = true;
            quitCode = msg.wParam;
            break;
        }
        if (preTranslate ? preTranslate(msg) : IsDialogMessageA(window, &msg) != FALSE) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (owner && ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        if (IsWindowVisible(owner)) SetForegroundWindow(owner);
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

}  // namespace cindral::shell
