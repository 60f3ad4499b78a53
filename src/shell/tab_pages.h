// A flat tab strip over a set of pages (the dialogs' FlatTabControl over
// their Notebook): one page per tab, each a child surface whose controls
// are shown only while its tab is chosen. Page sets nest: a page may hold
// a page set of its own.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/window.h"

namespace cindral::shell {

// A page: controls are added to it in design units relative to its
// top-left corner. Commands and notifications of its controls go on to the
// window it lies on, and so up to the dialog.
class DialogPage : public SkinnedWindow {
public:
    bool create(SkinnedWindow& site, int x, int y, int w, int h);

protected:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

class TabStrip;

class TabbedPages {
public:
    // Height of the tab strip in design units; the pages fill the rest.
    static constexpr int kStripHeight = 22;

    // `shown` is called with n whenever page n comes into view.
    TabbedPages(int id, std::function<void(int page)> shown);
    ~TabbedPages();
    TabbedPages(const TabbedPages&) = delete;
    TabbedPages& operator=(const TabbedPages&) = delete;

    // Lays out the strip across the top of the design rectangle on `site`
    // and the pages below it. No page is on view until the first select.
    bool create(SkinnedWindow& site, const std::vector<std::string>& captions, int x, int y, int w,
                int h);

    int id() const { return id_; }
    int count() const { return static_cast<int>(pages_.size()); }
    // The page on view; -1 before the first select.
    int current() const { return current_; }
    DialogPage& page(int n) { return *pages_[static_cast<std::size_t>(n)]; }
    const DialogPage& page(int n) const { return *pages_[static_cast<std::size_t>(n)]; }
    HWND strip() const;
    // The window the strip and pages lie on.
    HWND site() const { return site_; }
    // Where tab n is drawn, in the strip's client pixels.
    RECT tabRect(int n) const;

    // Shows page n (and hides the others), then calls the page-shown
    // handler. Choosing the page on view, or one out of range, does nothing.
    void select(int n);
    // The next (+1) or previous (-1) page, round the end.
    void step(int delta);

private:
    int id_;
    std::function<void(int)> shown_;
    HWND site_ = nullptr;
    std::unique_ptr<TabStrip> strip_;
    std::vector<std::unique_ptr<DialogPage>> pages_;
    int current_ = -1;
};

}  // namespace cindral::shell
