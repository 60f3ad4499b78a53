#include "app/main_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace cindral::app {
namespace {

class FakeView : public MainView {
public:
    int queue = 3;
    bool visible = true;
    std::vector<std::string> log;
    std::vector<std::string> calls;  // order of the visible effects
    CommandSnapshot commands;
    std::string cleanCaption = "Clean Now!", testCaption = "Test Mode!";
    std::string status = "For Help, press F1";
    bool gaugeShown = false;
    int gaugeMax = -99;
    std::vector<ResultTexts> results;
    std::vector<std::string> trailers;
    std::vector<Dialog> dialogs;
    std::function<void(Dialog)> onDialog;
    std::vector<std::pair<std::uint32_t, bool>> timers;

    int queueCount() override { return queue; }
    void clearLogView() override { log.clear(); }
    void addLogLine(const std::string& t) override { log.push_back(t); }
    void applyCommandState(const CommandSnapshot& s, const std::string& c,
                           const std::string& t) override {
        commands = s;
        cleanCaption = c;
        testCaption = t;
    }
    void showGauge(int maximum) override {
        gaugeShown = true;
        gaugeMax = maximum;
    }
    void showStatus() override { gaugeShown = false; }
    void setStatusText(const std::string& t) override {
        status = t;
        calls.push_back("status");
    }
    void prepareRowsForTest() override { calls.push_back("prepareRows"); }
    void restoreRowsAfterTestStop() override { calls.push_back("restoreRows"); }
    bool isMainWindowVisible() override { return visible; }
    void hideToTray() override {
        visible = false;
        calls.push_back("hide");
    }
    void openFromTray() override {
        visible = true;
        calls.push_back("open");
    }
    void closeBrowserWindows() override { calls.push_back("closeBrowsers"); }
    void showResult(const ResultTexts& r) override {
        results.push_back(r);
        calls.push_back("result");
    }
    void appendLogTrailer(const std::string& s) override {
        trailers.push_back(s);
        calls.push_back("trailer");
    }
    void saveLog() override { calls.push_back("save"); }
    void requestSystemShutdown(bool restart) override {
        calls.push_back(restart ? "restart" : "shutdown");
    }
    void runDialog(Dialog d) override {
        dialogs.push_back(d);
        calls.push_back("dialog");
        if (onDialog) onDialog(d);
    }
    void rebuildQueue() override { calls.push_back("rebuild"); }
    void armCleaningTimer(std::uint32_t ms, bool on) override { timers.push_back({ms, on}); }
};

class FakeRuns : public RunLauncher {
public:
    std::uint64_t next = 41;
    std::vector<std::pair<RunKind, std::string>> started;
    std::vector<std::uint64_t> stopped;
    bool refuse = false;
    std::uint64_t startRun(RunKind kind, const std::string& prefix) override {
        if (refuse) return 0;
        started.push_back({kind, prefix});
        return ++next;
    }
    void stopRun(std::uint64_t id) override { stopped.push_back(id); }
};

class FakeSettings : public ControllerSettings {
public:
    std::map<std::string, std::int64_t> numbers;
    std::map<std::string, std::string> strings;
    std::int64_t readNumber(const std::string& n, std::int64_t d) override {
        auto it = numbers.find(n);
        return it == numbers.end() ? d : it->second;
    }
    std::string readString(const std::string& n, const std::string& d) override {
        auto it = strings.find(n);
        return it == strings.end() ? d : it->second;
    }
    void writeString(const std::string& n, const std::string& v) override { strings[n] = v; }
};

class FakeSystem : public platform::System {
public:
    platform::SystemTime now;
    std::string separator = ".";
    platform::SystemTime localTime() override { return now; }
    platform::SystemVersion version() override { return {}; }
    std::string executablePath() override { return "C:\\Cindral\\cindral.exe"; }
    std::string upperCase(const std::string& t) override { return t; }
    std::string lowerCase(const std::string& t) override { return t; }
    int compareNoCase(const std::string& a, const std::string& b) override { return a.compare(b); }
    std::string decimalSeparator() override { return separator; }
};

class FakeHotkeys : public HotkeyRegistrar {
public:
    std::vector<std::string> registered;
    int unregisters = 0;
    void unregisterAll() override { ++unregisters; }
    int registerShortcut(const std::string& text) override {
        registered.push_back(text);
        return text.empty() ? 0 : static_cast<int>(registered.size());
    }
};

class MainControllerTest : public ::testing::Test {
protected:
    MainControllerTest() : controller(view, runs, settings, system, hotkeys) {
        system.now.year = 2007;
        system.now.month = 3;
        system.now.day = 7;
        system.now.hour = 14;
        system.now.minute = 5;
        system.now.second = 9;
    }
    FakeView view;
    FakeRuns runs;
    FakeSettings settings;
    FakeSystem system;
    FakeHotkeys hotkeys;
    MainController controller;

