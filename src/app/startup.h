// The start-up sequence without its windows: the run date and time, the
// start-up lines, the folders and paths, the item queue and the decisions
// the main window acts on (window, tray icon, run at start, status label).
//
// The window drives it in three steps because a run started at start-up
// begins before "Ready." is logged and before recording is switched on:
//   PrepareStartup -> (hotkeys) -> DecideStartup -> (maybe start a run) -> FinishStartup
#pragma once

#include <string>
#include <vector>

#include "app/data_paths.h"
#include "app/item_queue.h"
#include "app/log_book.h"
#include "platform/platform.h"
#include "settings/settings_store.h"

namespace cindral::app {

// MM.DD.YYYY and HH:MM:SS, two digits with a leading zero per field.
std::string FormatRunDate(const platform::SystemTime& t);
std::string FormatRunTime(const platform::SystemTime& t);

// The operating system's name as the "OS Detected: " line gives it.
std::string OsName(const platform::SystemVersion& version);

// The text of the box a second instance shows before it ends.
std::string AlreadyRunningText(const settings::Settings& settings);

enum class RunSwitch { None, EraseWinStart, EraseStart };

struct StartupDecisions {
    bool showMainWindow = true;
    bool showTrayIcon = true;
    bool startedWithSystem = false;         // "-s" as first or second parameter
    RunSwitch consulted = RunSwitch::None;  // the one switch that was read
    bool startCleaningRun = false;          // that switch was non-zero
    bool setStatusLabel = false;
    std::string statusLabel;  // "Last Erasing Date " + LastDate
};

// Invisible mode, "-m", "-s" with "EraseWinStart" or else "EraseStart", and
// the last erasing date. `params` are the command-line parameters after the
// program's name; only the first two matter, in any letter case.
// `invisibleHotkeyRegistered` tells whether the invisible-mode hotkey could
// be registered: without it invisible mode would leave no way back, so the
// tray icon stays as with an empty "HotKey2".
StartupDecisions DecideStartup(const settings::Settings& settings,
                               const std::vector<std::string>& params,
                               bool invisibleHotkeyRegistered = true);

struct StartupState {
    DataPaths paths;
    std::string runDate;
    std::string runTime;
    int imageSet = 0;
    ItemQueue queue;
};

// Everything up to and including the item-queue rebuild: "HomeFolder" and
// "PluginFolder" written, the clock read, the first five log lines, the
// "Data" and "Plug-Ins" folders created, the paths computed, the image set
// chosen and the queue rebuilt.
StartupState PrepareStartup(platform::Platform& platform, settings::Settings& settings,
                            LogBook& log);

// Switches recording on for good and logs "Ready.".
void FinishStartup(LogBook& log);

}  // namespace cindral::app
