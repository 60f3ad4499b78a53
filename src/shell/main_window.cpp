#include "shell/main_window.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "app/home_folder.h"
#include "app/queue_run_view.h"
#include "settings/shortcut.h"
#include "shell/about_window.h"

namespace cindral::shell {

namespace {

constexpr UINT_PTR kReapTimer = 1;
constexpr UINT_PTR kCleaningTimer = 2;
constexpr UINT_PTR kLogTimer = 3;
constexpr DWORD kLogRefreshMs = 50;
constexpr int kTrayIconId = 1;
constexpr int kMenuBarId = 0x7F00;  // the caption bar item of the tray menu

// Design layout (96 DPI) of the right-hand buttons: the command, its top.
struct ButtonPlace {
    app::Command command;
    int top;
};
// 22 high, 3 apart, 7 more after "Test Mode!", "Keeper" and "Clear Log".
const ButtonPlace kButtons[] = {
    {app::Command::CleanNow, 38},  {app::Command::TestMode, 63}, {app::Command::EraseItems, 92},
    {app::Command::Options, 117},  {app::Command::Keeper, 142},  {app::Command::ViewLog, 171},
    {app::Command::ClearLog, 196}, {app::Command::About, 225},   {app::Command::Help, 250},
    {app::Command::Exit, 275},
};

int idOf(app::Command c) { return app::commandInfo(c).id; }

}  // namespace

// One run with the proxy view it talks through. The run is declared last so
// that it (and its thread) goes before the proxy does.
struct MainWindow::RunSlot {
    class Proxy : public engine::RunView {
    public:
        Proxy(HWND window, std::uint64_t id) : window_(window), id_(id) {}

        void addLine(const std::string& t) override {
            send([&](engine::RunView& v) { v.addLine(t); });
        }
        void replaceLastLine(const std::string& t) override {
            send([&](engine::RunView& v) { v.replaceLastLine(t); });
        }
        void deleteLastLine() override {
            send([&](engine::RunView& v) { v.deleteLastLine(); });
        }
        void clearLog() override {
            send([&](engine::RunView& v) { v.clearLog(); });
        }
        void emptyLogIfAtLeast(std::size_t lines) override {
            send([&](engine::RunView& v) { v.emptyLogIfAtLeast(lines); });
        }
        void createLogBuffer() override {
            send([&](engine::RunView& v) { v.createLogBuffer(); });
        }
        int rowCount() override {
            int n = 0;
            send([&](engine::RunView& v) { n = v.rowCount(); });
            return n;
        }
        std::string rowCaption(int row) override {
            std::string s;
            send([&](engine::RunView& v) { s = v.rowCaption(row); });
            return s;
        }
        std::string rowStatus(int row) override {
            std::string s;
            send([&](engine::RunView& v) { s = v.rowStatus(row); });
            return s;
        }
        int rowIcon(int row) override {
            int i = 0;
            send([&](engine::RunView& v) { i = v.rowIcon(row); });
            return i;
        }
        void setRowStatus(int row, const std::string& s) override {
            send([&](engine::RunView& v) { v.setRowStatus(row, s); });
        }
        void setRowIcon(int row, int icon) override {
            send([&](engine::RunView& v) { v.setRowIcon(row, icon); });
        }
        void scrollToRow(int row) override {
            send([&](engine::RunView& v) { v.scrollToRow(row); });
        }
        void setGauge(int position, int maximum) override {
            send([&](engine::RunView& v) { v.setGauge(position, maximum); });
        }

        struct Request {
            std::uint64_t id;
            std::function<void(engine::RunView&)> fn;
        };

    private:
        void send(std::function<void(engine::RunView&)> fn) {
            Request request{id_, std::move(fn)};
            SendMessageA(window_, kMsgRunRequest, 0, reinterpret_cast<LPARAM>(&request));
        }
        HWND window_;
        std::uint64_t id_;
    };

    RunSlot(HWND window, std::uint64_t id, app::RunSetup setup)
        : proxy(window, id), run(std::move(setup), proxy, id) {}

