#include "shell/skinned_dialog.h"

#include "app/help_topics.h"

namespace cindral::shell {

namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 22;

LONG styleOf(HWND w) { return GetWindowLongA(w, GWL_STYLE); }

bool isButtonClass(HWND w) {
    char cls[16] = "";
    GetClassNameA(w, cls, sizeof cls);
    return lstrcmpiA(cls, "Button") == 0;
}

bool isRadio(HWND w) {
    const LONG type = styleOf(w) & BS_TYPEMASK;
    return w && isButtonClass(w) && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

bool isPushButton(HWND w) {
    const LONG type = styleOf(w) & BS_TYPEMASK;
    return w && isButtonClass(w) &&
           (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW);
}

bool usable(HWND w) { return IsWindowVisible(w) && IsWindowEnabled(w); }

// The radio buttons of the group `radio` belongs to, in order: from the
// nearest control at or before it that starts a group (WS_GROUP) up to the
// next one, the rule the buttons themselves use to uncheck each other.
std::vector<HWND> radioGroup(HWND radio) {
    HWND start = radio;
    while (!(styleOf(start) & WS_GROUP)) {
        HWND previous = GetWindow(start, GW_HWNDPREV);
        if (!previous) break;
        start = previous;
    }
    std::vector<HWND> group;
    for (HWND w = start; w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w != start && (styleOf(w) & WS_GROUP)) break;
        if (isRadio(w) && usable(w)) group.push_back(w);
    }
    return group;
}

// A radio group is one stop: its checked button, or its first when none is.
bool isGroupStop(HWND radio) {
    const std::vector<HWND> group = radioGroup(radio);
    for (HWND w : group) {
        if (SendMessageA(w, BM_GETCHECK, 0, 0) == BST_CHECKED) return w == radio;
    }
    return !group.empty() && group.front() == radio;
}

void collectTabStops(HWND parent, std::vector<HWND>& stops) {
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (!usable(c)) continue;
        if (GetWindowLongA(c, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
            collectTabStops(c, stops);
        } else if (isRadio(c)) {
            if (isGroupStop(c)) stops.push_back(c);
        } else if (styleOf(c) & WS_TABSTOP) {
            stops.push_back(c);
        }
    }
}

bool wants(const MSG& msg, LRESULT codes) {
    MSG copy = msg;
    return (SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&copy)) &
            codes) != 0;
}

}  // namespace

SkinnedDialog::SkinnedDialog(const DialogFrame& frame, DialogContext context)
    : context_(std::move(context)), frame_(frame) {}

