// The triggers and guards of the main window without the window: the
// periodic cleaning, the home-page lock and the browser watch, the end of
// the Windows session, and the three hotkeys (start erasing, invisible mode,
// boss key). The Win32 main window hands its timer ticks, WM_QUERYENDSESSION
// and the hotkey manager's presses to this class; tests drive it over fakes.
//
// Every trigger that cleans goes through the controller's Clean Now, so a
// triggered run is prepared, logged and completed like the user's own. The
// automatic ones (the periodic timer, the browser watch, the session end
// and the boss key's close-and-clean) act only while no run is in progress:
// Clean Now during a cleaning run stops it, and a trigger is there to clean,
// not to stop the cleaning the user (or another trigger) has started. The
// start-erasing hotkey is the user's own Clean Now button, and toggles.
#pragma once

#include "app/main_controller.h"
#include "platform/registry.h"
#include "platform/run_services.h"
#include "settings/settings_store.h"

namespace cindral::app {

// What the triggers ask of the window besides the controller.
class TriggerWindow {
public:
    virtual ~TriggerWindow() = default;
    // The browser watch's 500 ms timer (IEShutDownTimer) switched on or off.
    virtual void setBrowserWatch(bool on) = 0;
    virtual bool trayIconShown() const = 0;
    // Invisible mode: the main window, its taskbar button and the tray icon
    // hidden; only the invisible-mode hotkey brings them back.
    virtual void hideProgram() = 0;
    // The main window restored if minimised, shown and brought to the
    // front, and the tray icon shown.
    virtual void showProgram() = 0;
};

class Triggers {
public:
    Triggers(MainController& controller, TriggerWindow& window, settings::Settings& settings,
             platform::Registry& registry, platform::BrowserWindows& browsers);

    // The periodic timer (CleanTimer) fell due: a cleaning run when
    // "EraseEvery" is on.
    void cleanTimerTick();
    // Every 500 ms for the life of the window (HomePageTimer): the start page
    // written while "LockHomePage" is on, and the browser watch switched on
    // when a browser window exists.
    void homePageTimerTick();
    // Every 500 ms while the watch is on (IEShutDownTimer): once no browser
    // window is left, the watch goes off and, with "EraseIEShutDown" on, a
    // quiet cleaning run starts. The next browser window arms it again.
    void browserWatchTick();
    // Windows asks whether the user's session may end (WM_QUERYENDSESSION).
    // With "EraseWinShutdown" on and no safe shutdown or restart pending, a
    // quiet cleaning run starts; nothing waits for it. The answer is always
    // yes, and no question is put to the user.
    bool queryEndSession();
    // A registered hotkey was pressed (HotKeyManager1HotKeyPressed); `id` is
    // matched against the controller's three identifiers.
    void hotKeyPressed(int id);

    bool browserWatchOn() const { return watchOn_; }
    // Set after the boss key has hidden the browser windows, cleared after
    // it has shown them again.
    bool browsersHidden() const { return browsersHidden_; }

private:
    // Clean Now for an automatic trigger: only from idle. A quiet run sets
    // the controller's quiet-run flag for exactly the run it starts: clear
    // again at once when none started (empty queue, refused start).
    void triggeredClean(bool quiet);
    void toggleInvisibleMode();
    void bossKey();

    MainController& controller_;
    TriggerWindow& window_;
    settings::Settings& settings_;
    platform::Registry& registry_;
    platform::BrowserWindows& browsers_;
    bool watchOn_ = false;
    bool browsersHidden_ = false;
};

}  // namespace cindral::app
