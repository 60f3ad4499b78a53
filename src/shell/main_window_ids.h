// The main window's own messages and timers, in one place so that the
// pieces that share the window (runs, tray icon, log list, triggers) never
// pick the same number. Command identifiers are app::commandTable()'s, the
// controls' MainWindow's.
#pragma once

#include <windows.h>

namespace cindral::shell {

// Messages (WM_APP range).
constexpr UINT kMsgRunRequest = WM_APP + 1;   // a run's question, answered (sent)
constexpr UINT kMsgRunFinished = WM_APP + 2;  // a run's body has returned (posted)
constexpr UINT kMsgTray = WM_APP + 3;         // the tray icon's mouse events
constexpr UINT kMsgRunBatch = WM_APP + 4;     // a run has queued requests (posted)

// Timers.
constexpr UINT_PTR kReapTimer = 1;        // collects stopped runs whose thread has ended
constexpr UINT_PTR kCleaningTimer = 2;    // the periodic cleaning run (CleanTimer)
constexpr UINT_PTR kLogTimer = 3;         // the log list catches up with the log book
constexpr UINT_PTR kHomePageTimer = 4;    // home-page lock and browser-watch arming, 500 ms
constexpr UINT_PTR kIEShutDownTimer = 5;  // the browser watch, 500 ms while on
constexpr UINT_PTR kBatchTimer = 6;       // takes a busy run's queued requests

}  // namespace cindral::shell
