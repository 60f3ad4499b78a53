#include "shell/log_list.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "shell/main_window_ids.h"

namespace cindral::shell {

namespace {

// A list control repaints its rows at each catch-up; under Wine a paint
// waits on the X server, and twenty a second left the window unanswering
// for seconds on a busy machine. Four a second still shows a run's log
// moving, and a line that comes after a quiet spell shows at once.
constexpr DWORD kRefreshMs = 250;

}  // namespace

bool LogList::create(HWND parent, int id, const RECT& r, HFONT font) {
    parent_ = parent;
    list_ = CreateWindowExA(0, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                LVS_NOCOLUMNHEADER | LVS_SINGLESEL,
                            r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleA(nullptr), nullptr);
    if (!list_) return false;
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT);
    SendMessageA(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    LVCOLUMNA col{};
    col.mask = LVCF_WIDTH;
    col.cx = (r.right - r.left) - GetSystemMetrics(SM_CXVSCROLL) - 4;
    ListView_InsertColumn(list_, 0, &col);
    return true;
}

void LogList::bookChanged(app::QueueRunView::LineEvent event) {
    using Event = app::QueueRunView::LineEvent;
    if (event == Event::LastDeleted || event == Event::Cleared) linesRemoved_ = true;
    // The list needs the final count and the text of every line rewritten
    // meanwhile before it next paints.
    if (event == Event::Replaced && book_.viewLineCount() > 0)
        firstDirty_ = std::min(firstDirty_, book_.viewLineCount() - 1);
    const DWORD now = GetTickCount();
    if (now - lastRefresh_ >= kRefreshMs) {
        refresh();
    } else if (!refreshPending_) {
        refreshPending_ = SetTimer(parent_, kLogTimer, kRefreshMs, nullptr) != 0;
        if (!refreshPending_) refresh();
    }
}

void LogList::refresh() {
    if (refreshPending_) {
        KillTimer(parent_, kLogTimer);
        refreshPending_ = false;
    }
    lastRefresh_ = GetTickCount();
    const int n = static_cast<int>(book_.viewLineCount());
    const int shown = ListView_GetItemCount(list_);
    if (n != shown) ListView_SetItemCountEx(list_, n, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    // Lines were taken away since the last refresh: what is on screen may
    // belong to other lines now.
    if (linesRemoved_ || n < shown) InvalidateRect(list_, nullptr, TRUE);
    linesRemoved_ = false;
    if (n > 0) {
        ListView_EnsureVisible(list_, n - 1, FALSE);
        // Only the rows on view now can show an old text: the last page.
        if (firstDirty_ < static_cast<std::size_t>(n)) {
            const int onView = n - 1 - ListView_GetCountPerPage(list_);
            ListView_RedrawItems(list_, std::max(static_cast<int>(firstDirty_), onView), n - 1);
        }
    }
    firstDirty_ = kNoneDirty;
}

bool LogList::handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_TIMER:
            if (wParam != kLogTimer) return false;
            refresh();
            result = 0;
            return true;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->hwndFrom != list_ || header->code != LVN_GETDISPINFOA) return false;
            lineText(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
            result = 0;
            return true;
        }
        default:
            return false;
    }
}

void LogList::lineText(NMLVDISPINFOA& info) const {
    if (!(info.item.mask & LVIF_TEXT) || info.item.cchTextMax <= 0) return;
    const std::size_t i = static_cast<std::size_t>(info.item.iItem);
    if (info.item.iItem < 0 || i >= book_.viewLineCount()) {
        info.item.pszText[0] = '\0';
        return;
    }
    std::string_view line = book_.viewLine(i);
    const std::size_t n = std::min(line.size(), static_cast<std::size_t>(info.item.cchTextMax - 1));
    std::memcpy(info.item.pszText, line.data(), n);
    info.item.pszText[n] = '\0';
}

}  // namespace cindral::shell
