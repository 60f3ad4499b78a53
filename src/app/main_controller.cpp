#include "app/main_controller.h"

namespace cindral::app {

namespace {

const std::vector<CommandInfo> kCommands = {
    {Command::CleanNow, 101, "Clean Now!"},
    {Command::TestMode, 102, "Test Mode!"},
    {Command::EraseItems, 103, "Erase Items"},
    {Command::Options, 104, "Options"},
    {Command::Keeper, 105, "Keeper"},
    {Command::ViewLog, 106, "View Log"},
    {Command::ClearLog, 107, "Clear Log"},
    {Command::About, 108, "About"},
    {Command::Help, 109, "Help"},
    {Command::Exit, 110, "Exit"},
    {Command::TitleHelp, 112, "Help"},
    {Command::Minimize, 111, "Minimize"},
    {Command::TitleClose, 113, "Close"},
    {Command::TrayOpen, 201, "&Open Cindral"},
    {Command::TrayCleanNow, 202, "&Clean Now!"},
    {Command::TrayTestMode, 203, "&Test Mode!"},
    {Command::TrayEraseItems, 204, "&Erase Items"},
    {Command::TrayOptions, 205, "&Options"},
    {Command::TrayKeeper, 206, "&Keeper"},
    {Command::TrayPluginEditor, 207, "Launch &Plug-In Editor"},
    {Command::TraySafeShutdown, 208, "Safe Shut&down"},
    {Command::TraySafeRestart, 209, "Safe &Restart"},
    {Command::TrayHelp, 210, "&Help"},
    {Command::TrayExit, 211, "E&xit"},
};

}  // namespace

const std::vector<CommandInfo>& commandTable() { return kCommands; }

const CommandInfo* findCommand(int id) {
    for (const auto& info : kCommands) {
        if (info.id == id) return &info;
    }
    return nullptr;
}

const CommandInfo& commandInfo(Command command) {
    return kCommands[static_cast<std::size_t>(command)];
}

bool isRunSensitive(Command command) {
    switch (command) {
        case Command::EraseItems:
        case Command::Options:
        case Command::Keeper:
        case Command::TrayCleanNow:
        case Command::TrayTestMode:
        case Command::TrayEraseItems:
        case Command::TrayOptions:
        case Command::TrayKeeper:
        case Command::TraySafeShutdown:
        case Command::TraySafeRestart:
            return true;
        default:
            return false;
    }
}

bool opensDialog(Command command) {
    switch (command) {
        case Command::EraseItems:
        case Command::Options:
        case Command::Keeper:
        case Command::About:
        case Command::TrayEraseItems:
        case Command::TrayOptions:
        case Command::TrayKeeper:
            return true;
        default:
            return false;
    }
}

bool isCommandEnabled(Command command, const CommandSnapshot& s) {
    if (s.dialogOpen && opensDialog(command)) return false;
    switch (command) {
        case Command::EraseItems:
        case Command::TrayEraseItems:
            if (!s.eraseItemsDialog) return false;
            break;
        case Command::Options:
        case Command::TrayOptions:
            if (!s.optionsDialog) return false;
            break;
        case Command::Keeper:
        case Command::TrayKeeper:
            if (!s.keeperDialog) return false;
            break;
        default:
            break;
    }
    if (s.activity == Activity::Idle) return true;
    // The running run's own button stays usable: it stops the run.
    if (command == Command::CleanNow) return s.activity == Activity::Cleaning;
    if (command == Command::TestMode) return s.activity == Activity::Testing;
    return !isRunSensitive(command);
}

Point centredPlacement(int screenWidth, int screenHeight, int width, int height) {
    return Point{screenWidth / 2 - width / 2, screenHeight / 2 - height / 2};
}

Point dialogPlacement(bool mainVisible, Point mainTopLeft, int screenWidth, int screenHeight,
                      int dialogWidth, int dialogHeight) {
    if (mainVisible) return Point{mainTopLeft.x + 30, mainTopLeft.y + 30};
    return centredPlacement(screenWidth, screenHeight, dialogWidth, dialogHeight);
}

MainController::MainController(MainView& view, RunLauncher& runs, settings::Settings& settings,
                               platform::System& system, HotkeyRegistrar& hotkeys)
    : view_(view), runs_(runs), settings_(settings), system_(system), hotkeys_(hotkeys) {}

void MainController::setDialogAvailable(Dialog dialog, bool available) {
    dialogs_[static_cast<int>(dialog)] = available;
    refreshCommands();
}

CommandSnapshot MainController::snapshot() const {
    CommandSnapshot s;
    s.activity = activity_;
    s.eraseItemsDialog = dialogs_[static_cast<int>(Dialog::EraseItems)];
    s.optionsDialog = dialogs_[static_cast<int>(Dialog::Options)];
    s.keeperDialog = dialogs_[static_cast<int>(Dialog::Keeper)];
    s.dialogOpen = dialogOpen_;
    return s;
}

void MainController::refreshCommands() {
    view_.applyCommandState(snapshot(),
                            activity_ == Activity::Cleaning ? kStopCaption : kCleanCaption,
                            activity_ == Activity::Testing ? kStopCaption : kTestCaption);
}

bool MainController::execute(Command command) {
    if (!isEnabled(command)) return false;
    switch (command) {
        case Command::CleanNow:
            cleanNowClick();
            return true;
        case Command::TestMode:
            testModeClick();
            return true;
        case Command::TrayCleanNow:
            trayRunStart(engine::RunMode::Clean);
            return true;
        case Command::TrayTestMode:
            trayRunStart(engine::RunMode::Test);
            return true;
        case Command::EraseItems:
        case Command::TrayEraseItems:
            eraseItemsCommand();
            return true;
        case Command::Options:
        case Command::TrayOptions:
            optionsCommand();
            return true;
        case Command::Keeper:
        case Command::TrayKeeper:
            hostDialog(Dialog::Keeper);
            return true;
        case Command::About:
            hostDialog(Dialog::About);
            return true;
        case Command::TraySafeShutdown:
            safeAction(false);
            return true;
        case Command::TraySafeRestart:
            safeAction(true);
            return true;
        default:
            return false;
    }
}

void MainController::warnEmptyQueue() {
    view_.clearLogView();
    view_.addLogLine("WARNING: No items are selected.");
    view_.addLogLine("Process has been terminated.");
}

void MainController::stopCurrent() {
    if (activity_ == Activity::Idle) return;
    runs_.stopRun(runId_);
    const bool wasTest = activity_ == Activity::Testing;
    activity_ = Activity::Idle;
    runId_ = 0;
    // A stopped run never completes, so the flags it was started with must
    // not carry over to the next run: it would hide the window or drop the
    // result window of a run the user started in plain view.
    hideAfterRun_ = false;
    if (!wasTest) quietRun_ = false;
    if (wasTest) view_.restoreRowsAfterTestStop();
    refreshCommands();
    view_.showStatus();
    rebuildQueueWhenIdle();
}

// The run itself takes every start step (browser windows, queue rows,
// counters, prefix, gauge, log view); the window only shows it as running.
void MainController::beginRun(engine::RunMode mode) {
    // Busy from before the start: closing the browser windows waits on
    // them, and meanwhile the window answers what is sent to it (the end of
    // the session among them); a trigger answered then must find this run
    // going, not start a second one under it.
    activity_ = mode == engine::RunMode::Test ? Activity::Testing : Activity::Cleaning;
    const std::uint64_t id = runs_.startRun(mode);
    if (id == 0) {
        activity_ = Activity::Idle;
        return;
    }
    runId_ = id;
    view_.showGauge();
    refreshCommands();
}

void MainController::cleanNowClick() {
    if (activity_ == Activity::Cleaning) {
        stopCurrent();
        return;
    }
    // A trigger (timer, hotkey, session end) may arrive during a test run;
    // it must not start a second worker beside it, so it is ignored.
    if (activity_ == Activity::Testing) return;
    if (view_.queueCount() == 0) {
        warnEmptyQueue();
        return;
    }
    beginRun(engine::RunMode::Clean);
}

void MainController::testModeClick() {
    if (activity_ == Activity::Testing) {
        stopCurrent();
        return;
    }
    if (activity_ == Activity::Cleaning) return;
    if (view_.queueCount() == 0) {
        warnEmptyQueue();
        return;
    }
    beginRun(engine::RunMode::Test);
}

void MainController::trayRunStart(engine::RunMode mode) {
    const bool wasHidden = !view_.isMainWindowVisible();
    const bool wasIdle = activity_ == Activity::Idle;
    view_.openFromTray();
    if (mode == engine::RunMode::Clean) {
        cleanNowClick();
    } else {
        testModeClick();
    }
    // Only a run this click started hides the window again when it ends: an
    // empty queue, a refused start or a stop must not leave the flag for the
    // next run the user starts in plain view.
    if (wasHidden && wasIdle && activity_ != Activity::Idle) hideAfterRun_ = true;
}

void MainController::safeAction(bool restart) {
    if (restart) {
        restartPending_ = true;
    } else {
        shutdownPending_ = true;
    }
    cleanNowClick();
}

bool MainController::canOpenDialog(Dialog dialog) const {
    return dialogs_[static_cast<int>(dialog)] && !dialogOpen_;
}

void MainController::showDialog(Dialog dialog) {
    struct Showing {
        bool& open;
        ~Showing() { open = false; }
    } showing{dialogOpen_};
    dialogOpen_ = true;
    view_.runDialog(dialog);
}

void MainController::hostDialog(Dialog dialog) {
    if (!canOpenDialog(dialog)) return;
    showDialog(dialog);
}

void MainController::eraseItemsCommand() {
    if (!canOpenDialog(Dialog::EraseItems)) return;
    // A rebuild is left due only while a run goes, when this command is
    // refused, so clearing here drops only a stray confirmation.
    itemsChanged_ = false;
    showDialog(Dialog::EraseItems);
    rebuildQueueWhenIdle();
}

void MainController::rebuildQueueWhenIdle() {
    if (!itemsChanged_ || activity_ != Activity::Idle) return;
    itemsChanged_ = false;
    view_.rebuildQueue();
}

void MainController::optionsCommand() {
    if (!canOpenDialog(Dialog::Options)) return;
    showDialog(Dialog::Options);
    registerHotkeys();
    rearmCleaningTimer();
}

void MainController::registerHotkeys() {
    hotkeys_.unregisterAll();
    hotkeyIds_.clear();
    // The same defaults after the Options dialog as at start-up: "Ctrl+U"
    // and "Shift+B" would take plain typing keys from every other program
    // (a capital B would hide the browser windows) when the dialog was
    // cancelled before anything was stored.
    for (const settings::TextSetting& key :
         {settings::kHotKey1, settings::kHotKey2, settings::kHotKey3}) {
        hotkeyIds_.push_back(hotkeys_.registerShortcut(settings_.read(key)));
    }
}

void MainController::rearmCleaningTimer() {
    static const std::uint32_t kIntervals[] = {900000u, 3600000u, 28800000u, 86400000u};
    const std::uint32_t which = settings_.read(settings::kEraseEveryTime);
    if (which > 3) return;
    const std::uint32_t period = kIntervals[which];
    const bool on = settings_.isOn(settings::kEraseEvery);
    const bool restart = on && (!cleaningTimerOn_ || period != cleaningPeriodMs_);
    const bool stop = !on && cleaningTimerOn_;
    cleaningPeriodMs_ = period;
    cleaningTimerOn_ = on;
    if (restart || stop) view_.armCleaningTimer(period, on);
}

void MainController::runFinished(std::uint64_t id, const engine::RunCounters& counters,
                                 const std::string& runDate, const std::string& runTime) {
    if (id == 0 || id != runId_ || activity_ == Activity::Idle) return;
    CompletionFacts facts;
    facts.mode = activity_ == Activity::Testing ? engine::RunMode::Test : engine::RunMode::Clean;
    facts.counters = counters;
    facts.runDate = runDate;
    facts.runTime = runTime;
    facts.hideAfterRun = hideAfterRun_;
    facts.quietRun = quietRun_;
    facts.shutdownPending = shutdownPending_;
    facts.restartPending = restartPending_;
    activity_ = Activity::Idle;
    runId_ = 0;
    complete(facts);
    rebuildQueueWhenIdle();
}

void MainController::complete(const CompletionFacts& facts) {
    for (const CompletionEffect& e : RunCompletion(facts, settings_, system_.decimalSeparator())) {
        switch (e.step) {
            case CompletionStep::HideToTray:
                view_.hideToTray();
                break;
            case CompletionStep::ClearHideAfterRun:
                hideAfterRun_ = false;
                break;
            case CompletionStep::ShowResultWindow:
                view_.showResult(e.result);
                break;
            case CompletionStep::ClearQuietRun:
                quietRun_ = false;
                break;
            case CompletionStep::ShowSummary:
                view_.setStatusText(e.text);
                view_.showStatus();
                break;
            case CompletionStep::ReturnToIdle:
                refreshCommands();
                break;
            case CompletionStep::AppendTrailer:
                view_.appendLogTrailer(e.text);
                break;
            case CompletionStep::SaveLog:
                view_.saveLog();
                break;
            case CompletionStep::StoreLastDate:
                settings_.write(settings::kLastDate, e.text);
                break;
            case CompletionStep::ShutDown:
                view_.requestSystemShutdown(false);
                break;
            case CompletionStep::Restart:
                view_.requestSystemShutdown(true);
                break;
        }
    }
}

void MainController::shutdownRuns() {
    if (activity_ == Activity::Idle) return;
    runs_.stopRun(runId_);
    activity_ = Activity::Idle;
    runId_ = 0;
}

}  // namespace cindral::app
