#include "shell/options_dialog.h"

#include <commctrl.h>

#include "platform/key_names.h"

namespace cindral::shell {

using settings::OptionsBox;
using settings::OptionsField;
using settings::OptionsGroup;
using settings::OptionsHotkey;
using settings::OptionsList;
using settings::OptionsPage;
using settings::OptionsPart;

namespace {

const DialogFrame kFrame{SkinWindow::Options, "TForm2", "Options", app::Dialog::Options,
                         DialogButtons::HelpOkCancel};

constexpr int kFirstBoxId = 100;
constexpr int kFirstHotkeyId = 120;
constexpr int kFirstListId = 130;
constexpr int kFirstRadioId[2] = {140, 150};
constexpr int kFirstFieldId = 160;

// Page layout, in design units relative to the page: a group panel across
// the page, its controls indented below its caption band.
constexpr int kGroupX = 8, kGroupY = 6, kGroupW = 444;
constexpr int kLeft = 20, kInnerW = 420;
// Body text keeps clear of the panel's edge: the word-wrap of a label and
// the width of its drawn text may differ by a few pixels.
constexpr int kTextW = 410;
constexpr int kRow = 17;  // check boxes, radio buttons, one-line labels

template <typename E>
int index(E e) {
    return static_cast<int>(e);
}

}  // namespace

OptionsDialog::OptionsDialog(DialogHost& host)
    : SkinnedDialog(kFrame, host.dialogContext()),
      layoutKeyNames_(platform::createLayoutKeyNames()),
      form_(*this, host.settings, *host.platform.registry, host.platform.system->executablePath(),
            *layoutKeyNames_) {}

OptionsDialog::OptionsDialog(DialogContext context, const OptionsSetup& setup)
    : SkinnedDialog(kFrame, std::move(context)),
      form_(*this, setup.settings, setup.registry, setup.programPath, setup.keyNames) {}

HWND OptionsDialog::box(OptionsBox which) const { return boxes_[index(which)]; }
HWND OptionsDialog::hotkeyField(OptionsHotkey which) const { return hotkeys_[index(which)]; }
HWND OptionsDialog::list(OptionsList which) const { return lists_[index(which)]; }
HWND OptionsDialog::field(OptionsField which) const { return fields_[index(which)]; }
HWND OptionsDialog::radio(OptionsGroup group, int button) const {
    return button >= 1 && button <= 3 ? radios_[index(group)][button - 1] : nullptr;
}

bool OptionsDialog::build() {
    const RECT a = contentArea();
    TabbedPages* set = addPageSet(
        *this, kPagesId,
        {"General", "Security", "Schedule", "Boss Key", "Protect Home Page", "Log Refresh"}, a.left,
        a.top, a.right - a.left, a.bottom - a.top);
    if (!set) return false;
    buildGeneral(set->page(index(OptionsPage::General)));
    buildSecurity(set->page(index(OptionsPage::Security)));
    buildSchedule(set->page(index(OptionsPage::Schedule)));
    buildBossKey(set->page(index(OptionsPage::BossKey)));
    buildProtectHomePage(set->page(index(OptionsPage::ProtectHomePage)));
    buildLogRefresh(set->page(index(OptionsPage::LogRefresh)));
    form_.open();
    return true;
}

HWND OptionsDialog::addBox(DialogPage& page, OptionsBox which, const char* text, int x, int y,
                           int w) {
    HWND b = page.addCheckBox(kFirstBoxId + index(which), text, x, y, w, kRow);
    boxes_[index(which)] = b;
    return b;
}

HWND OptionsDialog::addHotkey(DialogPage& page, OptionsHotkey which, int x, int y) {
    HWND h = page.addControl(HOTKEY_CLASSA, kFirstHotkeyId + index(which), "", 0, x, y, 200, 22,
                             true, WS_EX_CLIENTEDGE);
    // A key without Ctrl or Alt would take that key, or its capital, from
    // every program; the field turns it into Ctrl+Alt and the key, as the
    // system's own shortcut fields do.
    SendMessageA(h, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                 MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    hotkeys_[index(which)] = h;
    return h;
}

void OptionsDialog::buildGeneral(DialogPage& page) {
    page.addGroupBox("General Settings", kGroupX, kGroupY, kGroupW, 152);
    struct Row {
        OptionsBox box;
        const char* text;
    };
    const Row rows[] = {
        {OptionsBox::StartWithWindows, "Start Cindral when Windows Starts"},
        {OptionsBox::InvisibleMode, "Start in Invisible Mode"},
        {OptionsBox::StoreDate, "Store Last Erased Date"},
        {OptionsBox::StoreLog, "Store Log File"},
        {OptionsBox::ResultWindow, "Show Result Window after Erasing Tracks"},
        {OptionsBox::CloseIEBeforeErasing, "Close Internet Explorer before Erasing"},
    };
    int y = 32;
    for (const Row& r : rows) {
        addBox(page, r.box, r.text, kLeft, y, kInnerW);
        y += 20;
    }
    page.addGroupBox("HotKey Settings", kGroupX, 166, kGroupW, 100);
    page.addText("HotKey to Start a Erasing:", kLeft, 199, 180, kRow);
    addHotkey(page, OptionsHotkey::StartErasing, 206, 196);
    page.addText("Invisible Mode HotKey:", kLeft, 231, 180, kRow);
    addHotkey(page, OptionsHotkey::InvisibleMode, 206, 228);
}

void OptionsDialog::buildSecurity(DialogPage& page) {
    page.addGroupBox("Security Settings", kGroupX, kGroupY, kGroupW, 264);
    addBox(page, OptionsBox::SecureErasing, "Enable Secure File Destruction", kLeft, 32, kInnerW);
    page.addText(
        "Choose the method that suits your policies for the secure destruction of files. "
        "Practically, any of these options will keep you safe from snoops.",
        kLeft, 56, kTextW, 28);
    std::vector<HWND>& part = parts_[index(OptionsPart::SecureDestruction)];
    part.push_back(page.addText("Overwrite Tracks File(s)", kLeft, 97, 124, kRow));
    std::vector<std::string> passes;
    for (int n = 1; n <= settings::kPassItems; ++n) passes.push_back(std::to_string(n));
    lists_[index(OptionsList::Passes)] =
        page.addDropDownList(kFirstListId + index(OptionsList::Passes), 146, 94, 48, passes);
    part.push_back(lists_[index(OptionsList::Passes)]);
    part.push_back(page.addText("times Before it is Erased", 200, 97, 200, kRow));

    part.push_back(page.addGroupBox("Method of Destruction", kLeft, 126, kInnerW, 110));
    const char* methods[3][2] = {{"Zero (Maximum Speed)", "0000"},
                                 {"Zero + Reverse", "0000 1111"},
                                 {"Zero + Reverse + Random (DOD)", "0000 1111 ????"}};
    for (int i = 0; i < 3; ++i) {
        const int y = 156 + i * 26;
        HWND r = page.addRadioButton(kFirstRadioId[index(OptionsGroup::Method)] + i, methods[i][0],
                                     34, y, 230, kRow, i == 0);
        radios_[index(OptionsGroup::Method)][i] = r;
        part.push_back(r);
        part.push_back(page.addLabel(methods[i][1], 280, y, 140, kRow, page.fonts().normal,
                                     colors::kMutedText, SS_LEFT | SS_CENTERIMAGE));
    }
}

void OptionsDialog::buildSchedule(DialogPage& page) {
    page.addGroupBox("Schedule", kGroupX, kGroupY, kGroupW, 264);
    page.addText(
        "You can run cleaning automatically based on a specific event, such as closing your "
        "browser, or based on a specific time interval. ",
        kLeft, 32, kTextW, 28);
    addBox(page, OptionsBox::EraseEvery, "Auto Cleaning Every", kLeft, 74, 128);
    lists_[index(OptionsList::Period)] =
        page.addDropDownList(kFirstListId + index(OptionsList::Period), 152, 71, 100,
                             {"15 Minutes", "1 Hour", "8 Hours", "Day"});
    parts_[index(OptionsPart::PeriodList)].push_back(lists_[index(OptionsList::Period)]);
    addBox(page, OptionsBox::EraseStart, "Auto Cleaning When Cindral Starts", kLeft, 104, kInnerW);
    addBox(page, OptionsBox::EraseWinStart, "Auto Cleaning When Windows Starts", kLeft, 126,
           kInnerW);
    addBox(page, OptionsBox::EraseWinShutdown, "Auto Cleaning When Windows Shutdown", kLeft, 148,
           kInnerW);
    addBox(page, OptionsBox::EraseIEShutDown, "Auto Cleaning When Internet Explorer Shutdown",
           kLeft, 170, kInnerW);
}

void OptionsDialog::buildBossKey(DialogPage& page) {
    page.addGroupBox("Boss Key", kGroupX, kGroupY, kGroupW, 264);
    page.addText(
        "Boss Key is a Keyboard Shortcut Compination. Pressing it Will Start Specified Action.",
        kLeft, 32, kTextW, 28);
    page.addText("Boss Key:", kLeft, 75, 80, kRow);
    addHotkey(page, OptionsHotkey::BossKey, 104, 72);
    page.addText("Action for Boss Key:", kLeft, 108, kInnerW, kRow);
    const char* actions[3] = {"Hide All Internet Explorers", "Close All Internet Explorers",
                              "Close All Internet Explorers and Start Background Erasing"};
    for (int i = 0; i < 3; ++i) {
        radios_[index(OptionsGroup::BossAction)][i] =
            page.addRadioButton(kFirstRadioId[index(OptionsGroup::BossAction)] + i, actions[i], 34,
                                130 + i * 22, 400, kRow, i == 0);
    }
}

void OptionsDialog::buildProtectHomePage(DialogPage& page) {
    page.addGroupBox("Protect Internet Explorer Home Page", kGroupX, kGroupY, kGroupW, 264);
    page.addText(
        "Some Sites Change Your Start Page. Checking This Feature will Enable Cindral to Monitor "
        "Your Home Page Settings. If Another Sites Attempts to Change Your Home Page the Cindral "
        "will Disallow any Changes.",
        kLeft, 32, kTextW, 54);
    addBox(page, OptionsBox::LockHomePage, "Lock Your Home Page (you can specify Home Page below)",
           kLeft, 96, kInnerW);
    fields_[index(OptionsField::HomePage)] =
        page.addEdit(kFirstFieldId + index(OptionsField::HomePage), kLeft, 124, 322, 22);
    page.addButton(kUseBlankId, "Use Blank", 350, 123, 88, 24);
}

void OptionsDialog::buildLogRefresh(DialogPage& page) {
    page.addGroupBox("Auto-Refresh Log Window", kGroupX, kGroupY, kGroupW, 264);
    page.addText(
        "During long operations invloving thousands of lines, the Log Window may become too "
        "full, using memory and system resources to excess.",
        kLeft, 32, kTextW, 28);
    page.addText(
        "This function will automatically clear and refresh Log Window after the pre-set number "
        "of lines. If Store Log File is also switched on, a new Auto-Log is saved on each "
        "refresh.",
        kLeft, 66, kTextW, 42);
    page.addText("Recommended value is 2500 - 5000 lines.", kLeft, 114, kInnerW, kRow);
    addBox(page, OptionsBox::LogRefreshEnable, "Auto-Refresh the Log Window every", kLeft, 146,
           200);
    fields_[index(OptionsField::LogLines)] =
        page.addDropDownList(kFirstFieldId + index(OptionsField::LogLines), 224, 143, 80,
                             {"1000", "2500", "5000", "10000"}, -1, true);
    parts_[index(OptionsPart::LogCombo)].push_back(fields_[index(OptionsField::LogLines)]);
    page.addText("lines.", 312, 146, 60, kRow);
}

void OptionsDialog::pageShown(int pageSetId, int page) {
    if (pageSetId == kPagesId) form_.pageShown(static_cast<OptionsPage>(page));
}

bool OptionsDialog::accept() {
    form_.store();
    return true;
}

void OptionsDialog::command(int id, int code, HWND /*control*/) {
    if (code != BN_CLICKED) return;
    if (id == kUseBlankId) {
        form_.useBlank();
    } else if (id >= kFirstBoxId && id < kFirstBoxId + settings::kOptionsBoxCount) {
        form_.boxClicked(static_cast<OptionsBox>(id - kFirstBoxId));
    }
}

// ---------------------------------------------------------------------------
// settings::OptionsView

bool OptionsDialog::isChecked(OptionsBox which) {
    return SendMessageA(box(which), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionsDialog::setChecked(OptionsBox which, bool checked) {
    SendMessageA(box(which), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

settings::Shortcut OptionsDialog::hotkey(OptionsHotkey which) {
    const WORD value = LOWORD(SendMessageA(hotkeyField(which), HKM_GETHOTKEY, 0, 0));
    const BYTE modifiers = HIBYTE(value);
    settings::Shortcut s;
    s.virtualKey = LOBYTE(value);
    s.shift = (modifiers & HOTKEYF_SHIFT) != 0;
    s.ctrl = (modifiers & HOTKEYF_CONTROL) != 0;
    s.alt = (modifiers & HOTKEYF_ALT) != 0;
    return s;
}

void OptionsDialog::setHotkey(OptionsHotkey which, const settings::Shortcut& s) {
    BYTE modifiers = 0;
    if (s.shift) modifiers |= HOTKEYF_SHIFT;
    if (s.ctrl) modifiers |= HOTKEYF_CONTROL;
    if (s.alt) modifiers |= HOTKEYF_ALT;
    // The field names an extended key (an arrow, Insert) like the key of
    // the numeric pad that shares its scan code unless told.
    if (platform::isExtendedKey(s.virtualKey)) modifiers |= HOTKEYF_EXT;
    SendMessageA(hotkeyField(which), HKM_SETHOTKEY, MAKEWORD(s.virtualKey, modifiers), 0);
}

int OptionsDialog::listIndex(OptionsList which) {
    const LRESULT i = SendMessageA(list(which), CB_GETCURSEL, 0, 0);
    return i == CB_ERR ? -1 : static_cast<int>(i);
}

void OptionsDialog::setListIndex(OptionsList which, int index) {
    SendMessageA(list(which), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int OptionsDialog::choice(OptionsGroup group) {
    for (int button = 1; button <= 3; ++button) {
        if (SendMessageA(radio(group, button), BM_GETCHECK, 0, 0) == BST_CHECKED) return button;
    }
    return 0;
}

void OptionsDialog::setChoice(OptionsGroup group, int button) {
    for (int b = 1; b <= 3; ++b) {
        SendMessageA(radio(group, b), BM_SETCHECK, b == button ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

std::string OptionsDialog::text(OptionsField which) { return textOf(field(which)); }

void OptionsDialog::setText(OptionsField which, const std::string& text) {
    SetWindowTextA(field(which), text.c_str());
}

void OptionsDialog::setEnabled(OptionsPart part, bool enabled) {
    for (HWND control : parts_[index(part)]) {
        EnableWindow(control, enabled);
        // Labels take their grey from the window when they are drawn.
        InvalidateRect(control, nullptr, TRUE);
    }
}

}  // namespace cindral::shell
