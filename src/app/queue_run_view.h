// engine::RunView over an item queue and a log book held in memory: the view
// of the command-line tool and of the tests, and the base of the Windows
// program's. Not thread-safe: it is used from one thread at a time.
#pragma once

#include <functional>
#include <string>

#include "app/item_queue.h"
#include "app/log_book.h"
#include "engine/log_view.h"

namespace cindral::app {

class QueueRunView : public engine::RunView {
public:
    // Every text a line of the view receives, in order: an added line
    // (also a rewrite of an empty view), or the new text of the last line
    // when it is rewritten.
    enum class LineEvent { Added, Replaced, LastDeleted, Cleared };
    using LineListener = std::function<void(LineEvent event, const std::string& text)>;

    QueueRunView(ItemQueue& queue, LogBook& log) : queue_(queue), log_(log) {}

    void setLineListener(LineListener listener) { listener_ = std::move(listener); }

    void addLine(const std::string& text) override;
    void replaceLastLine(const std::string& text) override;
    void deleteLastLine() override;
    void clearLog() override;
    void emptyLogIfAtLeast(std::int32_t limit) override;
    void createLogBuffer() override { log_.createBufferFromFile(); }

    int rowCount() override { return static_cast<int>(queue_.rows.size()); }
    std::string rowCaption(int row) override;
    std::string rowStatus(int row) override;
    int rowIcon(int row) override;
    void setRowStatus(int row, const std::string& status) override;
    void setRowIcon(int row, int icon) override;
    void scrollToRow(int) override {}
    void setGauge(int, int) override {}

private:
    bool valid(int row) const {
        return row >= 0 && static_cast<std::size_t>(row) < queue_.rows.size();
    }
    void tell(LineEvent event, const std::string& text) {
        if (listener_) listener_(event, text);
    }

    ItemQueue& queue_;
    LogBook& log_;
    LineListener listener_;
};

}  // namespace cindral::app
