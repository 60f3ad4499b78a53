#include "shell/main_window.h"

#include <algorithm>
#include <utility>

#include "app/home_folder.h"
#include "app/queue_run_view.h"
#include "settings/system_shutdown.h"
#include "shell/about_window.h"
#include "shell/erase_items_dialog.h"
#include "shell/keeper_dialog.h"
#include "shell/main_window_ids.h"
#include "shell/options_dialog.h"

namespace cindral::shell {

namespace {

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

// The queue and the log as the current run changes them, on the window's
// thread: app::QueueRunView keeps the queue and the log book, and this
// view also shows each change on the window's controls.
class MainWindow::WindowRunView : public app::QueueRunView {
public:
    explicit WindowRunView(MainWindow& window)
        : QueueRunView(window.queue_, window.log_), window_(window) {
        setLineListener(
            [this](LineEvent event, const std::string&) { window_.logList_.bookChanged(event); });
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

// ---------------------------------------------------------------------------

MainWindow::MainWindow(const MainWindowSetup& setup)
    : platform_(*setup.platform),
      services_(setup.services),
      sessionEnd_(setup.sessionEnd),
      settings_(*setup.settings),
      desktop_(setup.desktop ? *setup.desktop : systemDesktop()),
      quitOnDestroy_(setup.quitOnDestroy),
      keyNames_(platform::createLayoutKeyNames()),
      log_(*setup.platform->files,
           app::DataPaths::forHome(app::HomeFolder(*setup.platform->system)).logFile),
      paths_(app::DataPaths::forHome(app::HomeFolder(*setup.platform->system))),
      runView_(std::make_unique<WindowRunView>(*this)),
      logList_(log_),
      runs_(
          *runView_, [this](engine::RunMode mode) { return runSetup(mode); },
          [this](const app::Run& run) { runFinished(run); }),
      hotKeys_(*keyNames_),
      tray_([this] { return controller_->snapshot(); }) {
    app::MainView& view = *this;
    controller_ =
        std::make_unique<app::MainController>(view, runs_, settings_, *platform_.system, hotKeys_);
    app::TriggerWindow& window = *this;
    triggers_ = std::make_unique<app::Triggers>(*controller_, window, settings_,
                                                *platform_.registry, *services_->browserWindows);
    hotKeys_.onPressed = [this](int id) { triggers_->hotKeyPressed(id); };
}

MainWindow::~MainWindow() {
    // The window goes first: closing it stops the runs, and the icons it
    // shows are freed afterwards with the other members.
    if (hwnd_) DestroyWindow(hwnd_);
    runs_.stopAll();
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
    SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
    SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    createControls();
    result_.create(hwnd_);
    runs_.attach(hwnd_);
    hotKeys_.create();
    SetTimer(hwnd_, kHomePageTimer, 500, nullptr);
    // The tray icon exists before the start-up sequence; invisible mode may
    // take it away again.
    tray_.create(hwnd_, dpi_);
    tray_.show(true);
    // The dialogs this window hosts; each enables its button and tray entry.
    setDialogRunner(app::Dialog::About, hostAboutWindow);
    setDialogRunner(app::Dialog::EraseItems, kitDialogRunner<EraseItemsDialog>());
    setDialogRunner(app::Dialog::Keeper, kitDialogRunner<KeeperDialog>());
    setDialogRunner(app::Dialog::Options, kitDialogRunner<OptionsDialog>());
    return true;
}

void MainWindow::createControls() {
    HWND title = addLabel("Cindral", 30, 7, 200, 17, fonts_.title, colors::kTitleText, SS_LEFT);
    // Set afterwards: a label made with an id would take the clicks that drag the window.
    SetWindowLongPtrA(title, GWLP_ID, kTitleId);
    addTitleButton(idOf(app::Command::TitleHelp), TitleGlyph::Help, 420, 7);
    addTitleButton(idOf(app::Command::Minimize), TitleGlyph::Minimize, 438, 7);
    addTitleButton(idOf(app::Command::TitleClose), TitleGlyph::Close, 456, 7);

    createQueueList();
    logList_.create(hwnd_, kLogId, dpi_.rect(10, 187, 359, 110), fonts_.normal);

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
}

void MainWindow::createQueueList() {
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
}

void MainWindow::setDialogRunner(app::Dialog dialog, DialogRunner runner) {
    const bool available = static_cast<bool>(runner);
    dialogRunners_[static_cast<int>(dialog)] = std::move(runner);
    controller_->setDialogAvailable(dialog, available);
}

// ---------------------------------------------------------------------------
// Start-up and the queue.

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
    logList_.refresh();

    controller_->registerHotkeys();

    const bool invisibleHotkey = controller_->hotkeyIds().size() > 1 && controller_->hotkeyIds()[1];
    app::StartupDecisions d = app::DecideStartup(settings_, params, invisibleHotkey);
    tray_.show(d.showTrayIcon);
    if (d.startCleaningRun) controller_->cleanNowClick();
    if (d.setStatusLabel) setStatusText(d.statusLabel);
    app::FinishStartup(log_);
    logList_.refresh();
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

engine::RunView& MainWindow::runView() { return *runView_; }

// ---------------------------------------------------------------------------
// MainView.

void MainWindow::clearLogView() { runView_->clearLog(); }

void MainWindow::addLogLine(const std::string& text) { runView_->addLine(text); }

void MainWindow::applyCommandState(const app::CommandSnapshot& snapshot,
                                   const std::string& cleanCaption,
                                   const std::string& testCaption) {
    // While a dialog is showing the whole window is disabled under it, so
    // its buttons keep the look the run state gives them; the tray menu is
    // what shows the dialog commands greyed.
    app::CommandSnapshot buttons = snapshot;
    buttons.dialogOpen = false;
    for (const ButtonPlace& b : kButtons) {
        HWND button = control(idOf(b.command));
        const bool enabled = app::isCommandEnabled(b.command, buttons);
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
    // Whether Windows agrees is not looked at: if it does not go down, the
    // request is still pending and the next cleaning run asks again.
    if (sessionEnd_)
        settings::SystemShutdown(*sessionEnd_, platform_.system->version(), "", false, restart);
}

void MainWindow::runDialog(app::Dialog dialog) {
    const DialogRunner& runner = dialogRunners_[static_cast<int>(dialog)];
    if (!runner) return;
    DialogHost host{hwnd_, desktop_, platform_, settings_, paths_};
    if (runner(host)) controller_->dialogConfirmed(dialog);
}

void MainWindow::armCleaningTimer(std::uint32_t intervalMs, bool enabled) {
    KillTimer(hwnd_, kCleaningTimer);
    if (enabled) SetTimer(hwnd_, kCleaningTimer, intervalMs, nullptr);
}

// ---------------------------------------------------------------------------
// Runs.

app::RunSetup MainWindow::runSetup(engine::RunMode mode) const {
    app::RunSetup setup;
    setup.mode = mode;
    setup.platform = &platform_;
    setup.services = services_;
    setup.settings = &settings_;
    setup.paths = paths_;
    setup.pluginFiles = queue_.pluginFiles;
    setup.registryTitles = queue_.registryTitles;
    setup.folderTitles = queue_.folderTitles;
    return setup;
}

void MainWindow::runFinished(const app::Run& run) {
    logList_.refresh();
    controller_->runFinished(run.id(), run.counters(), run.runDate(), run.runTime());
}

// ---------------------------------------------------------------------------
// TriggerWindow.

void MainWindow::setBrowserWatch(bool on) {
    if (on) {
        SetTimer(hwnd_, kIEShutDownTimer, 500, nullptr);
    } else {
        KillTimer(hwnd_, kIEShutDownTimer);
    }
}

void MainWindow::hideProgram() {
    ShowWindow(hwnd_, SW_HIDE);
    tray_.show(false);
}

void MainWindow::showProgram() {
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    tray_.show(true);
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
    app::LogCommand c = log_.viewLog(runInProgress());
    if (c.action == app::LogCommand::Action::OpenFile) {
        desktop_.open(hwnd_, "", c.path, "");
    } else {
        desktop_.message(hwnd_, c.text, MB_OK | MB_ICONINFORMATION);
    }
}

void MainWindow::clearLogCommand() {
    app::LogCommand c = log_.prepareClearLog(runInProgress());
    if (c.action == app::LogCommand::Action::AskToDelete) {
        if (desktop_.message(hwnd_, c.text, MB_YESNO | MB_ICONQUESTION) != IDNO) {
            log_.confirmClearLog(runInProgress());
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

void MainWindow::minimizeToTray() {
    if (isVisible()) animateTray(hwnd_, true);
    ShowWindow(hwnd_, SW_HIDE);
}

void MainWindow::openFromTray() {
    if (isVisible()) return;
    animateTray(hwnd_, false);
    if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

// ---------------------------------------------------------------------------

LRESULT MainWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The pieces that share the window take their own messages first.
    LRESULT result = 0;
    if (runs_.handle(msg, wParam, lParam, result) || logList_.handle(msg, wParam, lParam, result) ||
        tray_.handle(msg, wParam, lParam, result)) {
        return result;
    }
    switch (msg) {
        case WM_COMMAND:
            // Buttons, menus (the tray's too) and the F1 key.
            if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) command(LOWORD(wParam));
            return 0;
        case WM_HELP:
            helpCommand();
            return TRUE;
        case WM_TIMER:
            timerTick(wParam);
            return 0;
        case WM_QUERYENDSESSION:
            return triggers_->queryEndSession() ? TRUE : FALSE;
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
            runs_.stopAll();
            hotKeys_.unregisterAll();
            tray_.show(false);
            for (UINT_PTR timer : {kCleaningTimer, kHomePageTimer, kIEShutDownTimer})
                KillTimer(hwnd_, timer);
            if (quitOnDestroy_) PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return SkinnedWindow::handle(msg, wParam, lParam);
}

void MainWindow::timerTick(UINT_PTR timer) {
    switch (timer) {
        case kCleaningTimer:
            triggers_->cleanTimerTick();
            break;
        case kHomePageTimer:
            triggers_->homePageTimerTick();
            break;
        case kIEShutDownTimer:
            triggers_->browserWatchTick();
            break;
        default:
            break;
    }
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
