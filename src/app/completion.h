// Run completion as data: what the window does, in order, when a test run or
// a cleaning run has finished by itself. The window (or the command-line
// tool) carries the steps out one after the other; deciding them here keeps
// every front end in the same order with the same texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/run_state.h"
#include "settings/settings_store.h"

namespace cindral::app {

// Everything completion reads besides the settings.
struct CompletionFacts {
    engine::RunMode mode = engine::RunMode::Test;
    engine::RunCounters counters;
    // The date and time the run took at its start (MM.DD.YYYY, HH:MM:SS);
    // only "LastDate" uses them.
    std::string runDate;
    std::string runTime;
    // Flags of the main window.
    bool hideAfterRun = false;
    bool quietRun = false;
    bool shutdownPending = false;
    bool restartPending = false;
};

enum class CompletionStep {
    HideToTray,         // hide the main window as the minimize command does
    ClearHideAfterRun,  // always, whether or not the window was hidden
    ShowResultWindow,   // fill the result window with `result` and show it
    ClearQuietRun,      // cleaning runs only, after the result window decision
    ShowSummary,        // status label := text, label shown, gauge hidden
    ReturnToIdle,       // controls enabled, run button caption back
    AppendTrailer,      // the run trailer around the summary `text`, into the log buffer
    SaveLog,            // the log buffer written to "logs.txt"
    StoreLastDate,      // "LastDate" := text
    ShutDown,           // the pending safe shutdown
    Restart,            // the pending safe restart
};

// What the result window shows, top to bottom.
struct ResultTexts {
    std::string title;
    std::string headline;
    std::string line1;
    std::string line2;
    std::string line3;
};

struct CompletionEffect {
    CompletionStep step;
    std::string text;    // ShowSummary, AppendTrailer, StoreLastDate
    ResultTexts result;  // ShowResultWindow
};

// The megabyte text: bytes / 1024 / 1024 rounded once, to four significant
// digits or two decimals, whichever is coarser, and written with exactly two
// decimals and the given separator (1.23456 -> "1.23", 123.456 -> "123.50",
// 1234.567 -> "1235.00"). From 10000 MB on the whole integer part is kept:
// 12345.678 -> "12345.68".
std::string MegabyteText(std::int64_t bytes, const std::string& decimalSeparator);

// The status label's summary of the run.
std::string RunSummary(const CompletionFacts& facts, const std::string& decimalSeparator);

// The steps in the order the window performs them. Reads "ResultWindow",
// "StoreLog" and, for a cleaning run, "StoreDate" (default 0 in this reader).
std::vector<CompletionEffect> RunCompletion(const CompletionFacts& facts,
                                            const settings::Settings& settings,
                                            const std::string& decimalSeparator);

}  // namespace cindral::app
