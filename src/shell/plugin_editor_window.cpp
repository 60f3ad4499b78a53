#include "shell/plugin_editor_window.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace cindral::shell {

using app::EntryKind;

namespace {

// The window's own messages and timer.
constexpr UINT kMsgTestBatch = WM_APP + 1;  // a test run has queued lines (posted)
constexpr UINT kMsgTestEnded = WM_APP + 2;  // a test run's body has returned (posted)
constexpr UINT_PTR kTestBatchTimer = 1;     // takes a busy test run's queued lines
// Between two batches of a busy run the window takes its other messages
// (paint, input, Stop) for about this long.
constexpr UINT kBatchIntervalMs = 30;

// The layout in design units: the plug-in list at the left, the document at
// the right, the test run's lines and the status line across the bottom.
constexpr int kLeftX = 10, kLeftW = 190;
constexpr int kRightX = 212, kRightW = 538, kLabelW = 46;
constexpr int kListW = 454, kListH = 84, kButtonX = 672, kButtonW = 78, kRowH = 20, kGap = 2;
constexpr int kRegistryY = 84, kFilesY = 216, kReadingY = 348, kTestY = 452, kStatusY = 562;
constexpr int kBarTop = kPluginEditorHeight - dialog_layout::kButtonBar + 9;
constexpr int kBarButtonW = 75, kBarButtonH = 22;

const DialogFrame kEditorFrame{SkinWindow::PluginEditor, "TPluginEditor", "Cindral Plug-In Editor",
                               app::Dialog::PluginEditor, DialogButtons::HelpClose};
const DialogFrame kPromptFrame{SkinWindow::Prompt, "TNewPlugin", "New Plug-In",
                               app::Dialog::PluginEditor, DialogButtons::HelpOkCancel};

void insertRow(HWND list, int at, const std::string& text) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = at;
    item.pszText = const_cast<char*>(text.c_str());
    ListView_InsertItem(list, &item);
}

// The column as wide as its longest row (long paths scroll), never
// narrower than the list.
void fitColumn(HWND list) {
    ListView_SetColumnWidth(list, 0, LVSCW_AUTOSIZE);
    RECT client;
    GetClientRect(list, &client);
    if (ListView_GetColumnWidth(list, 0) < client.right)
        ListView_SetColumnWidth(list, 0, client.right);
}

void setRows(HWND list, const std::vector<std::string>& rows) {
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (std::size_t i = 0; i < rows.size(); ++i) insertRow(list, static_cast<int>(i), rows[i]);
    fitColumn(list);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void selectRow(HWND list, int row) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row < 0) return;
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(list, row, FALSE);
}

ListViewOptions plainList() {
    ListViewOptions options;
    options.header = false;
    return options;
}

// Asks the file name of a new plug-in.
class NewPluginPrompt : public SkinnedDialog {
public:
    NewPluginPrompt(DialogContext context, std::string folder)
        : SkinnedDialog(kPromptFrame, std::move(context)), folder_(std::move(folder)) {}
    std::string name;

protected:
    bool build() override {
        const RECT a = contentArea();
        const int w = a.right - a.left;
        addLabel("File name of the new plug-in (\".cnp\" is added when missing), in:", a.left,
                 a.top, w, 14, fonts_.normal, colors::kBodyText);
        addLabel(folder_.c_str(), a.left, a.top + 16, w, 14, fonts_.normal, colors::kMutedText,
                 SS_LEFT | SS_PATHELLIPSIS);
        EditOptions options;
        options.cue = "Name.cnp";
        edit_ = addEdit(kFirstControlId, a.left, a.top + 36, w, kRowH, options);
        return edit_ != nullptr;
    }
    bool accept() override {
        name = textOf(edit_);
        return true;
    }

private:
    std::string folder_;
    HWND edit_ = nullptr;
};

}  // namespace

// The test-run list as the run's log: lines appended, the last rewritten or
// removed. A test run has no item queue, so the rest asks and does nothing.
class PluginEditorWindow::TestLines : public engine::RunView {
public:
    explicit TestLines(HWND list) : list_(list) {}