    Proxy proxy;
    app::Run run;
};

app::Point DialogHost::place(int width, int height) const {
    RECT r{};
    GetWindowRect(main.hwnd(), &r);
    return app::dialogPlacement(main.isVisible(), app::Point{r.left, r.top},
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width,
                                height);
}

// ---------------------------------------------------------------------------

MainWindow::MainWindow(const MainWindowSetup& setup)
    : platform_(*setup.platform),
      services_(setup.services),
      settings_(*setup.settings),
      desktop_(setup.desktop ? *setup.desktop : systemDesktop()),
      quitOnDestroy_(setup.quitOnDestroy),
      log_(*setup.platform->files,
           app::DataPaths::forHome(app::HomeFolder(*setup.platform->system)).logFile) {
    paths_ = app::DataPaths::forHome(app::HomeFolder(*platform_.system));
    runView_ = std::make_unique<WindowRunView>(*this);
    app::MainView& view = *this;
    app::RunLauncher& runs = *this;
    app::HotkeyRegistrar& hotkeys = *this;
    controller_.reset(new app::MainController(view, runs, settings_, *platform_.system, hotkeys));
    dialogRunners_[static_cast<int>(app::Dialog::About)] = [this](DialogHost& h) {
        aboutDialog(h);
    };
}

MainWindow::~MainWindow() {
    // The window goes first: closing it stops the runs, and the icons and
    // the font it uses are freed afterwards with the other members.
    if (hwnd_) DestroyWindow(hwnd_);
    waitForRuns();
}

bool MainWindow::create() {
    INITCOMMONCONTROLSEX icc{sizeof icc,
                             ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    if (!createSkinned(SkinWindow::Main, "TMForm", "Cindral", WS_EX_APPWINDOW, nullptr,
                       CW_USEDEFAULT, CW_USEDEFAULT)) {
        return false;
    }
    bigIcon_ = createProgramIcon(GetSystemMetrics(SM_CXICON));
    smallIcon_ = createProgramIcon(GetSystemMetrics(SM_CXSMICON));
    trayIcon_ = createProgramIcon(GetSystemMetrics(SM_CXSMICON));
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    createControls();
    result_.create(hwnd_);
    // The tray icon exists before the start-up sequence; invisible mode may
    // take it away again.
    showTrayIcon(true);
    controller_->setDialogAvailable(app::Dialog::About, true);
    return true;
}

void MainWindow::createControls() {
    addLabel("Cindral", 30, 7, 200, 17, fonts_.title, colors::kTitleText, SS_LEFT);
    SetWindowLongPtrA(GetWindow(hwnd_, GW_CHILD), GWLP_ID, kTitleId);
    addTitleButton(idOf(app::Command::TitleHelp), TitleGlyph::Help, 420, 7);
    addTitleButton(idOf(app::Command::Minimize), TitleGlyph::Minimize, 438, 7);
    addTitleButton(idOf(app::Command::TitleClose), TitleGlyph::Close, 456, 7);

    // The item queue.
    RECT q = dpi_.rect(10, 38, 359, 143);
    queueList_ = CreateWindowExA(0, WC_LISTVIEWA, "",
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL |
                                     LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                                 q.left, q.top, q.right - q.left, q.bottom - q.top, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kQueueId)),
                                 GetModuleHandleA(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(queueList_, LVS_EX_FULLROWSELECT | LVS_EX_LABELTIP);
    SendMessageA(queueList_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.normal), FALSE);
    const char* headers[2] = {"Current Items to be Cleaned", "Status"};
    const int widths[2] = {258, 80};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA col{};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = const_cast<char*>(headers[i]);
        col.cx = dpi_(widths[i]);
        col.iSubItem = i;
        ListView_InsertColumn(queueList_, i, &col);
    }

