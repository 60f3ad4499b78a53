// The log view of the main window: a virtual list control over the log
// book's view lines, which it reads as it paints. It catches up with the
// book at most every 250 ms: a run can add thousands of lines a second, and
// scrolling the list for each of them would cost more than the run itself.
#pragma once

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>

#include <cstddef>

#include "app/log_book.h"
#include "app/queue_run_view.h"

namespace cindral::shell {

class LogList {
public:
    explicit LogList(const app::LogBook& book) : book_(book) {}

    // Creates the list on `parent` at a pixel rectangle. The list uses the
    // parent's timer kLogTimer, whose messages the parent hands to handle().
    bool create(HWND parent, int id, const RECT& r, HFONT font);
    HWND hwnd() const { return list_; }

    // The book's view has changed.
    void bookChanged(app::QueueRunView::LineEvent event);
    // Catches up with the book now.
    void refresh();

    // The parent's messages that are the list's: its requests for a line's
    // text and the catch-up timer. True when `msg` was one of them, with the
    // answer in `result`.
    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void lineText(NMLVDISPINFOA& info) const;

    const app::LogBook& book_;
    HWND parent_ = nullptr;
    HWND list_ = nullptr;
    bool refreshPending_ = false;
    DWORD lastRefresh_ = 0;
    // The first line rewritten since the last refresh; the lines below it
    // are new or rewritten too. A rewritten line may have lines added below
    // it before the list catches up, so it need not be the last one then.
    static constexpr std::size_t kNoneDirty = static_cast<std::size_t>(-1);
    std::size_t firstDirty_ = kNoneDirty;
    bool linesRemoved_ = false;
};

}  // namespace cindral::shell