    RunFigures figures() {
        RunFigures f;
        f.foundRegistryEntries = 5;
        f.deletedRegistryEntries = 3;
        f.junkFileCount = 12;
        f.junkByteCount = 1048576;
        return f;
    }
};

// --- the one enabling rule -------------------------------------------------

TEST(CommandRule, ElevenControlsAreDisabledDuringEitherRun) {
    CommandSnapshot s{RunState::Idle, true, true, true};
    for (const auto& info : commandTable()) EXPECT_TRUE(isCommandEnabled(info.command, s));

    for (RunState running : {RunState::Cleaning, RunState::Testing}) {
        s.state = running;
        int disabled = 0;
        for (const auto& info : commandTable()) {
            if (!isCommandEnabled(info.command, s)) ++disabled;
        }
        EXPECT_EQ(disabled, 11);
        // The running run's button stops it; the other one is disabled.
        EXPECT_EQ(isCommandEnabled(Command::CleanNow, s), running == RunState::Cleaning);
        EXPECT_EQ(isCommandEnabled(Command::TestMode, s), running == RunState::Testing);
        for (Command c : {Command::ViewLog, Command::ClearLog, Command::About, Command::Help,
                          Command::Exit, Command::Minimize, Command::TrayOpen,
                          Command::TrayPluginEditor, Command::TrayHelp, Command::TrayExit}) {
            EXPECT_TRUE(isCommandEnabled(c, s)) << commandInfo(c).text;
        }
    }
}

TEST(CommandRule, MissingDialogsStayDisabledEvenWhenIdle) {
    CommandSnapshot s{RunState::Idle, false, true, false};
    EXPECT_FALSE(isCommandEnabled(Command::EraseItems, s));
    EXPECT_FALSE(isCommandEnabled(Command::TrayEraseItems, s));
    EXPECT_TRUE(isCommandEnabled(Command::Options, s));
    EXPECT_FALSE(isCommandEnabled(Command::Keeper, s));
    EXPECT_FALSE(isCommandEnabled(Command::TrayKeeper, s));
}

TEST(CommandRule, TableIdsAreUniqueAndIndexedByCommand) {
    const auto& table = commandTable();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(Command::Count));
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(static_cast<std::size_t>(table[i].command), i);
        EXPECT_EQ(findCommand(table[i].id), &table[i]);
        for (std::size_t j = i + 1; j < table.size(); ++j) EXPECT_NE(table[i].id, table[j].id);
    }
    EXPECT_EQ(findCommand(9999), nullptr);
}

// --- starting and stopping runs ----------------------------------------------

TEST_F(MainControllerTest, EmptyQueueGivesExactlyTheTwoWarningLinesAndStaysIdle) {
    view.queue = 0;
    view.log = {"old line"};
    for (Command c : {Command::CleanNow, Command::TestMode}) {
        EXPECT_TRUE(controller.execute(c));
        EXPECT_EQ(view.log, (std::vector<std::string>{"WARNING: No items are selected.",
                                                      "Process has been terminated."}));
        EXPECT_EQ(controller.state(), RunState::Idle);
    }
    EXPECT_TRUE(runs.started.empty());
    EXPECT_FALSE(view.gaugeShown);
}

TEST_F(MainControllerTest, CleanNowStartsACleaningRunWithEmptyPrefixAndStopCaption) {
    view.log = {"startup"};
    controller.cleanNowClick();
    ASSERT_EQ(runs.started.size(), 1u);
    EXPECT_EQ(runs.started[0].first, RunKind::Cleaning);
    EXPECT_EQ(runs.started[0].second, "");
    EXPECT_EQ(controller.state(), RunState::Cleaning);
    EXPECT_TRUE(view.log.empty());
    EXPECT_TRUE(view.gaugeShown);
    EXPECT_EQ(view.gaugeMax, 2);
    EXPECT_EQ(view.cleanCaption, "Stop Work!");
    EXPECT_EQ(view.testCaption, "Test Mode!");
    EXPECT_EQ(view.commands.state, RunState::Cleaning);
    EXPECT_EQ(controller.runDate(), "03.07.2007");
    EXPECT_EQ(controller.runTime(), "14:05:09");
    EXPECT_FALSE(controller.execute(Command::TestMode));  // disabled during the run
}