    // The log view: a virtual list over the log book.
    RECT l = dpi_.rect(10, 187, 359, 110);
    logList_ = CreateWindowExA(0, WC_LISTVIEWA, "",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA |
                                   LVS_NOCOLUMNHEADER | LVS_SINGLESEL,
                               l.left, l.top, l.right - l.left, l.bottom - l.top, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLogId)),
                               GetModuleHandleA(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(logList_, LVS_EX_FULLROWSELECT);
    SendMessageA(logList_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.normal), FALSE);
    LVCOLUMNA col{};
    col.mask = LVCF_WIDTH;
    col.cx = (l.right - l.left) - GetSystemMetrics(SM_CXVSCROLL) - 4;
    ListView_InsertColumn(logList_, 0, &col);

    for (const ButtonPlace& b : kButtons) {
        const auto& info = app::commandInfo(b.command);
        const bool primary =
            b.command == app::Command::CleanNow || b.command == app::Command::TestMode;
        addButton(info.id, info.text, 381, b.top, 91, 22,
                  primary ? ButtonStyle::Primary : ButtonStyle::Normal);
    }

    status_ = addLabel("For Help, press F1", 12, 357, 458, 16, fonts_.normal, colors::kBodyText,
                       SS_LEFT | SS_CENTERIMAGE | SS_ENDELLIPSIS);
    SetWindowLongPtrA(status_, GWLP_ID, kStatusId);
    RECT g = dpi_.rect(4, 357, 473, 16);
    gauge_ = CreateWindowExA(0, PROGRESS_CLASSA, "", WS_CHILD | PBS_SMOOTH, g.left, g.top,
                             g.right - g.left, g.bottom - g.top, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kGaugeId)),
                             GetModuleHandleA(nullptr), nullptr);
    SendMessageA(gauge_, PBM_SETBARCOLOR, 0, RGB(46, 112, 196));
    SendMessageA(gauge_, PBM_SETBKCOLOR, 0, RGB(236, 241, 247));

    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(13, dpi_.dpi, 72);
    lf.lfWeight = FW_BOLD;
    lf.lfEscapement = lf.lfOrientation = 900;  // reads upwards along the bar
    lf.lfQuality = ANTIALIASED_QUALITY;
    lstrcpyA(lf.lfFaceName, "Tahoma");
    menuBarFont_.reset(CreateFontIndirectA(&lf));
}

void MainWindow::setDialogRunner(app::Dialog dialog, DialogRunner runner) {
    const bool available = static_cast<bool>(runner);
    dialogRunners_[static_cast<int>(dialog)] = std::move(runner);
    controller_->setDialogAvailable(dialog, available);
}

// ---------------------------------------------------------------------------
// Start-up.

