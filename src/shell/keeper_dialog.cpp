#include "shell/keeper_dialog.h"

#include <utility>

namespace cindral::shell {

using settings::KeeperPage;
using settings::KeeperSide;

namespace {

constexpr int kFirstPageId = KeeperDialog::kFirstControlId + 10;
constexpr int kIdsPerPage = 10;

// A page in design units: the group panel, the two lists with their labels
// and the button column between them, and the notice line below.
constexpr int kGroupX = 8, kGroupY = 4, kGroupW = 525, kGroupH = 264;
constexpr int kListW = 185, kListH = 203, kListY = 43, kLabelY = 28;
constexpr int kLeftX = 23, kRightX = 333;
constexpr int kButtonX = 222, kButtonW = 97, kButtonH = 22;
constexpr int kAddY = 101, kRemoveY = 131, kRefreshY = 173;
constexpr int kNoticeY = 249;

EntryIcon iconOf(KeeperPage page) {
    switch (page) {
        case KeeperPage::Cookies:
            return EntryIcon::Cookie;
        case KeeperPage::Addresses:
            return EntryIcon::Address;
        case KeeperPage::OpenSave:
            return EntryIcon::Document;
    }
    return EntryIcon::Document;
}

void insertRow(HWND list, int at, const std::string& text) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = at;
    item.pszText = const_cast<char*>(text.c_str());
    item.iImage = 0;
    ListView_InsertItem(list, &item);
}

// The column as wide as its longest row, so a long address or path can be
// scrolled to, and never narrower than the list, so a selected row is
// marked across the whole list.
void fitColumn(HWND list) {
    ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE);
    RECT client;
    GetClientRect(list, &client);
    if (ListView_GetColumnWidth(list, 0) < client.right) {
        ListView_SetColumnWidth(list, 0, client.right);
    }
}

// The page and part a control id stands for; false for an id of no page.
bool locate(int id, KeeperPage& page, KeeperDialog::Part& part) {
    const int offset = id - kFirstPageId;
    if (offset < 0 || offset >= settings::kKeeperPageCount * kIdsPerPage) return false;
    if (offset % kIdsPerPage >= KeeperDialog::PartCount) return false;
    page = static_cast<KeeperPage>(offset / kIdsPerPage);
    part = static_cast<KeeperDialog::Part>(offset % kIdsPerPage);
    return true;
}

}  // namespace

int KeeperDialog::controlId(KeeperPage page, Part part) {
    return kFirstPageId + static_cast<int>(page) * kIdsPerPage + part;
}

KeeperDialog::KeeperDialog(DialogContext context, platform::Platform& platform,
                           settings::KeeperFiles files)
    : SkinnedDialog(
          {SkinWindow::Keeper, "TForm3", "Keeper", app::Dialog::Keeper, DialogButtons::HelpClose},
          std::move(context)),
      controller_(*this, platform, std::move(files)) {}

KeeperDialog::KeeperDialog(DialogHost& host)
    : KeeperDialog(host.dialogContext(), host.platform,
                   {host.paths.cookieKept, host.paths.addressesKept, host.paths.openSaveKept}) {}

HWND KeeperDialog::control(KeeperPage page, Part part) const {
    return controls_[static_cast<std::size_t>(page)][static_cast<std::size_t>(part)];
}

HWND KeeperDialog::list(KeeperPage page, KeeperSide side) const {
    return control(page, side == KeeperSide::Left ? LeftList : RightList);
}

bool KeeperDialog::build() {
    const RECT a = contentArea();
    std::vector<std::string> tabs;
    for (const auto& info : settings::kKeeperPages) tabs.emplace_back(info.tab);
    TabbedPages* pages =
        addPageSet(*this, kPagesId, tabs, a.left, a.top, a.right - a.left, a.bottom - a.top);
    if (!pages) return false;
    for (int i = 0; i < settings::kKeeperPageCount; ++i) {
        if (!buildPage(static_cast<KeeperPage>(i), pages->page(i))) return false;
    }
    controller_.open();
    return true;
}