TEST_F(MainControllerTest, TestModePreparesRowsAndUsesTheTestPrefix) {
    controller.testModeClick();
    ASSERT_EQ(runs.started.size(), 1u);
    EXPECT_EQ(runs.started[0].second, "Test Mode: ");
    EXPECT_EQ(view.calls.front(), "prepareRows");
    EXPECT_EQ(view.testCaption, "Stop Work!");
    EXPECT_EQ(view.cleanCaption, "Clean Now!");
}

TEST_F(MainControllerTest, BrowsersAreClosedOnlyForCleaningAndOnlyWhenAsked) {
    controller.testModeClick();
    controller.testModeClick();
    controller.cleanNowClick();
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "closeBrowsers"), 0);
    controller.cleanNowClick();
    settings.numbers["CloseIEBeforeErasing"] = 1;
    view.queue = 0;  // closed even when the queue turns out empty
    controller.cleanNowClick();
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "closeBrowsers"), 1);
}

TEST_F(MainControllerTest, StopGoesIdleAtOnceAndDiscardsTheStoppedRunsCompletion) {
    controller.cleanNowClick();
    const std::uint64_t first = controller.runId();
    controller.cleanNowClick();  // "Stop Work!"
    EXPECT_EQ(runs.stopped, (std::vector<std::uint64_t>{first}));
    EXPECT_EQ(controller.state(), RunState::Idle);
    EXPECT_EQ(view.cleanCaption, "Clean Now!");
    EXPECT_FALSE(view.gaugeShown);

    // Restart at once: a new run with a new id; the old one's report is ignored.
    controller.cleanNowClick();
    EXPECT_EQ(runs.started.size(), 2u);
    EXPECT_NE(controller.runId(), first);
    controller.runFinished(first, figures());
    EXPECT_EQ(controller.state(), RunState::Cleaning);
    EXPECT_TRUE(view.results.empty());
    EXPECT_TRUE(view.trailers.empty());
}

TEST_F(MainControllerTest, StoppedTestRunGivesRowsBackTheirIcons) {
    controller.testModeClick();
    controller.testModeClick();
    EXPECT_EQ(view.calls.back(), "restoreRows");
    EXPECT_EQ(controller.state(), RunState::Idle);
    EXPECT_EQ(view.testCaption, "Test Mode!");
}

TEST_F(MainControllerTest, CleaningTriggerDuringATestRunStartsNoSecondWorker) {
    controller.testModeClick();
    controller.cleanNowClick();
    EXPECT_EQ(runs.started.size(), 1u);
    EXPECT_EQ(controller.state(), RunState::Testing);
    EXPECT_TRUE(runs.stopped.empty());
}

TEST_F(MainControllerTest, RunThatCannotStartLeavesTheWindowIdle) {
    runs.refuse = true;
    controller.cleanNowClick();
    EXPECT_EQ(controller.state(), RunState::Idle);
    EXPECT_FALSE(view.gaugeShown);
    EXPECT_EQ(view.cleanCaption, "Clean Now!");
}

// --- completion ----------------------------------------------------------------

TEST_F(MainControllerTest, TestCompletionShowsTheTestTextsAndDoesNotTouchLastDate) {
    settings.numbers["StoreDate"] = 1;
    controller.testModeClick();
    controller.runFinished(controller.runId(), figures());
    ASSERT_EQ(view.results.size(), 1u);
    EXPECT_EQ(view.results[0].title, "Test mode is Completed");
    EXPECT_EQ(view.results[0].headline, "Test mode is Completed!");
    EXPECT_EQ(view.results[0].line1, "Found Evidence in Registry: 5");
    EXPECT_EQ(view.results[0].line2, "Found Junk Files: 12");
    EXPECT_EQ(view.results[0].line3, "Used Hard Drive Space: 1.00 MB");
    EXPECT_EQ(view.status,
              "Found Evidence in Registry: 5, Files: 12, Used Hard Drive Space: 1.00 MB");
    EXPECT_EQ(view.trailers, (std::vector<std::string>{view.status}));
    EXPECT_EQ(settings.strings.count("LastDate"), 0u);
    EXPECT_EQ(controller.state(), RunState::Idle);
    EXPECT_EQ(view.testCaption, "Test Mode!");
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "save"), 0);
}