    void addLine(const std::string& text) override {
        insertRow(list_, ListView_GetItemCount(list_), text);
        widen(text);
    }
    void replaceLastLine(const std::string& text) override {
        const int last = ListView_GetItemCount(list_) - 1;
        if (last < 0) return addLine(text);
        ListView_SetItemText(list_, last, 0, const_cast<char*>(text.c_str()));
        widen(text);
    }
    void deleteLastLine() override {
        const int last = ListView_GetItemCount(list_) - 1;
        if (last >= 0) ListView_DeleteItem(list_, last);
    }
    void clearLog() override { ListView_DeleteAllItems(list_); }
    void emptyLogIfAtLeast(std::int32_t) override {}
    void createLogBuffer() override {}
    int rowCount() override { return 0; }
    std::string rowCaption(int) override { return {}; }
    std::string rowStatus(int) override { return {}; }
    int rowIcon(int) override { return 0; }
    void setRowStatus(int, const std::string&) override {}
    void setRowIcon(int, int) override {}
    void scrollToRow(int) override {}
    void setGauge(int, int) override {}

    // After a batch: the newest line in view.
    void showLast() { ListView_EnsureVisible(list_, ListView_GetItemCount(list_) - 1, FALSE); }

private:
    // The column grows to the widest line (long paths scroll); measuring
    // one line keeps a batch from measuring all of them again.
    void widen(const std::string& text) {
        const int width = ListView_GetStringWidth(list_, text.c_str()) + 12;
        if (width > ListView_GetColumnWidth(list_, 0)) ListView_SetColumnWidth(list_, 0, width);
    }
    HWND list_;
};

// One test run on its thread. The view is made on the window's thread; the
// thread is declared last so that it is joined before the rest goes.
struct PluginEditorWindow::TestRun {
    TestRun(std::uint64_t runId, app::BatchedRunView::Hooks hooks, std::size_t maxPending)
        : id(runId), view(std::move(hooks), maxPending) {}
    ~TestRun() {
        stop.store(true);
        view.close();
        if (thread.joinable()) thread.join();
    }
    const std::uint64_t id;
    std::atomic<bool> stop{false};
    engine::RunCounters counters;  // read after the thread has ended
    app::BatchedRunView view;
    std::thread thread;
};

PluginEditorWindow::PluginEditorWindow(DialogContext context, platform::Platform& platform,
                                       app::PluginEditorFolders folders, std::size_t maxPending)
    : SkinnedDialog(kEditorFrame, std::move(context)),
      platform_(platform),
      pluginFolder_(folders.pluginFolder),
      maxPending_(maxPending),
      editor_(*this, *this, platform, std::move(folders)) {}

// A run still going when the window goes without closing (an owner
// destroyed first) is stopped here, and every stopped run still finishing
// is waited for, before the list they wrote to goes: the one place the
// window waits for a run's thread.
PluginEditorWindow::~PluginEditorWindow() {
    testRun_.reset();
    stoppedRuns_.clear();
}

