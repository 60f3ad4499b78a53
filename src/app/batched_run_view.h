// A run's view requests carried to the window's thread in batches. The run's
// thread appends each request to a queue and goes on; the window's thread,
// once woken, carries out everything queued in the order it was made. A
// line-by-line hand-over (one wait per log line) costs a thread switch per
// line, far more than the line itself; in batches the run keeps the pace of
// its walk and the window its own.
//
// The questions a run asks (row count, caption, status, icon) are answered
// on the window's thread after everything queued before them, so a run
// never reads a row older than its own last change. Requests made on the
// window's thread itself (a run's start steps) are carried out at once.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "engine/log_view.h"

namespace cindral::app {

class BatchedRunView : public engine::RunView {
public:
    struct Hooks {
        // On the run's thread: the window's thread is to call drain() soon.
        // Called once, then not again until a drain() has found nothing.
        std::function<void()> wake;
        // On the run's thread: runs `task` on the window's thread and waits.
        std::function<void(const std::function<void()>& task)> callOnWindowThread;
        // On the window's thread: where requests are carried out, or null
        // when the run's requests are no longer wanted.
        std::function<engine::RunView*()> target;
    };

    // The queue holds this many requests at most; a run that finds it full
    // waits until the window's thread has taken them.
    static constexpr std::size_t kMaxPending = 8192;

    // Made on the window's thread.
    explicit BatchedRunView(Hooks hooks, std::size_t maxPending = kMaxPending);
    BatchedRunView(const BatchedRunView&) = delete;
    BatchedRunView& operator=(const BatchedRunView&) = delete;

    void addLine(const std::string& text) override { push(Request{Op::AddLine, 0, 0, text}); }
    void replaceLastLine(const std::string& text) override {
        push(Request{Op::ReplaceLastLine, 0, 0, text});
    }
    void deleteLastLine() override { push(Request{Op::DeleteLastLine, 0, 0, {}}); }
    void clearLog() override { push(Request{Op::ClearLog, 0, 0, {}}); }
    void emptyLogIfAtLeast(std::int32_t limit) override {
        push(Request{Op::EmptyLogIfAtLeast, limit, 0, {}});
    }
    void createLogBuffer() override { push(Request{Op::CreateLogBuffer, 0, 0, {}}); }
    void setRowStatus(int row, const std::string& status) override {
        push(Request{Op::SetRowStatus, row, 0, status});
    }
    void setRowIcon(int row, int icon) override { push(Request{Op::SetRowIcon, row, icon, {}}); }
    void scrollToRow(int row) override { push(Request{Op::ScrollToRow, row, 0, {}}); }
    void setGauge(int position, int maximum) override {
        push(Request{Op::SetGauge, position, maximum, {}});
    }

    int rowCount() override;
    std::string rowCaption(int row) override;
    std::string rowStatus(int row) override;
    int rowIcon(int row) override;

    // On the window's thread: carries out every queued request, in order, on
    // the target (or drops them when there is none). Returns how many there
    // were; after a drain that found none, the next request wakes again.
    std::size_t drain();
    // From any thread: the queued requests and every later one are dropped,
    // and a run waiting for room goes on at once (a stopped run).
    void close();

private:
    enum class Op : unsigned char {
        AddLine,
        ReplaceLastLine,
        DeleteLastLine,
        ClearLog,
        EmptyLogIfAtLeast,
        CreateLogBuffer,
        SetRowStatus,
        SetRowIcon,
        ScrollToRow,
        SetGauge,
    };
    struct Request {
        Op op;
        long long a;  // row, position or line count
        int b;        // icon or maximum
        std::string text;
    };

    bool onWindowThread() const { return std::this_thread::get_id() == windowThread_; }
    void push(Request request);
    void ask(const std::function<void(engine::RunView&)>& question);
    static void carryOut(engine::RunView& view, const Request& r);

    Hooks hooks_;
    const std::size_t maxPending_;
    const std::thread::id windowThread_;
    std::mutex mutex_;
    std::condition_variable room_;
    std::vector<Request> pending_;
    std::vector<Request> spare_;  // an emptied batch, kept for its capacity
    bool woken_ = false;          // a wake is outstanding
    bool closed_ = false;
};

}  // namespace cindral::app
