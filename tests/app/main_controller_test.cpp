#include "app/main_controller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/fake_main_view.h"
#include "support/fixtures.h"

namespace cindral::app {
namespace {

using engine::RunMode;
using test::Calls;
using test::FakeWindow;

class MainControllerTest : public test::SandboxTest {
protected:
    FakeWindow w;
    MainController controller{w, w, settings_, system_, w};
    void finish() {
        controller.runFinished(controller.runId(), {5, 3, 12, 1048576}, "03.07.2007", "14:05:09");
    }
};

TEST(CommandRule, ElevenControlsAreDisabledDuringEitherRunAndMissingDialogsAlways) {
    for (const auto& info : commandTable())  // ids are unique
        EXPECT_EQ(findCommand(info.id), &commandInfo(info.command));
    CommandSnapshot s{Activity::Idle, true, true, true};
    for (Activity activity : {Activity::Idle, Activity::Cleaning, Activity::Testing}) {
        s.activity = activity;
        int disabled = 0;
        for (const auto& info : commandTable()) disabled += !isCommandEnabled(info.command, s);
        EXPECT_EQ(disabled, activity == Activity::Idle ? 0 : 11);
        // The running run's button stops it; the other one is disabled.
        EXPECT_EQ(isCommandEnabled(Command::CleanNow, s), activity != Activity::Testing);
        EXPECT_EQ(isCommandEnabled(Command::TestMode, s), activity != Activity::Cleaning);
    }
    s = CommandSnapshot{Activity::Idle, false, true, false};
    for (Command c :
         {Command::EraseItems, Command::TrayEraseItems, Command::Keeper, Command::TrayKeeper})
        EXPECT_FALSE(isCommandEnabled(c, s)) << commandInfo(c).text;
    EXPECT_TRUE(isCommandEnabled(Command::Options, s));
}

TEST_F(MainControllerTest, EachRunStartsItsOwnModeItsButtonStopsItAndAStopGoesIdleAtOnce) {
    controller.testModeClick();
    EXPECT_EQ(w.started, (std::vector<RunMode>{RunMode::Test}));
    EXPECT_EQ(w.cleanCaption + w.testCaption, "Clean Now!Stop Work!");
    controller.cleanNowClick();  // a cleaning trigger during a test run: no second worker
    EXPECT_EQ(w.started.size(), 1u);
    EXPECT_TRUE(w.stopped.empty());
    controller.testModeClick();  // a stopped test run gives rows back their icons
    EXPECT_EQ(w.calls, (Calls{"restoreRows"}));

    controller.cleanNowClick();
    const std::uint64_t first = controller.runId();
    EXPECT_EQ(w.started.back(), RunMode::Clean);
    EXPECT_EQ(w.cleanCaption + w.testCaption, "Stop Work!Test Mode!");
    controller.cleanNowClick();  // "Stop Work!"
    EXPECT_EQ(w.stopped.back(), first);
    EXPECT_EQ(controller.activity(), Activity::Idle);
    EXPECT_EQ(w.cleanCaption, "Clean Now!");
    // Restart at once: a new run with a new id; the old one's report is ignored.
    controller.cleanNowClick();
    EXPECT_NE(controller.runId(), first);
    controller.runFinished(first, {}, "", "");
    EXPECT_EQ(controller.activity(), Activity::Cleaning);
    EXPECT_EQ(w.calls, (Calls{"restoreRows"}));

    w.refuseRuns = true;
    controller.cleanNowClick();  // stop
    controller.cleanNowClick();  // cannot start (the captions follow the activity)
    EXPECT_EQ(controller.activity(), Activity::Idle);

    w.queue = 0;
    controller.cleanNowClick();
    EXPECT_EQ(w.log, (Calls{"WARNING: No items are selected.", "Process has been terminated."}));
    EXPECT_EQ(w.started.size(), 3u);
}

TEST_F(MainControllerTest, CompletionsApplyTheirEffectsInOrderAndOnlyCleaningStoresItsStartDate) {
    settings_.write(settings::kStoreDate, 1);
    controller.setQuietRun(true);
    controller.testModeClick();
    finish();
    EXPECT_EQ(w.calls, (Calls{"status", "trailer"}));
    EXPECT_EQ(w.testCaption, "Test Mode!");

    settings_.write(settings::kStoreLog, 1);
    w.calls.clear();
    controller.cleanNowClick();
    finish();  // still quiet: only a cleaning completion clears the flag
    EXPECT_EQ(w.calls, (Calls{"status", "trailer", "save"}));
    EXPECT_EQ(w.status,
              "Cleaned Evidence in Registry: 3, Files: 12, Released Hard Drive Space: 1.00 MB");
    EXPECT_EQ(settings_.texts["LastDate"], "03.07.2007 at 14:05:09");  // the run's start

    w.calls.clear();
    controller.cleanNowClick();
    finish();
    EXPECT_EQ(w.calls, (Calls{"result", "status", "trailer", "save"}));

    // A pending shutdown and restart follow the saved log, without result window.
    w.calls.clear();
    w.queue = 0;
    controller.execute(Command::TraySafeShutdown);  // empty queue: stays pending
    w.queue = 2;
    controller.execute(Command::TraySafeRestart);
    finish();
    EXPECT_EQ(w.calls, (Calls{"status", "trailer", "save", "shutdown", "restart"}));
}

TEST_F(MainControllerTest, TrayRunWhileHiddenShowsTheWindowAndHidesItAgainFirst) {
    w.visible = false;
    controller.execute(Command::TrayCleanNow);
    EXPECT_TRUE(w.visible);
    w.calls.clear();
    finish();
    EXPECT_EQ(w.calls.at(0), "hide");

    w.visible = true;
    controller.execute(Command::TrayTestMode);  // started while visible: stays visible
    finish();
    EXPECT_TRUE(w.visible);

    w.visible = false;
    controller.execute(Command::TrayCleanNow);
    controller.cleanNowClick();  // stopping forgets hide-after-run
    controller.cleanNowClick();
    finish();
    EXPECT_TRUE(w.visible);

    // A tray start that starts nothing leaves nothing for the next run.
    for (const bool empty : {true, false}) {
        w.queue = empty ? 0 : 3;
        w.refuseRuns = !empty;
        w.visible = false;
        controller.execute(Command::TrayTestMode);
        EXPECT_FALSE(controller.hideAfterRun()) << empty;
    }
}

TEST_F(MainControllerTest, DialogsAreRefusedUntilTheyExistAndEraseItemsRebuildsWhenConfirmed) {
    EXPECT_FALSE(controller.execute(Command::EraseItems));
    EXPECT_FALSE(controller.execute(Command::TrayOptions));
    controller.setDialogAvailable(Dialog::EraseItems, true);
    controller.dialogConfirmed(Dialog::EraseItems);  // left over from before: cleared on opening
    controller.execute(Command::EraseItems);
    EXPECT_TRUE(w.calls.empty());
    w.onDialog = [&] { controller.dialogConfirmed(Dialog::EraseItems); };
    controller.execute(Command::TrayEraseItems);
    EXPECT_EQ(w.calls, (Calls{"rebuild"}));

    // Confirmed after a triggered run started, it rebuilds when that run ends.
    w.onDialog = [&] {
        controller.cleanNowClick();  // a trigger's run, started under the modal dialog
        controller.dialogConfirmed(Dialog::EraseItems);
    };
    auto rebuilds = [&] { return std::count(w.calls.begin(), w.calls.end(), "rebuild"); };
    const std::pair<const char*, std::function<void()>> ends[] = {
        {"finished", [&] { finish(); }},
        {"stopped", [&] { controller.cleanNowClick(); }},
    };
    for (const auto& [how, end] : ends) {
        w.calls.clear();
        controller.execute(Command::EraseItems);
        ASSERT_EQ(controller.activity(), Activity::Cleaning) << how;
        EXPECT_EQ(rebuilds(), 0) << how;
        end();
        EXPECT_EQ(rebuilds(), 1) << how;
        controller.cleanNowClick();  // the next run ends without another
        finish();
        EXPECT_EQ(rebuilds(), 1) << how;
    }
}

TEST_F(MainControllerTest, WhileADialogShowsTheCommandsOpeningOneAreRefusedUntilItReturns) {
    for (Dialog d : {Dialog::EraseItems, Dialog::Options, Dialog::Keeper})
        controller.setDialogAvailable(d, true);
    const Command opening[] = {Command::EraseItems,  Command::TrayEraseItems, Command::Options,
                               Command::TrayOptions, Command::Keeper,         Command::TrayKeeper,
                               Command::About};
    w.onDialog = [&] {
        if (w.dialogs.size() > 1) return;  // a dialog let in inside the first
        for (Command c : opening) EXPECT_FALSE(controller.execute(c)) << commandInfo(c).text;
        controller.eraseItemsCommand();
        controller.optionsCommand();
        controller.hostDialog(Dialog::Keeper);
        // Runs, and the entries that open no dialog here, stay usable.
        for (Command c : {Command::TrayCleanNow, Command::TraySafeShutdown,
                          Command::TrayPluginEditor, Command::TrayOpen})
            EXPECT_TRUE(controller.isEnabled(c)) << commandInfo(c).text;
    };
    for (Command outer :
         {Command::TrayOptions, Command::EraseItems, Command::Keeper, Command::About}) {
        w.dialogs.clear();
        EXPECT_TRUE(controller.execute(outer));
        EXPECT_EQ(w.dialogs.size(), 1u) << commandInfo(outer).text;
        for (Command c : opening) EXPECT_TRUE(controller.isEnabled(c)) << commandInfo(c).text;
    }
}

TEST_F(MainControllerTest, OptionsReregistersHotkeysWithTheStartupDefaultsAndRearmsTheTimer) {
    controller.registerHotkeys();
    EXPECT_EQ(w.hotkeys, (Calls{"Shift+Ctrl+Alt+X", "Ctrl+Shift+U", "Shift+Alt+B"}));
    controller.setDialogAvailable(Dialog::Options, true);
    w.hotkeys.clear();
    settings_.write(settings::kHotKey1, "");
    controller.execute(Command::Options);
    EXPECT_EQ(w.unregisters, 2);
    EXPECT_EQ(w.hotkeys, (Calls{"", "Ctrl+Shift+U", "Shift+Alt+B"}));
    EXPECT_EQ(controller.hotkeyIds(), (std::vector<int>{0, 2, 3}));

    // The timer is restarted only when switched on or given a new period.
    struct Step {
        std::uint32_t code, on;
        std::vector<std::pair<std::uint32_t, bool>> armed;  // what this dialog's close did
    };
    const Step steps[] = {
        {2, 1, {{28800000u, true}}},
        {2, 1, {}},  // running with the same period: undisturbed
        {7, 0, {}},  // an unknown code leaves period and state alone
        {1, 1, {{3600000u, true}}},
        {1, 0, {{3600000u, false}}},
        {0, 0, {}},
    };
    for (const Step& s : steps) {
        settings_.write(settings::kEraseEveryTime, s.code);
        settings_.write(settings::kEraseEvery, s.on);
        w.timers.clear();
        controller.execute(Command::Options);
        EXPECT_EQ(w.timers, s.armed) << s.code << " " << s.on;
    }
}

}  // namespace
}  // namespace cindral::app
