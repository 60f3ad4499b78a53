#include "shell/erase_items_dialog.h"

#include "engine/builtin_items.h"

namespace cindral::shell {

using selection::Edit;
using selection::ItemGroup;
using selection::ListPage;

namespace {

// Posted to the dialog when a record list has changed: it is handled once
// the list has finished its own work, and several changes come as one.
constexpr UINT kMsgRowsChanged = WM_APP + 20;

const DialogFrame kFrame{SkinWindow::EraseItems, "TForm1", "Erase Items", app::Dialog::EraseItems,
                         DialogButtons::HelpOkCancel};

// The "Check All Items" radio of each group; "Check None" is the next one.
struct RadioPair {
    ItemGroup group;
    int all;
};
constexpr RadioPair kRadioPairs[] = {{ItemGroup::Windows, 1}, {ItemGroup::InternetExplorer, 3},
                                     {ItemGroup::Plugins, 5}, {ItemGroup::Netscape, 7},
                                     {ItemGroup::Opera, 9},   {ItemGroup::Aol, 11}};

struct BrowserPage {
    const char* tab;
    const char* text;
    int firstBox, lastBox;
    ItemGroup group;
};
constexpr BrowserPage kBrowserPages[] = {
    {"Internet Explorer",
     "Internet Explorer Remembers URL's, Text, Pictures and Sounds. Also Web Servers put "
     "Cookies in Your Browser to Identify You.",
     8, 12, ItemGroup::InternetExplorer},
    {"Netscape",
     "Netscape Navigator Remembers URL's, Text, Pictures and Sounds. Also Web Servers put "
     "Cookies in Your Browser to Identify You.",
     13, 16, ItemGroup::Netscape},
    {"Opera",
     "Opera Remembers URL's, Text, Pictures and Sounds. Also Web Servers put Cookies in Your "
     "Browser to Identify You.",
     17, 19, ItemGroup::Opera},
    {"AOL",
     "AOL Remembers URL's, Text, Pictures and Sounds. Also Web Servers put Cookies in Your "
     "Browser to Identify You.",
     20, 23, ItemGroup::Aol},
};

// Layout of the pages, in design units relative to a page.
constexpr int kGroupX = 8, kGroupY = 8, kGroupW = 450, kGroupH = 283;
constexpr int kLeft = 18, kInnerW = 430;
constexpr int kLabelW = 76, kFieldX = 96, kFieldW = 236, kFieldH = 21;
constexpr int kButtonX = 348, kButtonW = 92, kButtonH = 22;
constexpr int kRadioY = 254;

std::vector<selection::BuiltInBox> dialogBoxes() {
    std::vector<selection::BuiltInBox> boxes;
    for (const engine::BuiltInItem* item : engine::ItemsInDialogOrder()) {
        boxes.push_back({item->name, item->group});
    }
    return boxes;
}

selection::EraseItemsFiles filesOf(const app::DataPaths& paths) {
    return {paths.home, paths.selItems, paths.customRegistry, paths.customFolder, paths.driveScan};
}

int pageIndex(ListPage page) { return static_cast<int>(page); }

void setCheck(HWND button, bool checked) {
    SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool isChecked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void insertRow(HWND list, int row, const std::string& caption, bool checked) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(caption.c_str());
    ListView_InsertItem(list, &item);
    // A list with check boxes inserts every row unchecked.
    if (checked) ListView_SetCheckState(list, row, TRUE);
}

void setCell(HWND list, int row, int column, const std::string& text) {
    ListView_SetItemText(list, row, column, const_cast<char*>(text.c_str()));
}

// Replaces every row at once, repainting once.
template <typename Fill>
void refill(HWND list, int count, Fill&& fill) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    ListView_SetItemCount(list, count);
    fill();
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

}  // namespace

EraseItemsDialog::EraseItemsDialog(DialogContext context, platform::Platform& platform,
                                   const app::DataPaths& paths)
    : SkinnedDialog(kFrame, std::move(context)),
      controller_(*this, platform, filesOf(paths), dialogBoxes()) {}

EraseItemsDialog::EraseItemsDialog(DialogHost& host)
    : EraseItemsDialog(host.dialogContext(), host.platform, host.paths) {}

EraseItemsDialog::~EraseItemsDialog() {
    // The window goes before the controller its notifications would reach.
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

HWND EraseItemsDialog::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

HWND EraseItemsDialog::notice(ListPage page) const {
    return notices_[static_cast<std::size_t>(pageIndex(page))];
}

HWND EraseItemsDialog::add(HWND control) {
    if (control) controls_[GetDlgCtrlID(control)] = control;
    return control;
}

// ---------------------------------------------------------------------------
// Layout.

bool EraseItemsDialog::build() {
    const RECT a = contentArea();
    TabbedPages* pages =
        addPageSet(*this, kPagesId,
                   {"Windows", "Browsers", "Applications", "Registry", "Folder", "Drive Scan"},
                   a.left, a.top, a.right - a.left, a.bottom - a.top);
    if (!pages) return false;
    buildWindowsPage(pages->page(0));
    buildBrowserPages(pages->page(1));
    if (!pageSet(kBrowserPagesId)) return false;
    buildApplicationsPage(pages->page(2));
    buildRegistryPage(pages->page(3));
    buildFolderPage(pages->page(4));
    buildDriveScanPage(pages->page(5));
    controller_.open();
    return true;
}

void EraseItemsDialog::addBoxes(DialogPage& page, int first, int last, int x, int y) {
    const auto items = engine::ItemsInDialogOrder();
    for (int n = first; n <= last; ++n, y += 21) {
        add(page.addCheckBox(boxId(n), items[static_cast<std::size_t>(n - 1)]->caption, x, y, 330,
                             17));
    }
}

void EraseItemsDialog::addRadioPair(DialogPage& page, int all, int x, int y) {
    add(page.addRadioButton(radioId(all), "Check All Items", x, y, 130, 17, true));
    add(page.addRadioButton(radioId(all + 1), "Check None", x + 142, y, 130, 17, false));
}

void EraseItemsDialog::buildWindowsPage(DialogPage& page) {
    page.addGroupBox("Windows Settings", kGroupX, kGroupY, kGroupW, kGroupH);
    page.addText(
        "Windows Remembers Information About You and Recent Activities. Select Items You Want "
        "to Clean.",
        kLeft, 34, kInnerW, 28);
    addBoxes(page, 1, 7, kLeft, 70);
    addRadioPair(page, 1, kLeft, kRadioY);
}

void EraseItemsDialog::buildBrowserPages(DialogPage& page) {
    std::vector<std::string> tabs;
    for (const BrowserPage& b : kBrowserPages) tabs.push_back(b.tab);
    TabbedPages* inner =
        addPageSet(page, kBrowserPagesId, tabs, kGroupX, kGroupY, kGroupW, kGroupH);
    if (!inner) return;
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        const BrowserPage& b = kBrowserPages[i];
        DialogPage& p = inner->page(static_cast<int>(i));
        p.addText(b.text, 10, 10, 428, 28);
        addBoxes(p, b.firstBox, b.lastBox, 10, 46);
        for (const RadioPair& pair : kRadioPairs) {
            if (pair.group == b.group) addRadioPair(p, pair.all, 10, 230);
        }
    }
}

void EraseItemsDialog::buildApplicationsPage(DialogPage& page) {
    page.addGroupBox("Custom List of Plug-Ins", kGroupX, kGroupY, kGroupW, kGroupH);
    page.addText(
        "Available Plug-Ins for Users of Popular Applications. Select Plug-Ins You Want Enable "
        "or Disable.",
        kLeft, 34, kInnerW, 28);
    ListViewOptions options;
    options.columns = {{"Application Name", 222}, {"Author", 110}};
    options.checkBoxes = true;
    add(page.addListView(kPluginListId, kLeft, 68, kInnerW, 176, options));
    addRadioPair(page, 5, kLeft, kRadioY);
}

// The Registry and Folder pages differ only in their texts, the Folder
// page's "Browse..." beside its folder and the Registry page's hint and
// "Regedit.exe".
struct RecordPageLayout {
    ListPage page;
    const char* group;
    const char* text;
    const char* labels[4];  // title, target, action, name
    int edits[3];           // Edit n of title, target, name
    int action;             // the choice's identifier
    std::vector<std::string> choices;
    int list;
    const char* columns[3];
    const char* hint;  // under the target, or null
    int button;        // "Browse..." or "Regedit.exe"
};

void EraseItemsDialog::buildRecordPage(DialogPage& page, const RecordPageLayout& l) {
    page.addGroupBox(l.group, kGroupX, kGroupY, kGroupW, kGroupH);
    page.addText(l.text, kLeft, 32, kInnerW, 28);
    const bool browse = l.button == kBrowseId;
    const int hint = l.hint ? 12 : 0;
    const int rows[] = {62, 88, 114 + hint, 140 + hint};
    for (int i = 0; i < 4; ++i) page.addText(l.labels[i], kLeft, rows[i] + 3, kLabelW, 16);
    // Created in the order Tab visits them: the fields, then the buttons, then the list.
    HWND title = add(page.addEdit(editId(l.edits[0]), kFieldX, rows[0], kFieldW, kFieldH));
    HWND target = add(page.addEdit(editId(l.edits[1]), kFieldX, rows[1],
                                   browse ? kFieldW - 68 : kFieldW, kFieldH));
    if (browse)
        add(page.addButton(kBrowseId, "Browse...", kFieldX + kFieldW - 62, rows[1], 62, kButtonH));
    if (l.hint) {
        page.addLabel(l.hint, kFieldX, rows[1] + 23, kFieldW, 14, fonts().normal,
                      colors::kMutedText);
    }
    add(page.addDropDownList(l.action, kFieldX, rows[2], kFieldW, l.choices));
    HWND name = add(page.addEdit(editId(l.edits[2]), kFieldX, rows[3], kFieldW, kFieldH));
    const int n = pageIndex(l.page) + 1;
    HWND addButton = add(page.addButton(addId(n), "Add", kButtonX, rows[0], kButtonW, kButtonH));
    HWND del = add(page.addButton(deleteId(n), "Del", kButtonX, rows[1], kButtonW, kButtonH));
    if (!browse)
        add(page.addButton(l.button, "Regedit.exe", kButtonX, rows[3], kButtonW, kButtonH));
    notices_[static_cast<std::size_t>(n - 1)] =
        page.addLabel("", kFieldX, rows[3] + 24, kInnerW - kFieldX + kLeft, 15, fonts().normal,
                      colors::kAlertText);
    ListViewOptions options;
    options.columns = {{l.columns[0], 100}, {l.columns[1], 95}, {l.columns[2], 75}};
    options.checkBoxes = true;
    options.gridLines = true;
    const int top = rows[3] + 44;
    HWND list =
        add(page.addListView(l.list, kLeft, top, kInnerW, kGroupY + kGroupH - 9 - top, options));
    for (HWND field : {title, target, name}) {
        pageOf_[field] = &page;
        runOnEnter(field, addButton);
    }
    runOnDelete(list, del);
}

void EraseItemsDialog::buildRegistryPage(DialogPage& page) {
    buildRecordPage(
        page, {ListPage::Registry,
               "Custom Registry Cleaner",
               "Enter Here Individual Registry Items which You wish to be Processed and Deleted.",
               {"Title:", "Registry Key:", "Action:", "Value Name:"},
               {1, 2, 4},
               kRegistryActionId,
               {std::begin(selection::kRegistryActionChoices),
                std::end(selection::kRegistryActionChoices)},
               kRegistryListId,
               {"Title", "Registry Key", "Value"},
               "(ex: HKEY_LOCAL_USER\\Software\\Cindral)",
               kRegeditId});
}

void EraseItemsDialog::buildFolderPage(DialogPage& page) {
    buildRecordPage(
        page,
        {ListPage::Folder,
         "Custom Folder and Files Cleaner",
         "Enter Here Individual Folders or Files which You wish to be Processed and Deleted.",
         {"Title:", "Folder Name:", "Action:", "File Name:"},
         {3, 5, 6},
         kFolderActionId,
         {std::begin(selection::kFolderActionChoices), std::end(selection::kFolderActionChoices)},
         kFolderListId,
         {"Title", "Folder Name", "File Name"},
         nullptr,
         kBrowseId});
}

void EraseItemsDialog::buildDriveScanPage(DialogPage& page) {
    page.addGroupBox("Drive Scan", kGroupX, kGroupY, kGroupW, kGroupH);
    page.addText(
        "Scan Drives and Erase Unwanted File Types. List of File Mask Patterns to be Scanned and "
        "Wiped from All Your Drives.",
        kLeft, 32, kInnerW, 28);
    addBoxes(page, 24, 24, kLeft, 64);
    page.addText(
        "Enter File Masks to Scan for Unwanted Files. Masks Must Include DOT(.) and can also use "
        "STAR(*).",
        kLeft, 88, kInnerW, 28);
    HWND list = add(page.addListBox(kMaskListId, kLeft, 122, 200, 160));
    page.addText("Enter File Masks and Press <return> or Add.", 232, 122, 216, 28);
    HWND mask = add(page.addEdit(editId(7), 232, 154, 120, kFieldH));
    add(page.addButton(addId(3), "Add", 360, 153, 80, kButtonH));
    HWND del = add(page.addButton(deleteId(3), "Del", 360, 180, 80, kButtonH));
    pageOf_[mask] = &page;
    // The page asks for Return: it adds the mask rather than closing the dialog.
    runOnEnter(mask, control(addId(3)));
    runOnDelete(list, del);
}

// ---------------------------------------------------------------------------
// What the user does.

void EraseItemsDialog::pageShown(int pageSetId, int page) {
    if (pageSetId == kPagesId) {
        controller_.pageShown(static_cast<selection::ErasePage>(page));
    } else if (pageSetId == kBrowserPagesId) {
        controller_.browserPageShown(page);
    }
}

bool EraseItemsDialog::accept() { return controller_.accept(); }

void EraseItemsDialog::command(int id, int code, HWND sender) {
    if (id >= boxId(1) && id <= boxId(24)) {
        if (code == BN_CLICKED) controller_.boxChanged(id - boxId(1), isChecked(sender));
        return;
    }
    if (id >= radioId(1) && id <= radioId(12)) {
        if (code != BN_CLICKED || !isChecked(sender)) return;
        const int n = id - radioId(0);
        for (const RadioPair& pair : kRadioPairs) {
            if (n == pair.all || n == pair.all + 1)
                controller_.radioChosen(pair.group, n == pair.all);
        }
        return;
    }
    if (id >= editId(1) && id <= editId(7)) {
        if (code != EN_CHANGE) return;
        const int n = id - editId(0);
        controller_.fieldChanged(n == 7                         ? ListPage::DriveScan
                                 : (n == 1 || n == 2 || n == 4) ? ListPage::Registry
                                                                : ListPage::Folder);
        return;
    }
    switch (id) {
        case kRegistryActionId:
        case kFolderActionId:
            if (code == CBN_SELCHANGE) {
                controller_.actionChosen(id == kRegistryActionId ? ListPage::Registry
                                                                 : ListPage::Folder);
            }
            return;
        case kMaskListId:
            // Getting the focus, a click, or the arrow keys moving the selection.
            if (code == LBN_SELCHANGE || code == LBN_SETFOCUS) {
                controller_.rowsChanged(ListPage::DriveScan);
            }
            return;
        case kRegeditId:
            context_.desktop.open(hwnd_, "open", "regedit.exe", "");
            return;
        case kBrowseId: {
            std::string folder;
            if (context_.desktop.chooseFolder(hwnd_, "Please select folder...", folder)) {
                setText(Edit::Edit5, folder);
            }
            return;
        }
        default:
            break;
    }
    if (code != BN_CLICKED) return;
    for (ListPage page : {ListPage::Registry, ListPage::Folder, ListPage::DriveScan}) {
        if (id == addId(pageIndex(page) + 1)) controller_.add(page);
        if (id == deleteId(pageIndex(page) + 1)) controller_.remove(page);
    }
}

LRESULT EraseItemsDialog::notify(const NMHDR& header) {
    const int id = static_cast<int>(header.idFrom);
    if (id == kPluginListId && header.code == LVN_ITEMCHANGED) {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (change.uChanged & LVIF_STATE) {
            controller_.pluginRowChanged(
                change.iItem, ListView_GetCheckState(header.hwndFrom, change.iItem) != 0);
        }
        return 0;
    }
    if (id != kRegistryListId && id != kFolderListId) return 0;
    // Any change of a row (selection or check mark, by mouse or keyboard)
    // and every click; changes made while the list is filled are not the user's.
    if ((header.code == LVN_ITEMCHANGED && !controller_.loading()) || header.code == NM_CLICK) {
        rowsChangedLater(id == kRegistryListId ? ListPage::Registry : ListPage::Folder);
    }
    return 0;
}

void EraseItemsDialog::rowsChangedLater(ListPage page) {
    bool& pending = rowsPending_[static_cast<std::size_t>(pageIndex(page))];
    if (pending) return;
    pending = true;
    PostMessageA(hwnd_, kMsgRowsChanged, static_cast<WPARAM>(pageIndex(page)), 0);
}

LRESULT EraseItemsDialog::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kMsgRowsChanged && wParam < rowsPending_.size()) {
        rowsPending_[wParam] = false;
        controller_.rowsChanged(static_cast<ListPage>(wParam));
        return 0;
    }
    return SkinnedDialog::handle(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// What the controller shows.

HWND EraseItemsDialog::listOf(ListPage page) const {
    switch (page) {
        case ListPage::Registry:
            return control(kRegistryListId);
        case ListPage::Folder:
            return control(kFolderListId);
        case ListPage::DriveScan:
            break;
    }
    return control(kMaskListId);
}

HWND EraseItemsDialog::editOf(Edit field) const {
    return control(editId(static_cast<int>(field) + 1));
}

void EraseItemsDialog::setBox(int box, bool checked) { setCheck(control(boxId(box + 1)), checked); }

void EraseItemsDialog::setGroupState(ItemGroup group, selection::GroupState state) {
    for (const RadioPair& pair : kRadioPairs) {
        if (pair.group != group) continue;
        setCheck(control(radioId(pair.all)), state == selection::GroupState::All);
        setCheck(control(radioId(pair.all + 1)), state == selection::GroupState::None);
    }
}

void EraseItemsDialog::setPluginRows(const std::vector<selection::PluginRow>& rows) {
    HWND list = control(kPluginListId);
    refill(list, static_cast<int>(rows.size()), [&] {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            insertRow(list, static_cast<int>(i), rows[i].caption, rows[i].checked);
            setCell(list, static_cast<int>(i), 1, rows[i].author);
        }
    });
}

