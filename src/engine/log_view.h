// What the engine and the run driver may ask of the window that shows a run.
// The Win32 main window carries each request out on its UI thread and waits;
// the command-line tool writes to stdout; tests record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace cindral::engine {

class LogView {
public:
    virtual ~LogView() = default;
    virtual void addLine(const std::string& text) = 0;
    // Rewrites the last line; appends the text when the view holds none.
    virtual void replaceLastLine(const std::string& text) = 0;
    // Removes the last line if there is one.
    virtual void deleteLastLine() = 0;
};

// The item queue, the progress gauge and the log as one run sees them.
class RunView : public LogView {
public:
    // Empties the log view (the log buffer is not touched).
    virtual void clearLog() = 0;
    // The automatic emptying of a test run: the view and the log buffer are
    // emptied when the view holds at least `limit` lines ("LogRefreshLines",
    // a signed number); a limit below 1 empties nothing.
    virtual void emptyLogIfAtLeast(std::int32_t limit) = 0;
    // Replaces the log buffer with the lines of "logs.txt" (a run does this
    // right before its header, so the header is the first line it records).
    virtual void createLogBuffer() = 0;

    virtual int rowCount() = 0;
    virtual std::string rowCaption(int row) = 0;
    virtual std::string rowStatus(int row) = 0;
    virtual int rowIcon(int row) = 0;
    virtual void setRowStatus(int row, const std::string& status) = 0;
    virtual void setRowIcon(int row, int icon) = 0;
    virtual void scrollToRow(int row) = 0;
    virtual void setGauge(int position, int maximum) = 0;
};

}  // namespace cindral::engine
