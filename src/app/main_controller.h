// The behaviour of the main window without the window: the run state
// machine (idle, cleaning run, test run), the commands and which of them
// are enabled, run completion, the tray run start with hide-after-run, the
// quiet-run and pending shutdown/restart flags, dialog hosting and
// placement. The Win32 main window is a thin MainView over this class;
// tests drive it through a fake view.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/completion.h"
#include "engine/run_state.h"
#include "platform/system.h"
#include "settings/settings_store.h"

namespace cindral::app {

// What the main window is doing: nothing, or one of the two kinds of run.
enum class Activity { Idle, Cleaning, Testing };
// The windows the main window opens or names a help topic for; the plug-in
// editor is a program of its own, launched rather than hosted.
enum class Dialog { EraseItems, Options, Keeper, About, PluginEditor };
inline constexpr int kDialogCount = static_cast<int>(Dialog::PluginEditor) + 1;

// Every command of the main window, its buttons, title buttons and tray menu.
// The table is in this order.
enum class Command : int {
    CleanNow,
    TestMode,
    EraseItems,
    Options,
    Keeper,
    ViewLog,
    ClearLog,
    About,
    Help,
    Exit,
    // The title buttons.
    TitleHelp,
    Minimize,
    TitleClose,
    TrayOpen,
    TrayCleanNow,
    TrayTestMode,
    TrayEraseItems,
    TrayOptions,
    TrayKeeper,
    TrayPluginEditor,
    TraySafeShutdown,
    TraySafeRestart,
    TrayHelp,
    TrayExit,
    Count
};

struct CommandInfo {
    Command command;
    int id;            // WM_COMMAND identifier
    const char* text;  // button caption or menu text (a title button's name)
};

// The one table of commands: identifiers, captions and menu texts.
const std::vector<CommandInfo>& commandTable();
const CommandInfo* findCommand(int id);
const CommandInfo& commandInfo(Command command);

// What decides whether a command can be used right now.
struct CommandSnapshot {
    Activity activity = Activity::Idle;
    bool eraseItemsDialog = false;  // the dialog exists in this build
    bool optionsDialog = false;
    bool keeperDialog = false;
    // A hosted dialog is showing. Its modal loop keeps serving the tray
    // menu, and a second dialog opened from there would run inside the
    // first, whose OK then writes its older state over the inner one's.
    bool dialogOpen = false;
};

// The one rule for enabling: while a run is in progress the eleven
// run-sensitive controls (the other run's button, Erase Items, Options,
// Keeper, and the tray's Clean Now, Test Mode, Erase Items, Options, Keeper,
// Safe Shutdown, Safe Restart) are disabled; a command whose dialog is not
// part of the build is always disabled; while a dialog is showing, the
// commands that open one (Erase Items, Options, Keeper, About and their tray
// entries) are disabled; everything else is always enabled.
bool isCommandEnabled(Command command, const CommandSnapshot& snapshot);
bool isRunSensitive(Command command);
bool opensDialog(Command command);

struct Point {
    int x = 0;
    int y = 0;
};

// Where a hosted dialog goes: 30 pixels right of and below the main window's
// top-left corner when it is visible, centred on the screen when it is not.
Point dialogPlacement(bool mainVisible, Point mainTopLeft, int screenWidth, int screenHeight,
                      int dialogWidth, int dialogHeight);
// (screen div 2) - (window div 2) on each axis, rounding toward zero.
Point centredPlacement(int screenWidth, int screenHeight, int width, int height);

// Hotkey registration; the triggers complete what a hotkey does.
class HotkeyRegistrar {
public:
    virtual ~HotkeyRegistrar() = default;
    virtual void unregisterAll() = 0;
    // Registers a shortcut text ("Ctrl+U"); returns its identifier, or 0
    // when the text is empty or does not convert to a shortcut.
    virtual int registerShortcut(const std::string& shortcutText) = 0;
};

// The runs as the controller starts and stops them.
class RunLauncher {
public:
    virtual ~RunLauncher() = default;
    // Starts a run, which prepares the queue rows, the gauge and the log view
    // before it returns; the id names the run in its finished report. 0
    // when it could not start.
    virtual std::uint64_t startRun(engine::RunMode mode) = 0;
    // Asks the run to stop; it never reports completion afterwards.
    virtual void stopRun(std::uint64_t id) = 0;
};

// What the controller asks of the window.
class MainView {
public:
    virtual ~MainView() = default;

    virtual int queueCount() = 0;
    virtual void clearLogView() = 0;
    virtual void addLogLine(const std::string& text) = 0;
    // Enables and captions every command from the snapshot (the one rule).
    virtual void applyCommandState(const CommandSnapshot& snapshot, const std::string& cleanCaption,
                                   const std::string& testCaption) = 0;
    // The gauge shown instead of the status label.
    virtual void showGauge() = 0;
    // Status label shown, gauge hidden.
    virtual void showStatus() = 0;
    virtual void setStatusText(const std::string& text) = 0;