void MainWindow::startup(const std::vector<std::string>& params) {
    // Centre on the screen and take the outline.
    app::Point p =
        app::centredPlacement(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                              background_.width(), background_.height());
    SetWindowPos(hwnd_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    applyShape();

    app::StartupState state = app::PrepareStartup(platform_, settings_, log_);
    paths_ = state.paths;
    imageSet_ = state.imageSet;
    // The list frees the images it holds when it goes; the ones it held
    // before, if any, come back to be freed here.
    OwnedImageList previous(ListView_SetImageList(
        queueList_, createItemImages(imageSet_, dpi_).release(), LVSIL_SMALL));
    queue_ = std::move(state.queue);
    fillQueueList();
    logChanged(false);

    controller_->registerHotkeys(true);

    app::StartupDecisions d = app::DecideStartup(settings_, params);
    showTrayIcon(d.showTrayIcon);
    if (d.startCleaningRun) controller_->cleanNowClick();
    if (d.setStatusLabel) setStatusText(d.statusLabel);
    app::FinishStartup(log_);
    refreshLogList();
    if (d.showMainWindow) {
        ShowWindow(hwnd_, SW_SHOW);
        UpdateWindow(hwnd_);
        SetForegroundWindow(hwnd_);
    }
}

void MainWindow::fillQueueList() {
    SendMessageA(queueList_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(queueList_);
    for (std::size_t i = 0; i < queue_.rows.size(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(queue_.rows[i].caption.c_str());
        item.iImage = queue_.rows[i].icon;
        ListView_InsertItem(queueList_, &item);
        ListView_SetItemText(queueList_, static_cast<int>(i), 1,
                             const_cast<char*>(queue_.rows[i].status.c_str()));
    }
    SendMessageA(queueList_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(queueList_, nullptr, TRUE);
}

void MainWindow::updateQueueRow(int row) {
    LVITEMA item{};
    item.mask = LVIF_IMAGE;
    item.iItem = row;
    item.iImage = queue_.rows[row].icon;
    ListView_SetItem(queueList_, &item);
    ListView_SetItemText(queueList_, row, 1, const_cast<char*>(queue_.rows[row].status.c_str()));
}

void MainWindow::rebuildQueue() {
    queue_ = app::RebuildItemQueue(platform_, paths_);
    fillQueueList();
}

// ---------------------------------------------------------------------------
// RunView on the window's thread.

// app::QueueRunView keeps the queue and the log book; this view also shows
// each change on the window's controls.
class MainWindow::WindowRunView : public app::QueueRunView {
public:
    explicit WindowRunView(MainWindow& window)
        : QueueRunView(window.queue_, window.log_), window_(window) {
        setLineListener([this](LineEvent event, const std::string&) {
            if (event == LineEvent::LastDeleted || event == LineEvent::Cleared)
                window_.logLinesRemoved_ = true;
            window_.logChanged(event == LineEvent::Replaced);
        });
    }

    void setRowStatus(int row, const std::string& status) override {
        if (!inRange(row)) return;
        QueueRunView::setRowStatus(row, status);
        window_.updateQueueRow(row);
    }
    void setRowIcon(int row, int icon) override {
        if (!inRange(row)) return;
        QueueRunView::setRowIcon(row, icon);
        window_.updateQueueRow(row);
    }
    void scrollToRow(int row) override {
        if (inRange(row)) ListView_EnsureVisible(window_.queueList_, row, FALSE);
    }
    void setGauge(int position, int maximum) override {
        QueueRunView::setGauge(position, maximum);
        SendMessageA(window_.gauge_, PBM_SETRANGE32, 0, std::max(maximum, 0));
        SendMessageA(window_.gauge_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    }

private:
    bool inRange(int row) { return row >= 0 && row < rowCount(); }

    MainWindow& window_;
};

engine::RunView& MainWindow::runView() { return *runView_; }

void MainWindow::clearLogView() { runView_->clearLog(); }

void MainWindow::addLogLine(const std::string& text) { runView_->addLine(text); }

void MainWindow::logChanged(bool lastLineRewritten) {
    // The list control catches up at most every kLogRefreshMs: a run can
    // add thousands of lines a second, and scrolling the list for each of
    // them would cost more than the run itself. The list needs only the
    // final count and the last line's text before it next paints.
    if (lastLineRewritten) lastLineDirty_ = true;
    const DWORD now = GetTickCount();
    if (now - lastLogRefresh_ >= kLogRefreshMs) {
        refreshLogList();
    } else if (!logRefreshPending_) {
        logRefreshPending_ = SetTimer(hwnd_, kLogTimer, kLogRefreshMs, nullptr) != 0;
        if (!logRefreshPending_) refreshLogList();
    }
}

void MainWindow::refreshLogList() {
    if (logRefreshPending_) {
        KillTimer(hwnd_, kLogTimer);
        logRefreshPending_ = false;
    }
    lastLogRefresh_ = GetTickCount();
    const int n = static_cast<int>(log_.viewLineCount());
    const int shown = ListView_GetItemCount(logList_);
    if (n != shown) ListView_SetItemCountEx(logList_, n, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    // Lines were taken away since the last refresh: what is on screen may
    // belong to other lines now.
    if (logLinesRemoved_ || n < shown) InvalidateRect(logList_, nullptr, TRUE);
    logLinesRemoved_ = false;
    if (n > 0) {
        if (lastLineDirty_) ListView_RedrawItems(logList_, n - 1, n - 1);
        ListView_EnsureVisible(logList_, n - 1, FALSE);
    }
    lastLineDirty_ = false;
}

void MainWindow::onLogDisplayInfo(NMLVDISPINFOA& info) {
    if (!(info.item.mask & LVIF_TEXT) || info.item.cchTextMax <= 0) return;
    const std::size_t i = static_cast<std::size_t>(info.item.iItem);
    if (info.item.iItem < 0 || i >= log_.viewLineCount()) {
        info.item.pszText[0] = '\0';
        return;
    }
    std::string_view line = log_.viewLine(i);
    const std::size_t n = std::min(line.size(), static_cast<std::size_t>(info.item.cchTextMax - 1));
    std::memcpy(info.item.pszText, line.data(), n);
    info.item.pszText[n] = '\0';
}

// ---------------------------------------------------------------------------
// MainView.

void MainWindow::applyCommandState(const app::CommandSnapshot& snapshot,
                                   const std::string& cleanCaption,
                                   const std::string& testCaption) {
    for (const ButtonPlace& b : kButtons) {
        HWND button = control(idOf(b.command));
        const bool enabled = app::isCommandEnabled(b.command, snapshot);
        if ((IsWindowEnabled(button) != FALSE) != enabled) EnableWindow(button, enabled);
    }
    const int clean = idOf(app::Command::CleanNow), test = idOf(app::Command::TestMode);
    if (textOf(control(clean)) != cleanCaption)
        SetWindowTextA(control(clean), cleanCaption.c_str());
    if (textOf(control(test)) != testCaption) SetWindowTextA(control(test), testCaption.c_str());
    setButtonStyle(clean, snapshot.activity == app::Activity::Cleaning ? ButtonStyle::Stop
                                                                       : ButtonStyle::Primary);
    setButtonStyle(test, snapshot.activity == app::Activity::Testing ? ButtonStyle::Stop
                                                                     : ButtonStyle::Primary);
}

void MainWindow::showGauge() {
    ShowWindow(status_, SW_HIDE);
    ShowWindow(gauge_, SW_SHOW);
}

void MainWindow::showStatus() {
    ShowWindow(gauge_, SW_HIDE);
    ShowWindow(status_, SW_SHOW);
}

void MainWindow::setStatusText(const std::string& text) { setLabel(status_, text); }

void MainWindow::restoreRowsAfterTestStop() {
    app::ResetRowStates(*runView_, platform_, paths_, false);
}

void MainWindow::requestSystemShutdown(bool restart) {
    if (onSystemShutdown) onSystemShutdown(restart);
}

void MainWindow::runDialog(app::Dialog dialog) {
    DialogRunner& runner = dialogRunners_[static_cast<int>(dialog)];
    if (!runner) return;
    DialogHost host{*this, hwnd_};
    runner(host);
}

void MainWindow::aboutDialog(DialogHost& host) {
    AboutWindow about(desktop_, paths_.home);
    const Dpi d = screenDpi();
    app::Point p = host.place(d(kAboutWidth), d(kAboutHeight));
    if (!about.create(host.owner, p.x, p.y)) return;
    about.runModal(host.owner);
}

void MainWindow::armCleaningTimer(std::uint32_t intervalMs, bool enabled) {
    KillTimer(hwnd_, kCleaningTimer);
    if (enabled) SetTimer(hwnd_, kCleaningTimer, intervalMs, nullptr);
}

// ---------------------------------------------------------------------------
// Runs.

std::uint64_t MainWindow::startRun(engine::RunMode mode) {
    app::RunSetup setup;
    setup.mode = mode;
    setup.platform = &platform_;
    setup.services = services_;
    setup.settings = &settings_;
    setup.paths = paths_;
    setup.pluginFiles = queue_.pluginFiles;
    const std::uint64_t id = ++nextRunId_;
    current_ = std::make_unique<RunSlot>(hwnd_, id, std::move(setup));
    HWND window = hwnd_;
    current_->run.start([window](app::Run& run) {
        PostMessageA(window, kMsgRunFinished, static_cast<WPARAM>(run.id()), 0);
    });
    return id;
}

void MainWindow::stopRun(std::uint64_t id) {
    if (!current_ || current_->run.id() != id) return;
    current_->run.requestStop();
    // Not joined here: the run may be waiting for this very thread. It is
    // collected once its thread has ended.
    stopped_.push_back(std::move(current_));
    SetTimer(hwnd_, kReapTimer, 100, nullptr);
}

void MainWindow::reapStoppedRuns() {
    stopped_.erase(std::remove_if(stopped_.begin(), stopped_.end(),
                                  [](const std::unique_ptr<RunSlot>& s) { return s->run.done(); }),
                   stopped_.end());
    if (stopped_.empty() && hwnd_) KillTimer(hwnd_, kReapTimer);
}

void MainWindow::runFinished(std::uint64_t id) {
    if (!current_ || current_->run.id() != id) return;
    current_->run.wait();
    std::unique_ptr<RunSlot> finished = std::move(current_);
    refreshLogList();
    const app::Run& run = finished->run;
    controller_->runFinished(id, run.counters(), run.runDate(), run.runTime());
}

void MainWindow::waitForRuns() {
    if (current_) {
        current_->run.requestStop();
        stopped_.push_back(std::move(current_));
    }
    for (auto& slot : stopped_) slot->run.requestStop();
    // A run may be inside SendMessage to this thread: keep taking sent
    // messages (they are discarded, the run being stopped) until every
    // run thread has ended.
    while (!stopped_.empty()) {
        reapStoppedRuns();
        if (stopped_.empty()) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

// ---------------------------------------------------------------------------
// Hotkeys: registration only; what they do belongs to the triggers.

void MainWindow::unregisterAll() {
    for (int id : hotkeys_) UnregisterHotKey(hwnd_, id);
    hotkeys_.clear();
}

int MainWindow::registerShortcut(const std::string& shortcutText) {
    settings::Shortcut shortcut;
    if (!settings::textToShortcut(shortcutText, shortcut)) return 0;
    const int id = nextHotkeyId_++;
    if (!RegisterHotKey(hwnd_, id, settings::hotKeyModifiers(shortcut), shortcut.virtualKey)) {
        return 0;
    }
    hotkeys_.push_back(id);
    return id;
}

// ---------------------------------------------------------------------------
// Commands.

void MainWindow::command(int id) {
    const app::CommandInfo* info = app::findCommand(id);
    if (!info) return;
    switch (info->command) {
        case app::Command::ViewLog:
            viewLogCommand();
            break;
        case app::Command::ClearLog:
            clearLogCommand();
            break;
        case app::Command::Help:
        case app::Command::TitleHelp:
        case app::Command::TrayHelp:
            helpCommand();
            break;
        case app::Command::Exit:
        case app::Command::TitleClose:
        case app::Command::TrayExit:
            closeWithConfirmation();
            break;
        case app::Command::Minimize:
            minimizeToTray();
            break;
        case app::Command::TrayOpen:
            openFromTray();
            break;
        case app::Command::TrayPluginEditor:
            PluginEditorCommand(desktop_, *platform_.files, paths_.home, hwnd_);
            break;
        default:
            controller_->execute(info->command);
            break;
    }
}

void MainWindow::helpCommand() { HelpCommand(desktop_, *platform_.files, paths_.home, hwnd_); }

void MainWindow::viewLogCommand() {
    app::LogCommand c = log_.viewLog();
    if (c.action == app::LogCommand::Action::OpenFile) {
        desktop_.open(hwnd_, "", c.path, "");
    } else {
        desktop_.message(hwnd_, c.text, MB_OK | MB_ICONINFORMATION);
    }
}

void MainWindow::clearLogCommand() {
    app::LogCommand c = log_.prepareClearLog();
    if (c.action == app::LogCommand::Action::AskToDelete) {
        if (desktop_.message(hwnd_, c.text, MB_YESNO | MB_ICONQUESTION) != IDNO) {
            log_.confirmClearLog();
        }
    } else if (c.action == app::LogCommand::Action::ShowNoRecords) {
        desktop_.message(hwnd_, c.text, MB_OK | MB_ICONINFORMATION);
    }
}

void MainWindow::closeWithConfirmation() {
    if (desktop_.message(hwnd_, "Are you sure you want to close Cindral?",
                         MB_YESNO | MB_ICONQUESTION) == IDYES) {
        DestroyWindow(hwnd_);
    }
}

// ---------------------------------------------------------------------------
// Tray.

void MainWindow::showTrayIcon(bool show) {
    if (show == trayShown_) return;
    NOTIFYICONDATAA nid{};
    nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
    nid.hWnd = hwnd_;
    nid.uID = kTrayIconId;
    if (show) {
        nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
        nid.uCallbackMessage = kMsgTray;
        nid.hIcon = trayIcon_.get();
        lstrcpynA(nid.szTip, "Cindral", sizeof nid.szTip);
        Shell_NotifyIconA(NIM_ADD, &nid);
    } else {
        Shell_NotifyIconA(NIM_DELETE, &nid);
    }
    trayShown_ = show;
}

void MainWindow::trayAnimation(bool toTray) {
    ANIMATIONINFO ai{sizeof ai, 0};
    if (!SystemParametersInfoA(SPI_GETANIMATION, sizeof ai, &ai, 0) || ai.iMinAnimate == 0) return;
    RECT window;
    GetWindowRect(hwnd_, &window);
    RECT tray{};
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    HWND notify = taskbar ? FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr) : nullptr;
    if (!notify || !GetWindowRect(notify, &tray)) {
        tray = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    RECT corner{tray.right - 150, tray.bottom - 30, tray.right, tray.bottom};
    if (toTray) {
        DrawAnimatedRects(hwnd_, IDANI_CAPTION, &window, &corner);
    } else {
        DrawAnimatedRects(hwnd_, IDANI_CAPTION, &corner, &window);
    }
}

void MainWindow::minimizeToTray() {
    if (isVisible()) trayAnimation(true);
    ShowWindow(hwnd_, SW_HIDE);
}

void MainWindow::openFromTray() {
    if (isVisible()) return;
    trayAnimation(false);
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

OwnedMenu MainWindow::buildTrayMenu() {
    using app::Command;
    OwnedMenu owned(CreatePopupMenu());
    OwnedMenu safe(CreatePopupMenu());
    HMENU menu = owned.get();
    const app::CommandSnapshot snap = controller_->snapshot();
    auto add = [&](HMENU m, Command c, UINT extra = 0) {
        const auto& info = app::commandInfo(c);
        UINT flags = MF_STRING | extra | (app::isCommandEnabled(c, snap) ? MF_ENABLED : MF_GRAYED);
        AppendMenuA(m, flags, static_cast<UINT_PTR>(info.id), info.text);
    };
    // The caption bar: one owner-drawn item alone in the first column.
    AppendMenuA(menu, MF_OWNERDRAW | MF_DISABLED, kMenuBarId, nullptr);
    add(menu, Command::TrayOpen, MF_MENUBREAK);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    add(menu, Command::TrayCleanNow);
    add(menu, Command::TrayTestMode);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    add(menu, Command::TrayEraseItems);
    add(menu, Command::TrayOptions);
    add(menu, Command::TrayKeeper);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    add(menu, Command::TrayPluginEditor);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    add(safe.get(), Command::TraySafeShutdown);
    add(safe.get(), Command::TraySafeRestart);
    // The menu takes the submenu over once it holds it.
    if (AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(safe.get()),
                    "&Safe Action")) {
        safe.release();
    }
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    add(menu, Command::TrayHelp);
    add(menu, Command::TrayExit);
    SetMenuDefaultItem(menu, static_cast<UINT>(app::commandInfo(Command::TrayOpen).id), FALSE);
    return owned;
}

void MainWindow::drawTrayMenuBar(const DRAWITEMSTRUCT& item) {
    // Paint the whole height of the menu, not just the item's own rectangle.
    HWND menuWindow = WindowFromDC(item.hDC);
    RECT all = item.rcItem;
    RECT client;
    if (menuWindow && GetClientRect(menuWindow, &client)) {
        all.top = client.top;
        all.bottom = client.bottom;
    }
    TRIVERTEX v[2] = {};
    v[0].x = all.left, v[0].y = all.top;
    v[0].Red = 22 << 8, v[0].Green = 60 << 8, v[0].Blue = 108 << 8;
    v[1].x = all.right, v[1].y = all.bottom;
    v[1].Red = 70 << 8, v[1].Green = 132 << 8, v[1].Blue = 200 << 8;
    GRADIENT_RECT gr{0, 1};
    GradientFill(item.hDC, v, 2, &gr, 1, GRADIENT_FILL_RECT_V);
    SelectedObject font(item.hDC, menuBarFont_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(255, 255, 255));
    TextOutA(item.hDC, all.left + (all.right - all.left - dpi_(17)) / 2, all.bottom - dpi_(8),
             "Cindral", 7);
}

void MainWindow::trayMessage(LPARAM mouseMessage) {
    switch (mouseMessage) {
        case WM_LBUTTONDBLCLK:
            command(app::commandInfo(app::Command::TrayOpen).id);
            break;
        case WM_RBUTTONUP: {
            OwnedMenu menu = buildTrayMenu();
            POINT pt;
            GetCursorPos(&pt);
            SetForegroundWindow(hwnd_);
            const int id = static_cast<int>(TrackPopupMenu(
                menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_BOTTOMALIGN | TPM_RIGHTALIGN,
                pt.x, pt.y, 0, hwnd_, nullptr));
            PostMessageA(hwnd_, WM_NULL, 0, 0);
            menu.reset();
            if (id != 0) command(id);
            break;
        }
        default:
            break;
    }
}

// ---------------------------------------------------------------------------

LRESULT MainWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case kMsgRunRequest: {
            auto* request = reinterpret_cast<RunSlot::Proxy::Request*>(lParam);
            // Only the current run may change the window; a stopped one is no
            // longer current. A run's start steps arrive here before the
            // controller knows its id.
            if (current_ && current_->run.id() == request->id) {
                request->fn(*runView_);
            }
            return 0;
        }
        case kMsgRunFinished:
            runFinished(static_cast<std::uint64_t>(wParam));
            return 0;
        case kMsgTray:
            trayMessage(lParam);
            return 0;
        case WM_COMMAND:
            if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) command(LOWORD(wParam));
            return 0;
        case WM_HELP:
            helpCommand();
            return TRUE;
        case WM_TIMER:
            if (wParam == kLogTimer) {
                refreshLogList();
            } else if (wParam == kReapTimer) {
                reapStoppedRuns();
            } else if (wParam == kCleaningTimer && onCleaningTimer) {
                onCleaningTimer();
            }
            return 0;
        case WM_HOTKEY:
            if (onHotkey) onHotkey(static_cast<int>(wParam));
            return 0;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if (hdr->idFrom == static_cast<UINT_PTR>(kLogId) && hdr->code == LVN_GETDISPINFOA) {
                onLogDisplayInfo(*reinterpret_cast<NMLVDISPINFOA*>(lParam));
                return 0;
            }
            break;
        }
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (m->CtlType == ODT_MENU && m->itemID == kMenuBarId) {
                m->itemWidth = static_cast<UINT>(dpi_(14));
                m->itemHeight = static_cast<UINT>(dpi_(4));
                return TRUE;
            }
            break;
        }
        case WM_DRAWITEM: {
            auto* d = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (d->CtlType == ODT_MENU && d->itemID == kMenuBarId) {
                drawTrayMenuBar(*d);
                return TRUE;
            }
            break;
        }
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_MINIMIZE) {
                minimizeToTray();
                return 0;
            }
            if ((wParam & 0xFFF0) == SC_CLOSE) {
                closeWithConfirmation();
                return 0;
            }
            break;
        case WM_CLOSE:
            closeWithConfirmation();
            return 0;
        case WM_DESTROY:
            controller_->shutdownRuns();
            waitForRuns();
            unregisterAll();
            showTrayIcon(false);
            KillTimer(hwnd_, kCleaningTimer);
            KillTimer(hwnd_, kReapTimer);
            if (quitOnDestroy_) PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return SkinnedWindow::handle(msg, wParam, lParam);
}

int runMessageLoop(MainWindow& main) {
    ACCEL keys[1] = {{FVIRTKEY, VK_F1, static_cast<WORD>(app::commandInfo(app::Command::Help).id)}};
    OwnedAccelerators accel(CreateAcceleratorTableA(keys, 1));
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // F1 anywhere in the main window runs the Help command.
        if (main.hwnd() && (msg.hwnd == main.hwnd() || IsChild(main.hwnd(), msg.hwnd)) &&
            TranslateAcceleratorA(main.hwnd(), accel.get(), &msg)) {
            continue;
        }
        // Enter and Escape close the result window.
        HWND result = main.resultWindow().hwnd();
        if (result && (msg.hwnd == result || IsChild(result, msg.hwnd)) &&
            IsDialogMessageA(result, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace cindral::shell