void EraseItemsDialog::setPluginChecked(int row, bool checked) {
    ListView_SetCheckState(control(kPluginListId), row, checked);
}

void EraseItemsDialog::setRecordRows(ListPage page, const std::vector<selection::RecordRow>& rows) {
    HWND list = listOf(page);
    refill(list, static_cast<int>(rows.size()), [&] {
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const int row = static_cast<int>(i);
            insertRow(list, row, rows[i].title, rows[i].checked);
            setCell(list, row, 1, rows[i].target);
            setCell(list, row, 2, rows[i].name);
        }
    });
}

void EraseItemsDialog::setMasks(const std::vector<std::string>& masks) {
    HWND list = control(kMaskListId);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& mask : masks) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mask.c_str()));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

int EraseItemsDialog::selectedRow(ListPage page) {
    HWND list = listOf(page);
    if (page == ListPage::DriveScan) {
        const LRESULT row = SendMessageA(list, LB_GETCURSEL, 0, 0);
        return row == LB_ERR ? -1 : static_cast<int>(row);
    }
    return ListView_GetNextItem(list, -1, LVNI_SELECTED);
}

std::vector<bool> EraseItemsDialog::rowChecks(ListPage page) {
    HWND list = listOf(page);
    std::vector<bool> checks(static_cast<std::size_t>(ListView_GetItemCount(list)));
    for (std::size_t i = 0; i < checks.size(); ++i) {
        checks[i] = ListView_GetCheckState(list, static_cast<int>(i)) != 0;
    }
    return checks;
}