TEST_F(MainControllerTest, CleaningCompletionReportsRemovedFiguresSavesAndStoresTheStartDate) {
    settings.numbers["StoreLog"] = 1;
    settings.numbers["StoreDate"] = 1;
    controller.cleanNowClick();
    system.now.hour = 23;  // completion time must not be used
    controller.runFinished(controller.runId(), figures());
    ASSERT_EQ(view.results.size(), 1u);
    EXPECT_EQ(view.results[0].title, "Cleaning is Completed");
    EXPECT_EQ(view.results[0].line1, "Cleaned Evidence in Registry: 3");
    EXPECT_EQ(view.results[0].line2, "Removed Junk Files: 12");
    EXPECT_EQ(view.results[0].line3, "Released Hard Drive Space: 1.00 MB");
    EXPECT_EQ(view.status,
              "Cleaned Evidence in Registry: 3, Files: 12, Released Hard Drive Space: 1.00 MB");
    EXPECT_EQ(settings.strings["LastDate"], "03.07.2007 at 14:05:09");
    EXPECT_EQ(view.calls, (std::vector<std::string>{"result", "status", "trailer", "save"}));
}

TEST_F(MainControllerTest, ResultWindowSwitchedOffOrQuietStillGivesStatusAndTrailer) {
    settings.numbers["ResultWindow"] = 0;
    controller.cleanNowClick();
    controller.runFinished(controller.runId(), figures());
    EXPECT_TRUE(view.results.empty());
    EXPECT_EQ(view.trailers.size(), 1u);

    settings.numbers["ResultWindow"] = 1;
    controller.setQuietRun(true);
    controller.cleanNowClick();
    controller.runFinished(controller.runId(), figures());
    EXPECT_TRUE(view.results.empty());
    EXPECT_FALSE(controller.quietRun());  // cleared by the cleaning completion

    // A test completion leaves quiet-run as it found it.
    controller.setQuietRun(true);
    controller.testModeClick();
    controller.runFinished(controller.runId(), figures());
    EXPECT_TRUE(view.results.empty());
    EXPECT_TRUE(controller.quietRun());
}

TEST_F(MainControllerTest, PendingShutdownAndRestartFollowTheSavedLogWithoutResultWindow) {
    settings.numbers["StoreLog"] = 1;
    settings.numbers["StoreDate"] = 1;
    view.queue = 0;
    controller.execute(Command::TraySafeShutdown);  // empty queue: stays pending
    EXPECT_TRUE(controller.shutdownPending());
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "shutdown"), 0);

    view.queue = 2;
    controller.execute(Command::TraySafeRestart);
    controller.runFinished(controller.runId(), figures());
    EXPECT_TRUE(view.results.empty());
    EXPECT_EQ(view.calls,
              (std::vector<std::string>{"status", "trailer", "save", "shutdown", "restart"}));
    EXPECT_EQ(settings.strings["LastDate"], "03.07.2007 at 14:05:09");

    // Test runs never carry the request out.
    view.calls.clear();
    controller.testModeClick();
    controller.runFinished(controller.runId(), figures());
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "shutdown"), 0);
    EXPECT_EQ(view.results.size(), 1u);
}

// --- tray starts and hide-after-run ------------------------------------------

TEST_F(MainControllerTest, TrayRunWhileHiddenShowsTheWindowAndHidesItAgainFirst) {
    view.visible = false;
    controller.execute(Command::TrayCleanNow);
    EXPECT_TRUE(view.visible);
    EXPECT_TRUE(controller.hideAfterRun());
    view.calls.clear();
    controller.runFinished(controller.runId(), figures());
    EXPECT_FALSE(view.visible);
    EXPECT_EQ(view.calls.front(), "hide");
    EXPECT_EQ(view.results.size(), 1u);
    EXPECT_FALSE(controller.hideAfterRun());
}

TEST_F(MainControllerTest, TrayRunWhileVisibleKeepsTheWindowVisible) {
    controller.execute(Command::TrayTestMode);
    EXPECT_FALSE(controller.hideAfterRun());
    controller.runFinished(controller.runId(), figures());
    EXPECT_TRUE(view.visible);
}

