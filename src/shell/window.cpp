#include "shell/window.h"

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
    if (backgroundBrush_) DeleteObject(backgroundBrush_);
    fonts_.destroy();
}

std::string SkinnedWindow::textOf(HWND control) {
    int n = GetWindowTextLengthA(control);
    std::string s(static_cast<std::size_t>(n) + 1, '\0');
    GetWindowTextA(control, &s[0], n + 1);
    s.resize(static_cast<std::size_t>(n));
    return s;
}

bool SkinnedWindow::createSkinned(SkinWindow which, const char* className, const char* title,
                                  DWORD exStyle, HWND owner, int x, int y) {
    dpi_ = screenDpi();
    fonts_.create(dpi_);
    background_ = drawBackground(which, dpi_);
    backgroundBrush_ = CreatePatternBrush(background_.bitmap());
    if (!createWindow(className, title, WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX,
                      exStyle, x, y, background_.width(), background_.height(), owner)) {
        return false;
    }
    applyShape();
    return true;
}

void SkinnedWindow::applyShape() {
    HRGN region = regionFromPicture(background_);
    if (SetWindowRgn(hwnd_, region, TRUE) == 0)
        DeleteObject(region);  // kept by the system on success
}

HWND SkinnedWindow::addLabel(const char* text, int x, int y, int w, int h, HFONT font,
                             COLORREF color, DWORD align, int id) {
    DWORD style = WS_CHILD | WS_VISIBLE | SS_NOPREFIX | align;
    if (id != 0) style |= SS_NOTIFY;  // labels with an id are links and take clicks
    RECT r = dpi_.rect(x, y, w, h);
    HWND label = CreateWindowExA(
        0, "STATIC", text, style, r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    labelColors_[label] = color;
    return label;
}

HWND SkinnedWindow::addButton(int id, const char* text, int x, int y, int w, int h,
                              ButtonStyle style) {
    RECT r = dpi_.rect(x, y, w, h);
    HWND button = CreateWindowExA(
        0, "BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, r.left, r.top,
        r.right - r.left, r.bottom - r.top, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.normal), FALSE);
    buttonStyles_[id] = style;
    return button;
}

HWND SkinnedWindow::addTitleButton(int id, TitleGlyph glyph, int x, int y) {
    RECT r = dpi_.rect(x, y, 16, 16);
    HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, r.left,
                                  r.top, r.right - r.left, r.bottom - r.top, hwnd_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  GetModuleHandleA(nullptr), nullptr);
    titleGlyphs_[id] = glyph;
    return button;
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

LRESULT SkinnedWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT rc;
            GetClientRect(hwnd_, &rc);
            BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, rc.right, rc.bottom, background_.dc(), 0, 0,
                   SRCCOPY);
            return 1;
        }
        case WM_CTLCOLORSTATIC: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            HWND child = reinterpret_cast<HWND>(lParam);
            auto it = labelColors_.find(child);
            SetTextColor(dc, it != labelColors_.end() ? it->second : colors::kBodyText);
            SetBkMode(dc, TRANSPARENT);
            POINT o = originOf(child);
            SetBrushOrgEx(dc, -o.x, -o.y, nullptr);
            return reinterpret_cast<LRESULT>(backgroundBrush_);
        }
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
            // only with the left button alone and no modifier key.
            if (wParam == MK_LBUTTON) {
                ReleaseCapture();
                SendMessageA(hwnd_, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
                return 0;
            }
            break;
        default:
            break;
    }
    return Window::handle(msg, wParam, lParam);
}

void runModalLoop(HWND window, HWND owner) {
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
        if (!IsDialogMessageA(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (owner && ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        if (IsWindowVisible(owner)) SetForegroundWindow(owner);
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

}  // namespace cindral::shell
