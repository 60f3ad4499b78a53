#include "app/triggers.h"

#include "settings/outside_entries.h"

namespace cindral::app {

Triggers::Triggers(MainController& controller, TriggerWindow& window, settings::Settings& settings,
                   platform::Registry& registry, platform::BrowserWindows& browsers)
    : controller_(controller),
      window_(window),
      settings_(settings),
      registry_(registry),
      browsers_(browsers) {}

void Triggers::triggeredClean(bool quiet) {
    if (controller_.activity() != Activity::Idle) return;
    if (quiet) controller_.setQuietRun(true);
    controller_.cleanNowClick();
    if (controller_.activity() != Activity::Cleaning) controller_.setQuietRun(false);
}

void Triggers::cleanTimerTick() {
    if (settings_.isOn(settings::kEraseEvery)) triggeredClean(false);
}

void Triggers::homePageTimerTick() {
    // Written on every tick without looking first: whatever else changes
    // the start page is undone within half a second.
    if (settings_.isOn(settings::kLockHomePage))
        settings::writeStartPage(registry_, settings_.read(settings::kHomePage));
    if (!watchOn_ && browsers_.anyOpen()) {
        watchOn_ = true;
        window_.setBrowserWatch(true);
    }
}

void Triggers::browserWatchTick() {
    if (!watchOn_ || browsers_.anyOpen()) return;
    watchOn_ = false;
    window_.setBrowserWatch(false);
    if (settings_.isOn(settings::kEraseIEShutDown)) triggeredClean(true);
}

bool Triggers::queryEndSession() {
    // A pending safe shutdown or restart has had its run, or is having it.
    if (settings_.isOn(settings::kEraseWinShutdown) && !controller_.shutdownPending() &&
        !controller_.restartPending()) {
        triggeredClean(true);
    }
    return true;
}

void Triggers::hotKeyPressed(int id) {
    const std::vector<int>& ids = controller_.hotkeyIds();
    auto is = [&](std::size_t which) { return id != 0 && which < ids.size() && ids[which] == id; };
    if (is(0)) {
        controller_.cleanNowClick();
    } else if (is(1)) {
        toggleInvisibleMode();
    } else if (is(2)) {
        bossKey();
    }
}

void Triggers::toggleInvisibleMode() {
    if (window_.trayIconShown()) {
        window_.hideProgram();
    } else {
        window_.showProgram();
    }
}

void Triggers::bossKey() {
    switch (settings_.read(settings::kBossKey)) {
        case 1:
            browsersHidden_ = !browsersHidden_;
            browsers_.showAll(!browsersHidden_);
            break;
        case 2:
            browsers_.closeAll();
            break;
        case 3:
            // During a run nothing at all: neither the browsers nor the run
            // are touched.
            if (controller_.activity() != Activity::Idle) return;
            browsers_.closeAll();
            triggeredClean(true);
            break;
        default:
            break;
    }
}

}  // namespace cindral::app
