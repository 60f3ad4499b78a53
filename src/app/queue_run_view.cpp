#include "app/queue_run_view.h"

namespace cindral::app {

void QueueRunView::addLine(const std::string& text) {
    log_.addLine(text);
    tell(LineEvent::Added, text);
}

void QueueRunView::replaceLastLine(const std::string& text) {
    // Into an empty view the text arrives as a new line.
    const bool added = log_.viewLineCount() == 0;
    log_.replaceLastLine(text);
    tell(added ? LineEvent::Added : LineEvent::Replaced, text);
}

void QueueRunView::deleteLastLine() {
    log_.deleteLastLine();
    tell(LineEvent::LastDeleted, std::string());
}

void QueueRunView::clearLog() {
    log_.clearView();
    tell(LineEvent::Cleared, std::string());
}

void QueueRunView::emptyLogIfAtLeast(std::int32_t limit) {
    if (log_.emptyIfAtLeast(limit)) tell(LineEvent::Cleared, std::string());
}

std::string QueueRunView::rowCaption(int row) {
    return valid(row) ? queue_.rows[static_cast<std::size_t>(row)].caption : std::string();
}

std::string QueueRunView::rowStatus(int row) {
    return valid(row) ? queue_.rows[static_cast<std::size_t>(row)].status : std::string();
}

int QueueRunView::rowIcon(int row) {
    return valid(row) ? queue_.rows[static_cast<std::size_t>(row)].icon : -1;
}

void QueueRunView::setRowStatus(int row, const std::string& status) {
    if (valid(row)) queue_.rows[static_cast<std::size_t>(row)].status = status;
}

void QueueRunView::setRowIcon(int row, int icon) {
    if (valid(row)) queue_.rows[static_cast<std::size_t>(row)].icon = icon;
}

}  // namespace cindral::app
