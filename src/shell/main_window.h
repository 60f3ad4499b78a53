// The main window (TMForm): the layout of the item queue, the log list, the
// command buttons, the status label and the gauge; the dispatch of every
// command id; and app::MainView, through which app::MainController's
// behaviour is shown and its requests carried out. The window is made of
// pieces that live beside it, each handed the messages that are its own:
//   tray_icon.h    the icon in the notification area and its menu
//   log_list.h     the virtual list over the log book
//   run_proxy.h       the runs on their threads and the proxy they talk through
//   dialog_host.h     how a dialog is hosted
//   hotkey_manager.h  the system-wide hotkeys on a hidden window of their own
// Their messages and timers are numbered in main_window_ids.h. The timers,
// the session end and the hotkeys are handed to app::Triggers.
#pragma once

#include <windows.h>
// Needs <windows.h> first.
#include <commctrl.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/log_book.h"
#include "app/main_controller.h"
#include "app/run.h"
#include "app/startup.h"
#include "app/triggers.h"
#include "engine/log_view.h"
#include "platform/key_names.h"
#include "platform/platform.h"
#include "platform/run_services.h"
#include "platform/session_end.h"
#include "settings/settings_store.h"
#include "shell/desktop.h"
#include "shell/dialog_host.h"
#include "shell/hotkey_manager.h"
#include "shell/log_list.h"
#include "shell/owned_handle.h"
#include "shell/result_window.h"
#include "shell/run_proxy.h"
#include "shell/tray_icon.h"
#include "shell/window.h"

namespace cindral::shell {

struct MainWindowSetup {
    platform::Platform* platform = nullptr;
    platform::RunServices* services = nullptr;
    settings::Settings* settings = nullptr;
    Desktop* desktop = nullptr;  // null: the system's
    // What a pending safe shutdown or restart asks at completion; null: the
    // request is dropped (tests hand in a recorder, never the real one).
    platform::SessionEnd* sessionEnd = nullptr;
    // End the message loop when the window goes (the program); tests keep it.
    bool quitOnDestroy = true;
};

class MainWindow : public SkinnedWindow, private app::MainView, private app::TriggerWindow {
public:
    // Control identifiers beyond the command table.
    static constexpr int kQueueId = 301;
    static constexpr int kLogId = 302;
    static constexpr int kStatusId = 303;
    static constexpr int kGaugeId = 304;
    static constexpr int kTitleId = 305;

    explicit MainWindow(const MainWindowSetup& setup);
    ~MainWindow() override;

    // Creates the window (hidden) with its tray icon, the result window and
    // the hotkey manager, starts the home-page timer and installs the
    // dialogs it hosts.
    bool create();
    // The start-up sequence; `params` are the command-line parameters.
    // Shows the window unless the sequence decided otherwise.
    void startup(const std::vector<std::string>& params);

    // Installs a dialog; its button and tray entry are enabled from then on.
    void setDialogRunner(app::Dialog dialog, DialogRunner runner);

    app::MainController& controller() { return *controller_; }
    app::Triggers& triggers() { return *triggers_; }
    HotKeyManager& hotKeys() { return hotKeys_; }
    app::LogBook& logBook() { return log_; }
    const app::ItemQueue& queue() const { return queue_; }
    const app::DataPaths& paths() const { return paths_; }
    ResultWindow& resultWindow() { return result_; }
    HWND control(int id) const { return GetDlgItem(hwnd_, id); }
    OwnedMenu buildTrayMenu() const { return tray_.buildMenu(); }
    bool trayIconShown() const override { return tray_.shown(); }
    int imageSet() const { return imageSet_; }

    // Carries out a command id as its button, title button, tray entry or
    // key gives it.
    void command(int id);
    void helpCommand();
    void viewLogCommand();
    bool runInProgress() const { return controller_->activity() != app::Activity::Idle; }
    std::size_t stoppedRunsLeft() const { return runs_.stoppedRunsLeft(); }
    void clearLogCommand();
    void minimizeToTray();
    void openFromTray() override;
    // Asks first; on Yes the window is destroyed.
    void closeWithConfirmation();

    // The queue and log as a run sees them; use on the window's thread only.
    engine::RunView& runView();

protected:
    LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    class WindowRunView;

    // app::MainView
    int queueCount() override { return static_cast<int>(queue_.rows.size()); }
    void clearLogView() override;
    void addLogLine(const std::string& text) override;
    void applyCommandState(const app::CommandSnapshot& snapshot, const std::string& cleanCaption,
                           const std::string& testCaption) override;
    void showGauge() override;
    void showStatus() override;
    void setStatusText(const std::string& text) override;
    void restoreRowsAfterTestStop() override;
    bool isMainWindowVisible() override { return isVisible(); }
    void hideToTray() override { minimizeToTray(); }
    void showResult(const app::ResultTexts& texts) override { result_.show(texts); }
    void appendLogTrailer(const std::string& summary) override { log_.appendTrailer(summary); }
    void saveLog() override { log_.saveBuffer(); }
    void requestSystemShutdown(bool restart) override;
    void runDialog(app::Dialog dialog) override;
    void rebuildQueue() override;
    void armCleaningTimer(std::uint32_t intervalMs, bool enabled) override;

    // app::TriggerWindow
    void setBrowserWatch(bool on) override;
    void hideProgram() override;
    void showProgram() override;

    void createControls();
    void createQueueList();
    void fillQueueList();
    void updateQueueRow(int row);
    app::RunSetup runSetup(engine::RunMode mode) const;
    void runFinished(const app::Run& run);
    void timerTick(UINT_PTR timer);

    platform::Platform& platform_;
    platform::RunServices* services_;
    platform::SessionEnd* sessionEnd_;
    settings::Settings& settings_;
    Desktop& desktop_;
    bool quitOnDestroy_;
    // Shortcut texts name keys as the user's keyboard layout does.
    std::unique_ptr<platform::KeyNames> keyNames_;

    app::LogBook log_;
    app::ItemQueue queue_;
    app::DataPaths paths_;
    int imageSet_ = 0;
    std::unique_ptr<WindowRunView> runView_;
    LogList logList_;
    RunProxy runs_;
    HotKeyManager hotKeys_;
    std::unique_ptr<app::MainController> controller_;
    std::unique_ptr<app::Triggers> triggers_;
    TrayIcon tray_;
    DialogRunner dialogRunners_[4];

    ResultWindow result_;
    HWND queueList_ = nullptr;
    HWND status_ = nullptr;
    HWND gauge_ = nullptr;
    OwnedIcon bigIcon_;
    OwnedIcon smallIcon_;
};

// Runs the program's message loop (with F1 as the Help key) until WM_QUIT.
int runMessageLoop(MainWindow& main);

}  // namespace cindral::shell
