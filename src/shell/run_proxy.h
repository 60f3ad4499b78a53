// The runs of the main window. Each run works on its own thread and talks
// to the window through an app::BatchedRunView: its requests are queued and
// carried out on the window's thread in batches (woken by kMsgRunBatch, then
// every few tens of milliseconds while the run keeps sending); its
// questions go by SendMessage and wait. The window's thread carries out only
// the requests of the current run, so a stopped run that is still unwinding
// changes nothing; a stopped run is kept until its thread has ended, then
// reaped.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/batched_run_view.h"
#include "app/main_controller.h"
#include "app/run.h"
#include "engine/log_view.h"

namespace cindral::shell {

class RunProxy : public app::RunLauncher {
public:
    // What a new run of the mode needs.
    using SetupFor = std::function<app::RunSetup(engine::RunMode mode)>;
    // On the window's thread: the current run's body has returned (a stopped
    // run is never reported). The run goes when this returns.
    using Finished = std::function<void(const app::Run& run)>;

    // `view` carries out the current run's requests on the window's thread.
    RunProxy(engine::RunView& view, SetupFor setupFor, Finished finished);
    ~RunProxy() override;
    RunProxy(const RunProxy&) = delete;
    RunProxy& operator=(const RunProxy&) = delete;

    // The window whose thread serves the runs. It hands its messages
    // kMsgRunRequest, kMsgRunBatch and kMsgRunFinished and its timers
    // kReapTimer and kBatchTimer to handle(). No run starts before.
    void attach(HWND window) { window_ = window; }

    // app::RunLauncher
    std::uint64_t startRun(engine::RunMode mode) override;
    void stopRun(std::uint64_t id) override;

    // Stops every run and waits, taking the requests they send meanwhile
    // (and discarding them), until every run thread has ended.
    void stopAll();
    // Stopped runs whose thread has not yet been seen to end.
    std::size_t stoppedRunsLeft() const { return stopped_.size(); }

    // The window's messages that are the runs'. True when `msg` was one of
    // them, with the answer in `result`.
    bool handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    struct Slot;

    void finished(std::uint64_t id);
    void reap();

    engine::RunView& view_;
    SetupFor setupFor_;
    Finished finished_;
    HWND window_ = nullptr;
    std::unique_ptr<Slot> current_;
    std::vector<std::unique_ptr<Slot>> stopped_;
    std::uint64_t nextId_ = 0;
    bool reaping_ = false;
};

}  // namespace cindral::shell