bool PluginEditorWindow::build() {
    const HFONT normal = fonts_.normal, bold = fonts_.bold;
    const COLORREF text = colors::kBodyText;
    bool ok = true;
    auto check = [&ok](HWND w) {
        ok = ok && w != nullptr;
        return w;
    };
    // Made in the order Tab visits them.
    addLabel("Plug-ins", kLeftX, kRegistryY - 50, kLeftW, 14, bold, colors::kHeadingText);
    check(addListView(kPluginList, kLeftX, kRegistryY - 34, kLeftW, 394, plainList()));
    addLabel("Title:", kRightX, 36, kLabelW, 14, normal, text);
    check(addEdit(kTitleEdit, kRightX + kLabelW + 4, 33, kRightW - kLabelW - 4, kRowH));
    addLabel("Author:", kRightX, 60, kLabelW, 14, normal, text);
    check(addEdit(kAuthorEdit, kRightX + kLabelW + 4, 57, kRightW - kLabelW - 4, kRowH));
    ok = ok && buildEntries(EntryKind::Registry,
                            "Registry entries (ROOT\\key path,Action,ValueName)", kRegistryY);
    ok = ok && buildEntries(EntryKind::Files,
                            "Path templates (macros, \"?\" for subfolders, "
                            "\"&\" to look for a folder)",
                            kFilesY);
    addLabel("As a run reads it", kRightX, kReadingY, kRightW, 14, bold, colors::kHeadingText);
    EditOptions reading;
    reading.readOnly = true;
    reading.extraStyle = ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
    check(addEdit(kReading, kRightX, kReadingY + 16, kRightW, 80, reading));
    addLabel("Test run: what a cleaning run would erase", kLeftX, kTestY, 400, 14, bold,
             colors::kHeadingText);
    check(
        addListView(kTestLines, kLeftX, kTestY + 16, kRightX + kRightW - kLeftX, 88, plainList()));
    status_ = check(addLabel("", kLeftX, kStatusY, kRightX + kRightW - kLeftX, 14, normal,
                             colors::kMutedText, SS_LEFT | SS_ENDELLIPSIS));
    const int step = kBarButtonW + 6;
    check(addButton(kNewButton, "New", 12 + step, kBarTop, kBarButtonW, kBarButtonH));
    check(addButton(kSaveButton, "Save", 12 + 2 * step, kBarTop, kBarButtonW, kBarButtonH));
    check(addButton(kTestRunButton, "Test Run", 12 + 3 * step, kBarTop, kBarButtonW, kBarButtonH));
    if (!ok) return false;
    testLines_ = std::make_unique<TestLines>(control(kTestLines));
    // Numbered afterwards: a label made with an id would take the clicks
    // that drag the window.
    SetWindowLongPtrA(status_, GWLP_ID, kStatus);
    for (EntryKind kind : {EntryKind::Registry, EntryKind::Files}) {
        runOnEnter(control(entryId(kind, Field)), control(entryId(kind, Add)));
        runOnDelete(control(entryId(kind, List)), control(entryId(kind, Delete)));
    }
    for (int id : {kTitleEdit, kAuthorEdit}) runOnEnter(control(id), control(kSaveButton));
    editor_.open();
    return true;
}

bool PluginEditorWindow::buildEntries(EntryKind kind, const char* caption, int y) {
    addLabel(caption, kRightX, y, kRightW, 14, fonts_.bold, colors::kHeadingText);
    const int top = y + 16;
    if (!addListView(entryId(kind, List), kRightX, top, kListW, kListH, plainList())) return false;
    if (!addEdit(entryId(kind, Field), kRightX, top + kListH + 4, kListW, kRowH)) return false;
    const char* const captions[] = {"Add", "Change", "Delete", "Up", "Down"};
    for (int i = 0; i < 5; ++i) {
        if (!addButton(entryId(kind, static_cast<Part>(Add + i)), captions[i], kButtonX,
                       top + i * (kRowH + kGap), kButtonW, kRowH))
            return false;
    }
    return true;
}

bool PluginEditorWindow::mayCancel() { return editor_.mayClose(); }

void PluginEditorWindow::command(int id, int code, HWND control) {
    (void)control;
    if (filling_) return;
    if (code == EN_CHANGE) {
        const std::string text = textOf(control);
        if (id == kTitleEdit) editor_.titleEdited(text);
        if (id == kAuthorEdit) editor_.authorEdited(text);
        for (EntryKind kind : {EntryKind::Registry, EntryKind::Files})
            if (id == entryId(kind, Field)) editor_.entryTextEdited(kind, text);
        return;
    }
    if (code != BN_CLICKED) return;
    switch (id) {
        case kNewButton:
            editor_.newPlugin();
            return;
        case kSaveButton:
            editor_.save();
            return;
        case kTestRunButton:
            editor_.testRun();
            return;
        default:
            break;
    }
    for (EntryKind kind : {EntryKind::Registry, EntryKind::Files}) {
        const int part = id - entryId(kind, List);
        if (part == Add) editor_.addEntry(kind);
        if (part == Change) editor_.changeEntry(kind);
        if (part == Delete) editor_.deleteEntry(kind);
        if (part == Up) editor_.moveEntry(kind, -1);
        if (part == Down) editor_.moveEntry(kind, +1);
    }
}

