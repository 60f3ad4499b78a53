#include "shell/run_proxy.h"

#include <algorithm>
#include <string>
#include <utility>

#include "shell/main_window_ids.h"

namespace cindral::shell {

namespace {

// A request of a run, carried out on the window's thread.
struct Request {
    std::uint64_t id;
    std::function<void(engine::RunView&)> fn;
};

// The view a run holds: every call becomes a request to the window's
// thread, and the run waits until it has been carried out.
class Proxy : public engine::RunView {
public:
    Proxy(HWND window, std::uint64_t id) : window_(window), id_(id) {}

    void addLine(const std::string& t) override {
        send([&](engine::RunView& v) { v.addLine(t); });
    }
    void replaceLastLine(const std::string& t) override {
        send([&](engine::RunView& v) { v.replaceLastLine(t); });
    }
    void deleteLastLine() override {
        send([&](engine::RunView& v) { v.deleteLastLine(); });
    }
    void clearLog() override {
        send([&](engine::RunView& v) { v.clearLog(); });
    }
    void emptyLogIfAtLeast(std::int32_t limit) override {
        send([&](engine::RunView& v) { v.emptyLogIfAtLeast(limit); });
    }
    void createLogBuffer() override {
        send([&](engine::RunView& v) { v.createLogBuffer(); });
    }
    int rowCount() override {
        int n = 0;
        send([&](engine::RunView& v) { n = v.rowCount(); });
        return n;
    }
    std::string rowCaption(int row) override {
        std::string s;
        send([&](engine::RunView& v) { s = v.rowCaption(row); });
        return s;
    }
    std::string rowStatus(int row) override {
        std::string s;
        send([&](engine::RunView& v) { s = v.rowStatus(row); });
        return s;
    }
    int rowIcon(int row) override {
        int i = 0;
        send([&](engine::RunView& v) { i = v.rowIcon(row); });
        return i;
    }
    void setRowStatus(int row, const std::string& s) override {
        send([&](engine::RunView& v) { v.setRowStatus(row, s); });
    }
    void setRowIcon(int row, int icon) override {
        send([&](engine::RunView& v) { v.setRowIcon(row, icon); });
    }
    void scrollToRow(int row) override {
        send([&](engine::RunView& v) { v.scrollToRow(row); });
    }
    void setGauge(int position, int maximum) override {
        send([&](engine::RunView& v) { v.setGauge(position, maximum); });
    }

private:
    void send(std::function<void(engine::RunView&)> fn) {
        Request request{id_, std::move(fn)};
        SendMessageA(window_, kMsgRunRequest, 0, reinterpret_cast<LPARAM>(&request));
    }

    HWND window_;
    std::uint64_t id_;
};

}  // namespace

// One run with the proxy it talks through. The run is declared last so
// that it (and its thread) goes before the proxy does.
struct RunProxy::Slot {
    Slot(HWND window, std::uint64_t id, app::RunSetup setup)
        : proxy(window, id), run(std::move(setup), proxy, id) {}

    Proxy proxy;
    app::Run run;
};

RunProxy::RunProxy(engine::RunView& view, SetupFor setupFor, Finished finished)
    : view_(view), setupFor_(std::move(setupFor)), finished_(std::move(finished)) {}

RunProxy::~RunProxy() { stopAll(); }

std::uint64_t RunProxy::startRun(engine::RunMode mode) {
    if (!window_) return 0;
    const std::uint64_t id = ++nextId_;
    current_ = std::make_unique<Slot>(window_, id, setupFor_(mode));
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
    if (current_) {
        current_->run.requestStop();
        stopped_.push_back(std::move(current_));
    }
    for (auto& slot : stopped_) slot->run.requestStop();
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
    const std::unique_ptr<Slot> done = std::move(current_);
    finished_(done->run);
}

bool RunProxy::handle(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case kMsgRunRequest: {
            const auto* request = reinterpret_cast<const Request*>(lParam);
            // Only the current run may change the window; a stopped one is
            // no longer current.
            if (current_ && current_->run.id() == request->id) request->fn(view_);
            break;
        }
        case kMsgRunFinished:
            finished(static_cast<std::uint64_t>(wParam));
            break;
        case WM_TIMER:
            if (wParam != kReapTimer) return false;
            reap();
            break;
        default:
            return false;
    }
    result = 0;
    return true;
}

}  // namespace cindral::shell
