#include "app/batched_run_view.h"

#include <utility>

namespace cindral::app {

BatchedRunView::BatchedRunView(Hooks hooks, std::size_t maxPending)
    : hooks_(std::move(hooks)),
      maxPending_(maxPending > 0 ? maxPending : 1),
      windowThread_(std::this_thread::get_id()) {}

void BatchedRunView::push(Request request) {
    if (onWindowThread()) {
        // The window's own requests come after the run's queued ones.
        drain();
        if (engine::RunView* view = hooks_.target ? hooks_.target() : nullptr)
            carryOut(*view, request);
        return;
    }
    bool wake = false;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        room_.wait(lock, [this] { return closed_ || pending_.size() < maxPending_; });
        if (closed_) return;
        pending_.push_back(std::move(request));
        wake = !woken_;
        woken_ = true;
    }
    if (wake && hooks_.wake) hooks_.wake();
}

std::size_t BatchedRunView::drain() {
    std::vector<Request> batch;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (pending_.empty()) {
            woken_ = false;
            return 0;
        }
        batch.swap(pending_);
        pending_.swap(spare_);
    }
    room_.notify_all();
    engine::RunView* view = hooks_.target ? hooks_.target() : nullptr;
    if (view)
        for (const Request& r : batch) carryOut(*view, r);
    const std::size_t n = batch.size();
    batch.clear();
    std::lock_guard<std::mutex> lock(mutex_);
    if (spare_.capacity() < batch.capacity()) spare_.swap(batch);
    return n;
}

void BatchedRunView::close() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        pending_.clear();
    }
    room_.notify_all();
}

void BatchedRunView::ask(const std::function<void(engine::RunView&)>& question) {
    const std::function<void()> task = [&] {
        drain();
        if (engine::RunView* view = hooks_.target ? hooks_.target() : nullptr) question(*view);
    };
    if (onWindowThread())
        task();
    else if (hooks_.callOnWindowThread)
        hooks_.callOnWindowThread(task);
}

int BatchedRunView::rowCount() {
    int n = 0;
    ask([&](engine::RunView& v) { n = v.rowCount(); });
    return n;
}

std::string BatchedRunView::rowCaption(int row) {
    std::string s;
    ask([&](engine::RunView& v) { s = v.rowCaption(row); });
    return s;
}

std::string BatchedRunView::rowStatus(int row) {
    std::string s;
    ask([&](engine::RunView& v) { s = v.rowStatus(row); });
    return s;
}

int BatchedRunView::rowIcon(int row) {
    int i = 0;
    ask([&](engine::RunView& v) { i = v.rowIcon(row); });
    return i;
}

void BatchedRunView::carryOut(engine::RunView& view, const Request& r) {
    const int a = static_cast<int>(r.a);
    switch (r.op) {
        case Op::AddLine:
            view.addLine(r.text);
            break;
        case Op::ReplaceLastLine:
            view.replaceLastLine(r.text);
            break;
        case Op::DeleteLastLine:
            view.deleteLastLine();
            break;
        case Op::ClearLog:
            view.clearLog();
            break;
        case Op::EmptyLogIfAtLeast:
            view.emptyLogIfAtLeast(static_cast<std::int32_t>(r.a));
            break;
        case Op::CreateLogBuffer:
            view.createLogBuffer();
            break;
        case Op::SetRowStatus:
            view.setRowStatus(a, r.text);
            break;
        case Op::SetRowIcon:
            view.setRowIcon(a, r.b);
            break;
        case Op::ScrollToRow:
            view.scrollToRow(a);
            break;
        case Op::SetGauge:
            view.setGauge(a, r.b);
            break;
    }
}

}  // namespace cindral::app