LRESULT PluginEditorWindow::notify(const NMHDR& header) {
    if (filling_ || header.code != LVN_ITEMCHANGED) return 0;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (!(change.uChanged & LVIF_STATE) || !((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
        return 0;
    const int id = static_cast<int>(header.idFrom);
    const bool chosen = (change.uNewState & LVIS_SELECTED) != 0;
    if (id == kPluginList && chosen) editor_.pluginChosen(change.iItem);
    // A click beside the rows leaves no entry chosen, and none to delete.
    for (EntryKind kind : {EntryKind::Registry, EntryKind::Files})
        if (id == entryId(kind, List))
            editor_.entryChosen(kind, ListView_GetNextItem(header.hwndFrom, -1, LVNI_SELECTED));
    return 0;
}

LRESULT PluginEditorWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto id = static_cast<std::uint64_t>(wParam);
    switch (msg) {
        case kMsgTestBatch:
            if (testRun_ && testRun_->id == id) {
                testRun_->view.drain();
                testLines_->showLast();
                // While the run keeps sending, its lines are taken every
                // interval rather than at each of its wake-ups.
                SetTimer(hwnd_, kTestBatchTimer, kBatchIntervalMs, nullptr);
            }
            return 0;
        case kMsgTestEnded:
            testRunEnded(id);
            return 0;
        case WM_TIMER:
            if (wParam != kTestBatchTimer) break;
            if (!testRun_ || testRun_->view.drain() == 0)
                KillTimer(hwnd_, kTestBatchTimer);
            else
                testLines_->showLast();
            return 0;
        case WM_DESTROY:
            // The run's lines have nowhere to go from here on.
            if (testRun_) stopTestRun(testRun_->id);
            break;
        default:
            break;
    }
    return SkinnedDialog::handle(msg, wParam, lParam);
}

// ---------------------------------------------------------------------------
// app::PluginTestLauncher

std::uint64_t PluginEditorWindow::startTestRun(const std::string& home, const std::string& caption,
                                               const std::string& bytes) {
    if (!hwnd_ || !testLines_ || testRun_) return 0;
    const std::uint64_t id = ++lastTestRun_;
    const HWND window = hwnd_;
    app::BatchedRunView::Hooks hooks;
    hooks.wake = [window, id] { PostMessageA(window, kMsgTestBatch, static_cast<WPARAM>(id), 0); };
    hooks.target = [this]() -> engine::RunView* { return testLines_.get(); };
    try {
        // The room to set the run aside later, so that stopping it cannot fail.
        stoppedRuns_.reserve(stoppedRuns_.size() + 1);
        testRun_ = std::make_unique<TestRun>(id, std::move(hooks), maxPending_);
        TestRun& run = *testRun_;
        run.thread = std::thread([&run, &platform = platform_, window, home, caption, bytes] {
            try {
                run.counters =
                    app::TestRunPlugin(platform, home, caption, bytes, run.view, &run.stop);
            } catch (const std::exception& e) {
                run.view.addLine(std::string("The test run ended early: ") + e.what());
            }
            PostMessageA(window, kMsgTestEnded, static_cast<WPARAM>(run.id), 0);
        });
    } catch (const std::exception&) {
        testRun_.reset();
        return 0;
    }
    return id;
}

void PluginEditorWindow::stopTestRun(std::uint64_t id) {
    if (!testRun_ || testRun_->id != id) return;
    testRun_->stop.store(true);
    // What the run found before the stop is shown; the rest is dropped,
    // which also frees a run waiting for room in the queue.
    testRun_->view.drain();
    testRun_->view.close();
    testLines_->showLast();
    KillTimer(hwnd_, kTestBatchTimer);
    // The run may be inside one slow call (a huge folder, a drive that does
    // not answer) and sees the stop only when it returns: the window does
    // not wait for it but joins its thread when its end is posted.
    stoppedRuns_.push_back(std::move(testRun_));
}

void PluginEditorWindow::testRunEnded(std::uint64_t id) {
    const auto stopped = std::find_if(stoppedRuns_.begin(), stoppedRuns_.end(),
                                      [id](const auto& run) { return run->id == id; });
    if (stopped != stoppedRuns_.end()) {
        // Its body has returned, so the join is brief; a stopped run
        // reports nothing.
        stoppedRuns_.erase(stopped);
        return;
    }
    if (!testRun_ || testRun_->id != id) return;
    if (testRun_->thread.joinable()) testRun_->thread.join();
    // The body has returned: every line it logged is queued.
    testRun_->view.drain();
    testLines_->showLast();
    KillTimer(hwnd_, kTestBatchTimer);
    const std::unique_ptr<TestRun> done = std::move(testRun_);
    editor_.testRunFinished(id, done->counters);
}

// ---------------------------------------------------------------------------
// app::PluginEditorView

void PluginEditorWindow::setPlugins(const std::vector<std::string>& rows) {
    ++filling_;
    shell::setRows(control(kPluginList), rows);
    --filling_;
}

void PluginEditorWindow::selectPlugin(int row) {
    ++filling_;
    selectRow(control(kPluginList), row);
    --filling_;
}

void PluginEditorWindow::setTitleAuthor(const std::string& title, const std::string& author) {
    ++filling_;
    SetWindowTextA(control(kTitleEdit), title.c_str());
    SetWindowTextA(control(kAuthorEdit), author.c_str());
    --filling_;
}

void PluginEditorWindow::setEntries(EntryKind kind, const std::vector<std::string>& rows) {
    ++filling_;
    shell::setRows(control(entryId(kind, List)), rows);
    --filling_;
}

void PluginEditorWindow::selectEntry(EntryKind kind, int row) {
    ++filling_;
    selectRow(control(entryId(kind, List)), row);
    --filling_;
}

void PluginEditorWindow::setEntryText(EntryKind kind, const std::string& text) {
    ++filling_;
    SetWindowTextA(control(entryId(kind, Field)), text.c_str());
    --filling_;
}

void PluginEditorWindow::setReading(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
    SetWindowTextA(control(kReading), text.c_str());
}

void PluginEditorWindow::setTestLines(const std::vector<std::string>& lines) {
    shell::setRows(control(kTestLines), lines);
}

void PluginEditorWindow::setStatus(const std::string& text) { setLabel(status_, text); }

void PluginEditorWindow::enable(int id, bool enabled, int focusHome) {
    const HWND w = control(id);
    // The keyboard is not left on a control that takes nothing.
    if (!enabled && GetFocus() == w) SetFocus(control(focusHome));
    EnableWindow(w, enabled);
}

void PluginEditorWindow::setCommands(const app::PluginEditorCommands& c) {
    SetWindowTextA(control(kTestRunButton), c.running ? "Stop" : "Test Run");
    // While a run goes the keyboard rests on Stop, otherwise on the list.
    const int home = c.running ? kTestRunButton : kPluginList;
    enable(home, true, home);
    enable(kTestRunButton, c.testRun, home);
    enable(kPluginList, c.choose, home);
    enable(kNewButton, c.newPlugin, home);
    enable(kSaveButton, c.save, home);
    for (int id : {kTitleEdit, kAuthorEdit}) enable(id, c.edit, home);
    for (EntryKind kind : {EntryKind::Registry, EntryKind::Files}) {
        const std::size_t k = static_cast<std::size_t>(kind);
        enable(entryId(kind, List), c.edit, home);
        enable(entryId(kind, Field), c.edit, home);
        enable(entryId(kind, Add), c.add[k], home);
        enable(entryId(kind, Change), c.change[k], home);
        enable(entryId(kind, Delete), c.remove[k], home);
        enable(entryId(kind, Up), c.up[k], home);
        enable(entryId(kind, Down), c.down[k], home);
    }
}

app::Answer PluginEditorWindow::ask(const std::string& question) {
    switch (message(question, MB_YESNOCANCEL | MB_ICONQUESTION)) {
        case IDYES:
            return app::Answer::Yes;
        case IDNO:
            return app::Answer::No;
        default:
            return app::Answer::Cancel;
    }
}

bool PluginEditorWindow::askYesNo(const std::string& question) {
    return message(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool PluginEditorWindow::askFileName(std::string& name) {
    NewPluginPrompt prompt(context_, pluginFolder_);
    RECT r{};
    GetWindowRect(hwnd_, &r);
    const bool ok = prompt.run(hwnd_, [&r](int w, int h) {
        return app::Point{(r.left + r.right - w) / 2, (r.top + r.bottom - h) / 2};
    }) == IDOK;
    name = prompt.name;
    return ok;
}

void PluginEditorWindow::showError(const std::string& text) {
    message(text, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace cindral::shell