    // The rows given back their own icons after a stopped test run.
    virtual void restoreRowsAfterTestStop() = 0;

    virtual bool isMainWindowVisible() = 0;
    virtual void hideToTray() = 0;
    virtual void openFromTray() = 0;

    virtual void showResult(const ResultTexts& texts) = 0;
    // The run trailer into the log buffer, and the buffer written to logs.txt.
    virtual void appendLogTrailer(const std::string& summary) = 0;
    virtual void saveLog() = 0;
    virtual void requestSystemShutdown(bool restart) = 0;

    // Hosts a dialog: create, place, show modally, destroy. A dialog the
    // user confirms is reported with MainController::dialogConfirmed before
    // this returns.
    virtual void runDialog(Dialog dialog) = 0;
    virtual void rebuildQueue() = 0;
    // The periodic cleaning timer: started afresh with this period (its
    // next tick one period from now), or stopped.
    virtual void armCleaningTimer(std::uint32_t intervalMs, bool enabled) = 0;
};

class MainController {
public:
    MainController(MainView& view, RunLauncher& runs, settings::Settings& settings,
                   platform::System& system, HotkeyRegistrar& hotkeys);

    // Which dialogs this build has; the others stay disabled.
    void setDialogAvailable(Dialog dialog, bool available);

    Activity activity() const { return activity_; }
    std::uint64_t runId() const { return runId_; }
    CommandSnapshot snapshot() const;
    bool isEnabled(Command command) const { return isCommandEnabled(command, snapshot()); }

    // Dispatches a command as its button or menu entry would. Disabled
    // commands are refused (false). Commands the window carries out itself
    // (View Log, Help, Minimize, ...) return false as well.
    bool execute(Command command);

    void cleanNowClick();
    void testModeClick();
    void trayRunStart(engine::RunMode mode);
    void safeAction(bool restart);
    // The dialog commands; each is refused while its dialog is not part of
    // the build or while another dialog is showing.
    void eraseItemsCommand();
    void optionsCommand();
    void hostDialog(Dialog dialog);

    // A hosted dialog ended with OK. Erase Items has saved its selection by
    // then, so its command rebuilds the queue when the dialog has gone, or,
    // when a trigger started a run meanwhile, once that run has ended.
    void dialogConfirmed(Dialog dialog) {
        if (dialog == Dialog::EraseItems) itemsChanged_ = true;
    }

    // A run reported that its body returned, with its figures and the date
    // and time it took at its start. Reports from a run that is no longer
    // the current one (stopped, replaced) are discarded.
    void runFinished(std::uint64_t id, const engine::RunCounters& counters,
                     const std::string& runDate, const std::string& runTime);

    // Closing the window: the current run is stopped without completion.
    void shutdownRuns();

    // The three hotkeys registered afresh from their stored shortcut texts,
    // at start-up and after every Options dialog.
    void registerHotkeys();
    // The arming rule of the periodic timer, from "EraseEveryTime" and
    // "EraseEvery". The timer is restarted only when its period changes or
    // it is switched on; one that runs with the same period is left alone,
    // so opening the Options dialog does not put off the next cleaning.
    void rearmCleaningTimer();

    bool hideAfterRun() const { return hideAfterRun_; }
    bool quietRun() const { return quietRun_; }
    void setQuietRun(bool quiet) { quietRun_ = quiet; }
    bool shutdownPending() const { return shutdownPending_; }
    bool restartPending() const { return restartPending_; }
    const std::vector<int>& hotkeyIds() const { return hotkeyIds_; }

    static constexpr const char* kCleanCaption = "Clean Now!";
    static constexpr const char* kTestCaption = "Test Mode!";
    static constexpr const char* kStopCaption = "Stop Work!";

private:
    void refreshCommands();
    bool canOpenDialog(Dialog dialog) const;
    // Runs the dialog, marked as showing until it has returned by any path.
    void showDialog(Dialog dialog);
    void warnEmptyQueue();
    void stopCurrent();
    void beginRun(engine::RunMode mode);
    // A run walks the queue's rows by index, so a due rebuild waits until
    // no run is going.
    void rebuildQueueWhenIdle();
    // Carries out the completion steps in their order.
    void complete(const CompletionFacts& facts);

    MainView& view_;
    RunLauncher& runs_;
    settings::Settings& settings_;
    platform::System& system_;
    HotkeyRegistrar& hotkeys_;

    Activity activity_ = Activity::Idle;
    std::uint64_t runId_ = 0;
    bool dialogs_[kDialogCount] = {false, false, false, true, true};
    bool dialogOpen_ = false;
    // A confirmed Erase Items dialog whose queue rebuild is still due.
    bool itemsChanged_ = false;
    bool hideAfterRun_ = false;
    bool quietRun_ = false;
    bool shutdownPending_ = false;
    bool restartPending_ = false;
    std::vector<int> hotkeyIds_;
    // The periodic timer as last armed: off until the first Options dialog.
    std::uint32_t cleaningPeriodMs_ = 0;
    bool cleaningTimerOn_ = false;
};

}  // namespace cindral::app