std::string EraseItemsDialog::text(Edit field) { return textOf(editOf(field)); }

void EraseItemsDialog::setText(Edit field, const std::string& text) {
    SetWindowTextA(editOf(field), text.c_str());
}

void EraseItemsDialog::enableField(Edit field, bool enabled) {
    EnableWindow(editOf(field), enabled);
}

void EraseItemsDialog::markField(Edit field, bool marked) {
    HWND edit = editOf(field);
    auto it = pageOf_.find(edit);
    if (it != pageOf_.end()) it->second->markField(edit, marked);
}

void EraseItemsDialog::setNotice(ListPage page, const std::string& text) {
    HWND label = notice(page);
    if (!label || textOf(label) == text) return;
    SetWindowTextA(label, text.c_str());
    InvalidateRect(label, nullptr, TRUE);  // drawn over the page's picture
}

int EraseItemsDialog::choice(ListPage page) {
    return static_cast<int>(
        SendMessageA(control(page == ListPage::Registry ? kRegistryActionId : kFolderActionId),
                     CB_GETCURSEL, 0, 0));
}

void EraseItemsDialog::setChoice(ListPage page, int position) {
    SendMessageA(control(page == ListPage::Registry ? kRegistryActionId : kFolderActionId),
                 CB_SETCURSEL, static_cast<WPARAM>(position), 0);
}

void EraseItemsDialog::enableAdd(ListPage page, bool enabled) {
    EnableWindow(control(addId(pageIndex(page) + 1)), enabled);
}

void EraseItemsDialog::enableDelete(ListPage page, bool enabled) {
    EnableWindow(control(deleteId(pageIndex(page) + 1)), enabled);
}

bool EraseItemsDialog::confirm(const std::string& question) {
    return SkinnedDialog::confirm(question);
}

void EraseItemsDialog::warn(const std::string& text) { message(text, MB_OK | MB_ICONWARNING); }

}  // namespace cindral::shell