SkinnedDialog::~SkinnedDialog() {
    // The window goes first, with its pages and controls, so that nothing
    // they send on the way reaches a dialog that is half gone.
    if (hwnd_) {
        SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

RECT SkinnedDialog::contentArea() const {
    const SIZE size = designSize(frame_.picture);
    return RECT{dialog_layout::kMargin, dialog_layout::kTitleBand + 8,
                size.cx - dialog_layout::kMargin, size.cy - dialog_layout::kButtonBar - 6};
}

bool SkinnedDialog::create(HWND owner, int x, int y) {
    // The control classes the dialogs use beyond the standard ones.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&icc);
    if (!createSkinned(frame_.picture, frame_.className, frame_.title, 0, owner, x, y)) {
        return false;
    }
    addFrameControls();
    if (!build()) return false;
    // The bottom buttons come last in the tab order, after the pages.
    for (int id : {kHelpId, kOkId, kCancelId}) {
        if (HWND b = GetDlgItem(hwnd_, id)) {
            SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }
    for (const auto& set : pageSets_) set->select(0);
    return true;
}

void SkinnedDialog::addFrameControls() {
    const SIZE size = designSize(frame_.picture);
    const int w = size.cx;
    HWND title = addLabel(frame_.title, 28, 5, w - 80, 16, fonts_.title, colors::kTitleText);
    // Set afterwards: a label made with an id would take the clicks that drag the window.
    SetWindowLongPtrA(title, GWLP_ID, kTitleId);
    addTitleButton(kTopHelpId, TitleGlyph::Help, w - 40, 5);
    addTitleButton(kTopCloseId, TitleGlyph::Close, w - 22, 5);
    const int top = size.cy - dialog_layout::kButtonBar + 9;
    const int right = w - 12 - kButtonWidth;
    addButton(kHelpId, "Help", 12, top, kButtonWidth, kButtonHeight);
    if (frame_.buttons == DialogButtons::HelpOkCancel) {
        addButton(kOkId, "OK", right - 6 - kButtonWidth, top, kButtonWidth, kButtonHeight,
                  ButtonStyle::Primary);
        addButton(kCancelId, "Cancel", right, top, kButtonWidth, kButtonHeight);
    } else {
        addButton(kCancelId, "Close", right, top, kButtonWidth, kButtonHeight,
                  ButtonStyle::Primary);
    }
}

int SkinnedDialog::runModal(HWND owner) {
    result_ = IDCANCEL;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    const std::vector<HWND> stops = tabStops();
    if (!stops.empty()) SetFocus(stops.front());
    runModalLoop(hwnd_, owner, [this](MSG& msg) { return translateKey(msg); });
    return result_;
}

int SkinnedDialog::run(HWND owner, const std::function<app::Point(int width, int height)>& place) {
    const SIZE size = designSize(frame_.picture);
    const Dpi d = screenDpi();
    const app::Point p = place(d(size.cx), d(size.cy));
    if (!create(owner, p.x, p.y)) return IDCANCEL;
    return runModal(owner);
}

void SkinnedDialog::end(int result) {
    result_ = result;
    ShowWindow(hwnd_, SW_HIDE);
}

TabbedPages* SkinnedDialog::addPageSet(SkinnedWindow& site, int id,
                                       const std::vector<std::string>& captions, int x, int y,
                                       int w, int h) {
    auto set = std::make_unique<TabbedPages>(id, [this, id](int page) { pageShown(id, page); });
    if (!set->create(site, captions, x, y, w, h)) return nullptr;
    pageSets_.push_back(std::move(set));
    return pageSets_.back().get();
}

TabbedPages* SkinnedDialog::pageSet(int id) {
    for (const auto& set : pageSets_) {
        if (set->id() == id) return set.get();
    }
    return nullptr;
}

TabbedPages* SkinnedDialog::mainPageSet() const {
    for (const auto& set : pageSets_) {
        if (set->site() == hwnd_) return set.get();
    }
    return nullptr;
}

std::string SkinnedDialog::helpTopic() const {
    const TabbedPages* main = mainPageSet();
    const int page = main ? main->current() : 0;
    int inner = -1;
    if (main && page >= 0) {
        const HWND onView = main->page(page).hwnd();
        for (const auto& set : pageSets_) {
            if (set->site() == onView) inner = set->current();
        }
    }
    return app::helpTopic(frame_.dialog, page, inner);
}

void SkinnedDialog::help() {
    const std::string topic = helpTopic();
    if (topic.empty()) return;
    ContextHelp(context_.desktop, context_.files, context_.home, app::kHelpFileName, topic, hwnd_);
}

int SkinnedDialog::message(const std::string& text, UINT flags) {
    return context_.desktop.message(hwnd_, text, flags);
}

bool SkinnedDialog::confirm(const std::string& question) {
    return message(question, MB_YESNO | MB_ICONQUESTION) != IDNO;
}

void SkinnedDialog::runOnEnter(HWND control, HWND button) { enterButtons_[control] = button; }

void SkinnedDialog::runOnDelete(HWND control, HWND button) { deleteButtons_[control] = button; }

// ---------------------------------------------------------------------------
// The keyboard.

std::vector<HWND> SkinnedDialog::tabStops() const {
    std::vector<HWND> stops;
    collectTabStops(hwnd_, stops);
    return stops;
}

bool SkinnedDialog::translateKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || !hwnd_) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (msg.wParam) {
        case VK_F1:
            help();
            return true;
        case VK_TAB:
            if (ctrl) {
                if (TabbedPages* main = mainPageSet()) main->step(shift ? -1 : 1);
            } else {
                moveFocus(shift ? -1 : 1);
            }
            return true;
        case VK_RETURN:
            return enterKey(msg);
        case VK_DELETE: {
            auto it = deleteButtons_.find(msg.hwnd);
            if (it == deleteButtons_.end()) return false;
            click(it->second);
            return true;
        }
        case VK_ESCAPE:
            // An open drop-down list closes first.
            if (wants(msg, DLGC_WANTMESSAGE)) return false;
            click(GetDlgItem(hwnd_, kCancelId));
            return true;
        case VK_LEFT:
        case VK_UP:
            return arrowKey(-1);
        case VK_RIGHT:
        case VK_DOWN:
            return arrowKey(1);
        default:
            return false;
    }
}

void SkinnedDialog::moveFocus(int delta) {
    const std::vector<HWND> stops = tabStops();
    const int n = static_cast<int>(stops.size());
    if (n == 0) return;
    const HWND focus = GetFocus();
    int at = -1;
    for (int i = 0; i < n; ++i) {
        if (stops[i] == focus || IsChild(stops[i], focus)) at = i;
    }
    const int next = at < 0 ? (delta > 0 ? 0 : n - 1) : (at + delta + n) % n;
    HWND target = stops[static_cast<std::size_t>(next)];
    SetFocus(target);
    // A field reached by Tab has its text selected, ready to be typed over.
    if (SendMessageA(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) {
        SendMessageA(target, EM_SETSEL, 0, -1);
    }
}

bool SkinnedDialog::enterKey(const MSG& msg) {
    for (HWND w = msg.hwnd; w && w != hwnd_; w = GetParent(w)) {
        auto it = enterButtons_.find(w);
        if (it != enterButtons_.end()) {
            click(it->second);
            return true;
        }
    }
    if (wants(msg, DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    if (isPushButton(msg.hwnd)) {
        click(msg.hwnd);
        return true;
    }
    click(GetDlgItem(hwnd_, frame_.buttons == DialogButtons::HelpOkCancel ? kOkId : kCancelId));
    return true;
}

bool SkinnedDialog::arrowKey(int delta) {
    const HWND focus = GetFocus();
    if (!isRadio(focus)) return false;
    const std::vector<HWND> group = radioGroup(focus);
    const int n = static_cast<int>(group.size());
    for (int i = 0; i < n; ++i) {
        if (group[static_cast<std::size_t>(i)] != focus) continue;
        HWND next = group[static_cast<std::size_t>((i + delta + n) % n)];
        if (next != focus) {
            SetFocus(next);
            SendMessageA(next, BM_CLICK, 0, 0);
        }
        break;
    }
    return true;
}

void SkinnedDialog::click(HWND button) {
    if (!button || !IsWindowEnabled(button)) return;
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// ---------------------------------------------------------------------------

LRESULT SkinnedDialog::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            switch (id) {
                case kOkId:
                    if (accept()) end(IDOK);
                    return 0;
                case kCancelId:
                case kTopCloseId:
                    if (mayCancel()) end(IDCANCEL);
                    return 0;
                case kHelpId:
                case kTopHelpId:
                    help();
                    return 0;
                default:
                    command(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
                    return 0;
            }
        }
        case WM_NOTIFY:
            return notify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CLOSE:
            if (mayCancel()) end(IDCANCEL);
            return 0;
        default:
            break;
    }
    return SkinnedWindow::handle(msg, wParam, lParam);
}

}  // namespace cindral::shell
