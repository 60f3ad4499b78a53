#include "app/triggers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/fake_main_view.h"
#include "settings/fake_settings.h"
#include "settings/outside_entries.h"
#include "settings/scratch_registry.h"
#include "support/fake_services.h"
#include "support/sandbox.h"

namespace cindral::app {
namespace {

using engine::RunMode;

// The controller and the triggers over fakes; the window's side of the
// triggers is recorded here.
struct Rig : TriggerWindow {
    void setBrowserWatch(bool on) override { watch.push_back(on); }
    bool trayIconShown() const override { return iconShown; }
    void hideProgram() override { w.visible = iconShown = false; }
    void showProgram() override { w.visible = iconShown = true; }

    void finish() { controller.runFinished(controller.runId(), {}, "03.07.2007", "14:05:09"); }
    int hotkey(int which) { return controller.hotkeyIds().at(which); }

    std::vector<bool> watch;
    bool iconShown = true;
    test::FakeWindow w;
    test::Sandbox box;
    test::FakeSettings settings;
    test::ScratchRegistry registry;
    test::FakeServices browsers;  // the browser windows
    MainController controller{w, w, settings, *box.platform().system, w};
    Triggers triggers{controller, *this, settings, registry, browsers};
};

class TriggersTest : public ::testing::Test, public Rig {};

// The four triggers that start a cleaning run by themselves, each with the
// switch that allows it.
struct AutomaticTrigger {
    const char* name;
    settings::NumberSetting allowedBy;
    std::uint32_t allowing;
    bool quiet;
    std::function<void(Rig&)> fire;
};

const AutomaticTrigger kAutomatic[] = {
    {"periodic timer", settings::kEraseEvery, 1, false,
     [](Rig& r) { r.triggers.cleanTimerTick(); }},
    {"last browser window closed", settings::kEraseIEShutDown, 1, true,
     [](Rig& r) {
         r.browsers.open = 1;
         r.triggers.homePageTimerTick();
         r.browsers.open = 0;
         r.triggers.browserWatchTick();
     }},
    {"session end", settings::kEraseWinShutdown, 1, true,
     [](Rig& r) { EXPECT_TRUE(r.triggers.queryEndSession()); }},
    {"boss key 3", settings::kBossKey, 3, true,
     [](Rig& r) { r.triggers.hotKeyPressed(r.hotkey(2)); }},
};

TEST(AutomaticTriggers, CleanOnlyWhenAllowedAndIdleAndAQuietRunCoversExactlyItsOwnRun) {
    for (const AutomaticTrigger& t : kAutomatic) {
        SCOPED_TRACE(t.name);
        Rig r;
        r.controller.registerHotkeys();
        t.fire(r);  // nothing stored: every switch is off
        EXPECT_TRUE(r.w.started.empty());

        r.settings.write(t.allowedBy, t.allowing);
        r.w.queue = 0;  // nothing selected: no run, no quiet flag left
        t.fire(r);
        EXPECT_FALSE(r.controller.quietRun());

        r.w.queue = 3;
        t.fire(r);
        ASSERT_EQ(r.w.started, (std::vector<RunMode>{RunMode::Clean}));
        const int closed = r.browsers.count("browsers");
        t.fire(r);  // during the run: nothing at all, neither stopped nor started again
        EXPECT_EQ(r.controller.activity(), Activity::Cleaning);  // not stopped
        EXPECT_EQ(r.w.started.size(), 1u);
        EXPECT_EQ(r.browsers.count("browsers"), closed);
        r.finish();
        EXPECT_EQ(r.w.results.size(), t.quiet ? 0u : 1u);

        // While the user's run is still starting (closing the browser windows,
        // when the window takes the messages sent to it): it stays the only
        // run, and it is not made quiet.
        r.w.onStart = [&] { t.fire(r); };
        r.controller.cleanNowClick();
        EXPECT_EQ(r.w.started.size(), 2u);
        r.finish();
        EXPECT_EQ(r.w.results.size(), t.quiet ? 1u : 2u);
    }
}

TEST_F(TriggersTest, TheWatchNoticesOnlyTheLastBrowserWindowClosingAndOnlyOnce) {
    settings.write(settings::kEraseIEShutDown, 1);
    triggers.homePageTimerTick();  // no browser: the watch stays off
    EXPECT_TRUE(watch.empty());
    browsers.open = 2;
    triggers.homePageTimerTick();
    triggers.homePageTimerTick();  // on already: left running
    EXPECT_EQ(watch, (std::vector<bool>{true}));
    browsers.open = 1;
    triggers.browserWatchTick();
    EXPECT_TRUE(w.started.empty());
    browsers.open = 0;
    triggers.browserWatchTick();
    EXPECT_EQ(watch, (std::vector<bool>{true, false}));
    EXPECT_EQ(w.started.size(), 1u);
    finish();
    triggers.browserWatchTick();  // a tick already on its way when the timer stopped
    triggers.homePageTimerTick();
    EXPECT_EQ(w.started.size(), 1u);
}

TEST(SessionEnd, StartsNoRunWhileASafeShutdownOrRestartIsPending) {
    for (bool restart : {false, true}) {
        SCOPED_TRACE(restart ? "restart" : "shutdown");
        Rig r;
        r.settings.write(settings::kEraseWinShutdown, 1);
        r.w.queue = 0;
        r.controller.safeAction(restart);  // nothing to clean: it stays pending
        r.w.queue = 3;
        EXPECT_TRUE(r.triggers.queryEndSession());
        EXPECT_TRUE(r.w.started.empty());
    }
}

TEST_F(TriggersTest, HotkeysActByIdentifier) {
    controller.registerHotkeys();
    triggers.hotKeyPressed(0);  // a failed registration's identifier
    EXPECT_TRUE(w.started.empty());

    triggers.hotKeyPressed(hotkey(0));  // start erasing: the user's Clean Now
    EXPECT_EQ(controller.activity(), Activity::Cleaning);
    EXPECT_FALSE(controller.quietRun());  // the other keys act during the run as well

    triggers.hotKeyPressed(hotkey(1));
    EXPECT_FALSE(w.visible || iconShown);
    triggers.hotKeyPressed(hotkey(1));
    EXPECT_TRUE(w.visible && iconShown);

    settings.write(settings::kBossKey, 1);
    triggers.hotKeyPressed(hotkey(2));
    triggers.hotKeyPressed(hotkey(2));
    EXPECT_EQ(browsers.shown, (std::vector<bool>{false, true}));
    settings.write(settings::kBossKey, 2);
    browsers.open = 1;
    triggers.hotKeyPressed(hotkey(2));  // closes even during a run
    EXPECT_EQ(browsers.count("browsers"), 1);
    settings.write(settings::kBossKey, 7);
    browsers.open = 1;
    triggers.hotKeyPressed(hotkey(2));
    EXPECT_EQ(browsers.count("browsers"), 1);
    EXPECT_EQ(browsers.shown.size(), 2u);
}

TEST_F(TriggersTest, TheLockWritesTheStoredStartPageOnEveryTickWhileItIsOn) {
    auto startPage = [&] {
        platform::RegValue raw;
        return settings::readStartPage(registry, raw) ? raw.data : std::string("(none)");
    };
    triggers.homePageTimerTick();
    EXPECT_EQ(startPage(), "(none)");
    settings.write(settings::kLockHomePage, 1);
    triggers.homePageTimerTick();
    EXPECT_EQ(startPage(), std::string("about:blank", 12));
    settings::writeStartPage(registry, "http://elsewhere/");
    settings.write(settings::kHomePage, "");
    triggers.homePageTimerTick();
    EXPECT_EQ(startPage(), std::string(1, '\0'));
    EXPECT_EQ(registry.openHandles(), 0u);
}

}  // namespace
}  // namespace cindral::app
