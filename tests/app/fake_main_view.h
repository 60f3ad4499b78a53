// The main window as app::MainController sees it, for the tests of the
// controller and of what drives it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_controller.h"

namespace cindral::test {

using Calls = std::vector<std::string>;

// The window, the run launcher and the hotkeys the controller drives; the
// visible effects are recorded in order in `calls`.
class FakeWindow : public app::MainView, public app::RunLauncher, public app::HotkeyRegistrar {
public:
    int queue = 3;
    bool visible = true, refuseRuns = false;
    Calls log, calls, hotkeys;
    std::string cleanCaption, testCaption, status;
    std::vector<app::ResultTexts> results;
    std::vector<app::Dialog> dialogs;
    std::function<void()> onDialog;
    std::function<void()> onStart;  // once, while the next run is starting
    std::vector<std::pair<std::uint32_t, bool>> timers;
    std::vector<engine::RunMode> started;
    std::vector<std::uint64_t> stopped;
    int unregisters = 0;

    int queueCount() override { return queue; }
    void clearLogView() override { log.clear(); }
    void addLogLine(const std::string& t) override { log.push_back(t); }
    void applyCommandState(const app::CommandSnapshot&, const std::string& c,
                           const std::string& t) override {
        cleanCaption = c;
        testCaption = t;
    }
    void showGauge() override {}
    void showStatus() override {}
    void setStatusText(const std::string& t) override {
        status = t;
        calls.push_back("status");
    }
    void restoreRowsAfterTestStop() override { calls.push_back("restoreRows"); }
    bool isMainWindowVisible() override { return visible; }
    void hideToTray() override {
        visible = false;
        calls.push_back("hide");
    }
    void openFromTray() override { visible = true; }
    void showResult(const app::ResultTexts& r) override {
        results.push_back(r);
        calls.push_back("result");
    }
    void appendLogTrailer(const std::string&) override { calls.push_back("trailer"); }
    void saveLog() override { calls.push_back("save"); }
    void requestSystemShutdown(bool restart) override {
        calls.push_back(restart ? "restart" : "shutdown");
    }
    void runDialog(app::Dialog d) override {
        dialogs.push_back(d);
        if (onDialog) onDialog();
    }
    void rebuildQueue() override { calls.push_back("rebuild"); }
    void armCleaningTimer(std::uint32_t ms, bool on) override { timers.push_back({ms, on}); }

    std::uint64_t startRun(engine::RunMode mode) override {
        if (refuseRuns) return 0;
        started.push_back(mode);
        const std::uint64_t id = 41 + started.size();
        if (onStart) std::exchange(onStart, nullptr)();
        return id;
    }
    void stopRun(std::uint64_t id) override { stopped.push_back(id); }

    void unregisterAll() override { ++unregisters; }
    int registerShortcut(const std::string& text) override {
        hotkeys.push_back(text);
        return text.empty() ? 0 : static_cast<int>(hotkeys.size());
    }
};

}  // namespace cindral::test