TEST_F(MainControllerTest, StoppingATrayRunForgetsHideAfterRun) {
    view.visible = false;
    controller.execute(Command::TrayCleanNow);
    controller.cleanNowClick();  // stop
    EXPECT_FALSE(controller.hideAfterRun());
    controller.cleanNowClick();
    controller.runFinished(controller.runId(), figures());
    EXPECT_TRUE(view.visible);
}

// --- dialogs, hotkeys, timer ---------------------------------------------------

TEST_F(MainControllerTest, DialogCommandsAreRefusedUntilTheDialogExists) {
    EXPECT_FALSE(controller.execute(Command::EraseItems));
    EXPECT_FALSE(controller.execute(Command::TrayOptions));
    EXPECT_TRUE(view.dialogs.empty());
    EXPECT_TRUE(controller.execute(Command::About));
    EXPECT_EQ(view.dialogs, (std::vector<Dialog>{Dialog::About}));
}

TEST_F(MainControllerTest, EraseItemsRebuildsTheQueueOnlyWhenConfirmed) {
    controller.setDialogAvailable(Dialog::EraseItems, true);
    controller.markItemsChanged();  // left over from before: cleared on opening
    controller.execute(Command::EraseItems);
    EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "rebuild"), 0);
    view.onDialog = [&](Dialog) { controller.markItemsChanged(); };
    controller.execute(Command::TrayEraseItems);
    EXPECT_EQ(view.calls.back(), "rebuild");
}

TEST_F(MainControllerTest, OptionsReregistersHotkeysWithItsOwnDefaultsAndArmsTheTimer) {
    controller.registerHotkeys(true);
    EXPECT_EQ(hotkeys.registered,
              (std::vector<std::string>{"Shift+Ctrl+Alt+X", "Ctrl+Shift+U", "Shift+Alt+B"}));
    controller.setDialogAvailable(Dialog::Options, true);
    hotkeys.registered.clear();
    settings.strings["HotKey1"] = "";
    settings.numbers["EraseEveryTime"] = 2;
    settings.numbers["EraseEvery"] = 1;
    controller.execute(Command::Options);
    EXPECT_EQ(hotkeys.unregisters, 2);
    EXPECT_EQ(hotkeys.registered, (std::vector<std::string>{"", "Ctrl+U", "Shift+B"}));
    EXPECT_EQ(controller.hotkeyIds(), (std::vector<int>{0, 2, 3}));
    ASSERT_EQ(view.timers.size(), 1u);
    EXPECT_EQ(view.timers[0], (std::pair<std::uint32_t, bool>{28800000u, true}));

    settings.numbers["EraseEveryTime"] = 7;  // unknown: timer left as it was
    controller.execute(Command::Options);
    EXPECT_EQ(view.timers.size(), 1u);
    settings.numbers["EraseEveryTime"] = 0;
    settings.numbers["EraseEvery"] = 0;
    controller.execute(Command::Options);
    EXPECT_EQ(view.timers.back(), (std::pair<std::uint32_t, bool>{900000u, false}));
}

TEST_F(MainControllerTest, ClosingStopsTheRunWithoutCompletion) {
    controller.cleanNowClick();
    const auto id = controller.runId();
    controller.shutdownRuns();
    EXPECT_EQ(runs.stopped, (std::vector<std::uint64_t>{id}));
    controller.runFinished(id, figures());
    EXPECT_TRUE(view.trailers.empty());
}

// --- plain arithmetic ------------------------------------------------------------

TEST(DialogPlacement, OffsetFromTheVisibleWindowOrCentredWhenHidden) {
    Point p = dialogPlacement(true, Point{100, 50}, 1024, 768, 300, 200);
    EXPECT_EQ(p.x, 130);
    EXPECT_EQ(p.y, 80);
    p = dialogPlacement(false, Point{100, 50}, 1024, 768, 301, 201);
    EXPECT_EQ(p.x, 512 - 150);
    EXPECT_EQ(p.y, 384 - 100);
    p = centredPlacement(1023, 767, 482, 383);
    EXPECT_EQ(p.x, 511 - 241);
    EXPECT_EQ(p.y, 383 - 191);
    // A window wider than the screen goes to a negative left edge, toward zero.
    p = centredPlacement(300, 200, 481, 383);
    EXPECT_EQ(p.x, 150 - 240);
}

}  // namespace
}  // namespace cindral::app
