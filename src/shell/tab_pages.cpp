#include "shell/tab_pages.h"

#include <algorithm>

namespace cindral::shell {

bool DialogPage::create(SkinnedWindow& site, int x, int y, int w, int h) {
    return createSurface(site, "CindralDialogPage", x, y, w, h);
}

LRESULT DialogPage::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND || msg == WM_NOTIFY) {
        return SendMessageA(GetParent(hwnd_), msg, wParam, lParam);
    }
    return SkinnedWindow::handle(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// The strip: a focusable window that paints the tabs over the site's
// picture and chooses a page by click or by the arrow keys.

class TabStrip : public Window {
public:
    TabStrip(TabbedPages& pages, SkinnedWindow& site, std::vector<std::string> captions)
        : pages_(pages), site_(site), captions_(std::move(captions)) {}

    bool create(int id, int x, int y, int w) {
        const Dpi& d = site_.dpi();
        const RECT r = d.rect(x, y, w, TabbedPages::kStripHeight);
        if (!createWindow("CindralTabStrip", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 0,
                          r.left, r.top, r.right - r.left, r.bottom - r.top, site_.hwnd())) {
            return false;
        }
        SetWindowLongPtrA(hwnd_, GWLP_ID, id);
        origin_ = POINT{r.left, r.top};
        layOut(r.right - r.left);
        return true;
    }

    RECT tabRect(int n) const {
        return n >= 0 && n < static_cast<int>(rects_.size()) ? rects_[static_cast<std::size_t>(n)]
                                                             : RECT{0, 0, 0, 0};
    }

protected:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_PAINT:
                paint();
                return 0;
            case WM_ERASEBKGND:
                return 1;
            case WM_GETDLGCODE:
                return DLGC_WANTARROWS;
            case WM_SETFOCUS:
            case WM_KILLFOCUS:
                InvalidateRect(hwnd_, nullptr, FALSE);
                return 0;
            case WM_KEYDOWN:
                if (keyDown(wParam)) return 0;
                break;
            case WM_LBUTTONDOWN:
                click(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))},
                      wParam);
                return 0;
            default:
                break;
        }
        return Window::handle(msg, wParam, lParam);
    }

private:
    // Each tab is as wide as its caption and some air; when they do not
    // fit, all shrink alike and their captions end in an ellipsis.
    void layOut(int width) {
        const Dpi& d = site_.dpi();
        WindowDc screen(nullptr);
        std::vector<int> widths;
        int total = 0;
        for (const std::string& caption : captions_) {
            widths.push_back(
                std::max(d(48), textWidth(screen.get(), caption, site_.fonts().normal) + d(20)));
            total += widths.back();
        }
        const int room = width - d(2);
        int x = d(2);
        rects_.clear();
        for (int w : widths) {
            if (total > room) w = MulDiv(w, room, total);
            rects_.push_back(RECT{x, 0, x + w - d(1), d(TabbedPages::kStripHeight)});
            x += w;
        }
    }

    void paint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd_, &ps);
        RECT client;
        GetClientRect(hwnd_, &client);
        std::vector<TabFace> faces;
        for (std::size_t i = 0; i < captions_.size(); ++i) {
            faces.push_back(
                TabFace{captions_[i], rects_[i], static_cast<int>(i) == pages_.current()});
        }
        paintTabStrip(dc, SIZE{client.right, client.bottom}, site_.picture(), origin_, faces,
                      GetFocus() == hwnd_, site_.fonts().normal, site_.dpi());
        EndPaint(hwnd_, &ps);
    }

    bool keyDown(WPARAM key) {
        const int last = static_cast<int>(captions_.size()) - 1;
        switch (key) {
            case VK_LEFT:
                pages_.select(std::max(0, pages_.current() - 1));
                return true;
            case VK_RIGHT:
                pages_.select(std::min(last, pages_.current() + 1));
                return true;
            case VK_HOME:
                pages_.select(0);
                return true;
            case VK_END:
                pages_.select(last);
                return true;
            default:
                return false;
        }
    }

    void click(POINT p, WPARAM buttons) {
        for (std::size_t i = 0; i < rects_.size(); ++i) {
            if (PtInRect(&rects_[i], p)) {
                SetFocus(hwnd_);
                pages_.select(static_cast<int>(i));
                return;
            }
        }
        // Beside the tabs the strip is part of the picture: it drags the window.
        if (buttons == MK_LBUTTON) {
            ReleaseCapture();
            SendMessageA(GetAncestor(hwnd_, GA_ROOT), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
        }
    }

    TabbedPages& pages_;
    SkinnedWindow& site_;
    std::vector<std::string> captions_;
    std::vector<RECT> rects_;
    POINT origin_{0, 0};
};

// ---------------------------------------------------------------------------

TabbedPages::TabbedPages(int id, std::function<void(int page)> shown)
    : id_(id), shown_(std::move(shown)) {}

TabbedPages::~TabbedPages() = default;

bool TabbedPages::create(SkinnedWindow& site, const std::vector<std::string>& captions, int x,
                         int y, int w, int h) {
    site_ = site.hwnd();
    const int pageTop = y + kStripHeight;
    // The panel goes into the site's picture first: the pages take their
    // pictures from it.
    site.addPagePanel(x, pageTop, w, h - kStripHeight);
    strip_ = std::make_unique<TabStrip>(*this, site, captions);
    if (!strip_->create(id_, x, y, w)) return false;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        auto page = std::make_unique<DialogPage>();
        if (!page->create(site, x + 1, pageTop, w - 2, h - kStripHeight - 1)) return false;
        pages_.push_back(std::move(page));
    }
    return true;
}

HWND TabbedPages::strip() const { return strip_ ? strip_->hwnd() : nullptr; }

RECT TabbedPages::tabRect(int n) const { return strip_ ? strip_->tabRect(n) : RECT{0, 0, 0, 0}; }

void TabbedPages::select(int n) {
    if (n < 0 || n >= count() || n == current_) return;
    const int previous = current_;
    current_ = n;
    ShowWindow(page(n).hwnd(), SW_SHOW);
    if (previous >= 0) {
        HWND old = page(previous).hwnd();
        // Focus must not stay on a control that disappears with its page.
        HWND focus = GetFocus();
        if (focus && IsChild(old, focus)) SetFocus(strip());
        ShowWindow(old, SW_HIDE);
    }
    InvalidateRect(strip(), nullptr, FALSE);
    if (shown_) shown_(n);
}

void TabbedPages::step(int delta) {
    if (count() == 0) return;
    select(((current_ < 0 ? 0 : current_) + delta + count()) % count());
}

}  // namespace cindral::shell
