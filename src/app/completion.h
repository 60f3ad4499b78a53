// Run completion as data: what the window does, in order, when a test run or
// a cleaning run has finished by itself. The window (or the command-line
// tool) carries the steps out one after the other; deciding them here keeps
// every front end in the same order with the same texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <functional>

#include "settings/settings_store.h"

namespace cindral::app {

enum class CompletedRun { Test, Cleaning };

// Reads a numeric setting with the caller's default, at the moment of use.
using NumberSetting = std::function<std::uint32_t(const std::string& name, std::uint32_t def)>;
NumberSetting numbersOf(const settings::SettingsStore& store);

// Everything completion reads besides the settings.
struct CompletionFacts {
    CompletedRun kind = CompletedRun::Test;
    std::int64_t foundRegistryEntries = 0;
    std::int64_t deletedRegistryEntries = 0;
    std::int64_t junkFileCount = 0;
    std::int64_t junkByteCount = 0;
    // The shared run date and time taken when the cleaning run started
    // (MM.DD.YYYY, HH:MM:SS); only "LastDate" uses them.
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

struct ResultWindowTexts {
    std::string title;
    std::string headline;
    std::string line1;
    std::string line2;
    std::string line3;
};

struct CompletionEffect {
    CompletionStep step;
    std::string text;          // ShowSummary, AppendTrailer, StoreLastDate
    ResultWindowTexts result;  // ShowResultWindow
};

// The megabyte text: bytes / 1024 / 1024 rounded once, to four significant
// digits or two decimals, whichever is coarser, and written with exactly two
// decimals and the given separator (1.23456 -> "1.23", 123.456 -> "123.50",
// 1234.567 -> "1235.00"). From 10000 MB on the whole integer part is kept:
// 12345.678 -> "12345.68".
std::string MegabyteText(std::int64_t bytes, const std::string& decimalSeparator);

// The status label's summary of each kind of run.
std::string TestSummary(const CompletionFacts& facts, const std::string& decimalSeparator);
std::string CleaningSummary(const CompletionFacts& facts, const std::string& decimalSeparator);

// The steps in the order the window performs them. Reads "ResultWindow"
// (default 1), "StoreLog" (default 0) and, for a cleaning run, "StoreDate"
// (default 0 in this reader).
std::vector<CompletionEffect> TestRunCompletion(const CompletionFacts& facts,
                                                const NumberSetting& settings,
                                                const std::string& decimalSeparator);
std::vector<CompletionEffect> CleaningRunCompletion(const CompletionFacts& facts,
                                                    const NumberSetting& settings,
                                                    const std::string& decimalSeparator);

// Either of the two, by the kind of run.
std::vector<CompletionEffect> RunCompletion(const CompletionFacts& facts,
                                            const NumberSetting& settings,
                                            const std::string& decimalSeparator);

}  // namespace cindral::app
