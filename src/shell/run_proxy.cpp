#include "shell/run_proxy.h"

#include <algorithm>
#include <string>
#include <utility>

#include "shell/main_window_ids.h"

namespace cindral::shell {

namespace {

// Between two batches of a busy run the window's thread takes its other
// messages (paint, input, the Stop button) for about this long.
constexpr UINT kBatchIntervalMs = 30;

}  // namespace

// One run with the view it talks through. The run is declared last so that
// it (and its thread) goes before the view does.
struct RunProxy::Slot {
    Slot(RunProxy& owner, std::uint64_t id, app::RunSetup setup)
        : view(hooks(owner, id)), run(std::move(setup), view, id) {}

    static app::BatchedRunView::Hooks hooks(RunProxy& owner, std::uint64_t id) {
        HWND window = owner.window_;
        app::BatchedRunView::Hooks h;
        h.wake = [window, id] { PostMessageA(window, kMsgRunBatch, static_cast<WPARAM>(id), 0); };
        h.callOnWindowThread = [window](const std::function<void()>& task) {
            SendMessageA(window, kMsgRunRequest, 0, reinterpret_cast<LPARAM>(&task));
        };
        // Only the current run may change the window; a stopped one is no
        // longer current.
        h.target = [&owner, id]() -> engine::RunView* {
            return owner.current_ && owner.current_->run.id() == id ? &owner.view_ : nullptr;
        };
        return h;
    }

    app::BatchedRunView view;
    app::Run run;
};

RunProxy::RunProxy(engine::RunView& view, SetupFor setupFor, Finished finished)
    : view_(view), setupFor_(std::move(setupFor)), finished_(std::move(finished)) {}

RunProxy::~RunProxy() { stopAll(); }

std::uint64_t RunProxy::startRun(engine::RunMode mode) {
    if (!window_) return 0;
    const std::uint64_t id = ++nextId_;
    current_ = std::make_unique<Slot>(*this, id, setupFor_(mode));
    HWND window = window_;
    // The run's start steps arrive as requests before this returns; the run
    // is current by then, so they are carried out.
    current_->run.start([window](app::Run& run) {
        PostMessageA(window, kMsgRunFinished, static_cast<WPARAM>(run.id()), 0);
    });
    return id;
}

void RunProxy::stopRun(std::uint64_t id) {
    if (!current_ || current_->run.id() != id) return;
    current_->run.requestStop();
    // What the run queued and still sends is dropped from here on.
    current_->view.close();
    // Not joined here: the run may be waiting for this very thread. It is
    // collected once its thread has ended.
    stopped_.push_back(std::move(current_));
    if (!reaping_) reaping_ = SetTimer(window_, kReapTimer, 100, nullptr) != 0;
}

void RunProxy::reap() {
    stopped_.erase(std::remove_if(stopped_.begin(), stopped_.end(),
                                  [](const std::unique_ptr<Slot>& s) { return s->run.done(); }),
                   stopped_.end());
    if (stopped_.empty() && reaping_) {
        KillTimer(window_, kReapTimer);
        reaping_ = false;
    }
}

void RunProxy::stopAll() {
    if (current_) stopped_.push_back(std::move(current_));
    for (auto& slot : stopped_) {
        slot->run.requestStop();
        slot->view.close();
    }
    // A run may be inside SendMessage to this thread: keep taking sent
    // messages (they are discarded, the run being stopped) until every
    // run thread has ended.
    while (!stopped_.empty()) {
        reap();
        if (stopped_.empty()) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

void RunProxy::finished(std::uint64_t id) {
    if (!current_ || current_->run.id() != id) return;
    current_->run.wait();
    // The body has returned: everything it asked for is queued.
    current_->view.drain();
    const std::unique_ptr<Slot> done = std::move(current_);
    finished_(done->run);
}

bool RunProxy::handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case kMsgRunRequest:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            break;
        case kMsgRunBatch:
            if (current_ && current_->run.id() == static_cast<std::uint64_t>(wParam)) {
                current_->view.drain();
                // While the run keeps sending, its requests are taken
                // every interval rather than at each of its wake-ups.
                SetTimer(window_, kBatchTimer, kBatchIntervalMs, nullptr);
            }
            break;
        case kMsgRunFinished:
            finished(static_cast<std::uint64_t>(wParam));
            break;
        case WM_TIMER:
            if (wParam == kBatchTimer) {
                if (!current_ || current_->view.drain() == 0) KillTimer(window_, kBatchTimer);
            } else if (wParam == kReapTimer) {
                reap();
            } else {
                return false;
            }
            break;
        default:
            return false;
    }
    result = 0;
    return true;
}

}  // namespace cindral::shell