bool KeeperDialog::buildPage(KeeperPage page, DialogPage& site) {
    const settings::KeeperPageInfo& info = settings::kKeeperPages[static_cast<std::size_t>(page)];
    auto& c = controls_[static_cast<std::size_t>(page)];
    site.addGroupBox(info.group, kGroupX, kGroupY, kGroupW, kGroupH);
    const HFONT font = site.fonts().normal;
    site.addLabel(info.leftLabel, kLeftX, kLabelY, kListW, 14, font, colors::kBodyText);
    site.addLabel(info.rightLabel, kRightX, kLabelY, kListW, 14, font, colors::kBodyText);
    // Made in the order Tab visits them: the left list, the buttons, the right list.
    const auto addList = [&](Part part, int x) {
        ListViewOptions options;
        options.header = false;
        options.multiSelect = true;
        options.smallImages = createEntryImages(iconOf(page), site.dpi()).release();
        c[part] = site.addListView(controlId(page, part), x, kListY, kListW, kListH, options);
    };
    addList(LeftList, kLeftX);
    c[AddButton] =
        site.addButton(controlId(page, AddButton), "Add ->", kButtonX, kAddY, kButtonW, kButtonH);
    c[RemoveButton] = site.addButton(controlId(page, RemoveButton), "<- Remove", kButtonX, kRemoveY,
                                     kButtonW, kButtonH);
    c[RefreshButton] = site.addButton(controlId(page, RefreshButton), "Refresh List", kButtonX,
                                      kRefreshY, kButtonW, kButtonH);
    addList(RightList, kRightX);
    c[Notice] = site.addLabel("", kLeftX, kNoticeY, kRightX + kListW - kLeftX, 14, font,
                              colors::kWarningText, SS_LEFT | SS_PATHELLIPSIS);
    for (HWND w : c) {
        if (!w) return false;
    }
    // Numbered afterwards: a label made with an id would take the clicks
    // that drag the window.
    SetWindowLongPtrA(c[Notice], GWLP_ID, controlId(page, Notice));
    ShowWindow(c[Notice], SW_HIDE);
    return true;
}

void KeeperDialog::pageShown(int pageSetId, int page) {
    if (pageSetId == kPagesId) controller_.pageEntered(static_cast<KeeperPage>(page));
}

void KeeperDialog::command(int id, int code, HWND control) {
    (void)control;
    KeeperPage page;
    Part part;
    if (code != BN_CLICKED || !locate(id, page, part)) return;
    switch (part) {
        case AddButton:
            controller_.add(page);
            break;
        case RemoveButton:
            controller_.remove(page);
            break;
        case RefreshButton:
            controller_.refresh(page);
            break;
        default:
            return;
    }
    // Once per move rather than per row: fitting measures every row.
    for (KeeperSide side : {KeeperSide::Left, KeeperSide::Right}) fitColumn(list(page, side));
}

LRESULT KeeperDialog::notify(const NMHDR& header) {
    KeeperPage page;
    Part part;
    if (!locate(static_cast<int>(header.idFrom), page, part)) return 0;
    if (part != LeftList && part != RightList) return 0;
    const KeeperSide side = part == LeftList ? KeeperSide::Left : KeeperSide::Right;
    if (header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) &&
            ((change.uOldState ^ change.uNewState) & LVIS_SELECTED)) {
            controller_.selectionChanged(page, side);
        }
    } else if (header.code == NM_CLICK) {
        controller_.selectionChanged(page, side);
    }
    return 0;
}

// ---------------------------------------------------------------------------
// settings::KeeperView

void KeeperDialog::setRows(KeeperPage page, KeeperSide side, const std::vector<std::string>& rows) {
    HWND l = list(page, side);
    SendMessageA(l, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(l);
    ListView_SetItemCount(l, static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) insertRow(l, static_cast<int>(i), rows[i]);
    fitColumn(l);
    SendMessageA(l, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(l, nullptr, TRUE);
}

void KeeperDialog::appendRow(KeeperPage page, KeeperSide side, const std::string& row) {
    HWND l = list(page, side);
    insertRow(l, ListView_GetItemCount(l), row);
}

void KeeperDialog::deleteRow(KeeperPage page, KeeperSide side, int row) {
    ListView_DeleteItem(list(page, side), row);
}

std::vector<int> KeeperDialog::selectedRows(KeeperPage page, KeeperSide side) {
    HWND l = list(page, side);
    std::vector<int> rows;
    for (int i = ListView_GetNextItem(l, -1, LVNI_SELECTED); i != -1;
         i = ListView_GetNextItem(l, i, LVNI_SELECTED)) {
        rows.push_back(i);
    }
    return rows;
}

int KeeperDialog::selectedCount(KeeperPage page, KeeperSide side) {
    return static_cast<int>(ListView_GetSelectedCount(list(page, side)));
}

void KeeperDialog::enableMoves(KeeperPage page, bool add, bool remove) {
    enable(control(page, AddButton), add, list(page, KeeperSide::Left));
    enable(control(page, RemoveButton), remove, list(page, KeeperSide::Right));
}

// A button that goes grey while it has the focus hands it to its list, so
// the keyboard is not left on a control that takes nothing.
void KeeperDialog::enable(HWND button, bool enabled, HWND focusInstead) {
    if (!enabled && GetFocus() == button) SetFocus(focusInstead);
    EnableWindow(button, enabled);
}

void KeeperDialog::setNotice(KeeperPage page, const std::string& text) {
    HWND notice = control(page, Notice);
    setLabel(notice, text);
    ShowWindow(notice, text.empty() ? SW_HIDE : SW_SHOW);
}

}  // namespace cindral::shell
