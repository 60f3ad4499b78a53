#include "app/batched_run_view.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cindral::app {
namespace {

// Every change as one text, and each row's status as last set, which the
// questions answer from.
class Recorder : public engine::RunView {
public:
    std::vector<std::string> calls;
    std::map<int, std::string> statuses;

    void addLine(const std::string& t) override { calls.push_back("add " + t); }
    void replaceLastLine(const std::string& t) override { calls.push_back("replace " + t); }
    void deleteLastLine() override { calls.push_back("delete"); }
    void clearLog() override { calls.push_back("clear"); }
    void emptyLogIfAtLeast(std::int32_t n) override {
        calls.push_back("empty " + std::to_string(n));
    }
    void createLogBuffer() override { calls.push_back("buffer"); }
    int rowCount() override { return static_cast<int>(statuses.size()); }
    std::string rowCaption(int row) override { return "row " + std::to_string(row); }
    std::string rowStatus(int row) override { return statuses[row]; }
    int rowIcon(int row) override { return row; }
    void setRowStatus(int row, const std::string& s) override {
        statuses[row] = s;
        calls.push_back("status " + std::to_string(row) + " " + s);
    }
    void setRowIcon(int row, int icon) override {
        calls.push_back("icon " + std::to_string(row) + " " + std::to_string(icon));
    }
    void scrollToRow(int row) override { calls.push_back("scroll " + std::to_string(row)); }
    void setGauge(int p, int m) override {
        calls.push_back("gauge " + std::to_string(p) + " " + std::to_string(m));
    }
};

// The window's thread as the test sees it: whatever runs "on" it runs under
// one lock, so the run's questions and the test's drains never overlap.
class WindowLoop {
public:
    BatchedRunView::Hooks hooks(Recorder& target, const std::atomic<bool>& current) {
        BatchedRunView::Hooks h;
        h.callOnWindowThread = [this](const std::function<void()>& task) {
            std::lock_guard<std::mutex> lock(mutex_);
            task();
        };
        h.target = [&]() -> engine::RunView* { return current ? &target : nullptr; };
        return h;
    }

    // Drains until `finished` is set and nothing is left.
    void serve(BatchedRunView& view, const std::atomic<bool>& finished) {
        for (;;) {
            std::this_thread::yield();
            std::lock_guard<std::mutex> lock(mutex_);
            if (view.drain() == 0 && finished) return;
        }
    }

private:
    std::mutex mutex_;
};

TEST(BatchedRunView, EveryRequestArrivesInTheOrderTheRunMadeItAndQuestionsSeeTheLatest) {
    Recorder target, direct;  // direct: the same requests made without the view
    WindowLoop loop;
    std::atomic<bool> current{true}, finished{false};
    // A small queue, so the run also waits for room now and then.
    BatchedRunView view(loop.hooks(target, current), 16);
    engine::RunView* const both[] = {&view, &direct};
    std::vector<std::string> staleAnswers;
    std::thread run([&] {
        for (int i = 0; i < 5000; ++i) {
            const std::string n = std::to_string(i);
            for (engine::RunView* v : both) {
                v->addLine("line " + n);
                if (i % 7 == 0) v->replaceLastLine("progress " + n);
                if (i % 13 == 0) v->deleteLastLine();
                if (i % 100 == 0) {
                    v->setRowStatus(i % 3, "status " + n);
                    v->setRowIcon(i % 3, i);
                    v->setGauge(i, 5000);
                    v->scrollToRow(i % 3);
                }
                if (i % 1000 == 999) {
                    v->emptyLogIfAtLeast(2500);
                    v->clearLog();
                    v->createLogBuffer();
                }
            }
            if (i % 100 == 0 && view.rowStatus(i % 3) != "status " + n) staleAnswers.push_back(n);
        }
        finished = true;
    });
    loop.serve(view, finished);
    run.join();
    EXPECT_EQ(target.calls, direct.calls);
    EXPECT_TRUE(staleAnswers.empty()) << staleAnswers.size() << " stale answers";
}

TEST(BatchedRunView, TheWindowsOwnRequestsFollowTheQueuedOnesAndClosingReleasesAWaitingRun) {
    Recorder target;
    WindowLoop loop;  // never served: only the window's own requests drain
    std::atomic<bool> current{true};
    BatchedRunView view(loop.hooks(target, current), 4);
    std::thread([&] { view.addLine("from the run"); }).join();
    EXPECT_TRUE(target.calls.empty());  // queued, waiting for a drain
    view.addLine("from the window");
    const std::vector<std::string> shown{"add from the run", "add from the window"};
    EXPECT_EQ(target.calls, shown);

    std::atomic<int> made{0};
    std::thread run([&] {
        for (int i = 0; i < 10; ++i, ++made) view.addLine("line");
    });
    while (made < 4) std::this_thread::yield();
    current = false;  // stopped: no longer the window's run
    view.close();
    run.join();  // would hang if the full queue still held the run
    EXPECT_EQ(made, 10);
    EXPECT_EQ(view.drain(), 0u);
    EXPECT_EQ(target.calls, shown);
}

}  // namespace
}  // namespace cindral::app
