// The lines behind the main window's log view and the log buffer that is
// written to "logs.txt". Touched only on the thread that owns the window.
//
// Each text is stored once: the view and the buffer hold ids into one text
// store, so a line that both hold costs its characters once. The view never
// copies the buffer; a virtual list control reads line i through viewLine().
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

#include "app/text_store.h"
#include "engine/log_view.h"
#include "platform/files.h"

namespace cindral::app {

extern const char* const kLogFileName;  // "logs.txt"
extern const char* const kNoRecordsText;

// The two lines a run logs at its start, and the trailer the completion
// handler appends to the buffer.
std::string RunHeaderLine(const std::string& date, const std::string& time);
std::string RunHeaderRule();  // 83 "-"
std::string TrailerRule();    // 64 "-"

// What the window does for View Log or Clear Log.
struct LogCommand {
    enum class Action {
        OpenFile,       // open `path` with the system's handler
        ShowNoRecords,  // information box with `text`
        AskToDelete,    // Yes/No question `text`; Yes -> LogBook::confirmClearLog()
    };
    Action action = Action::ShowNoRecords;
    std::string text;
    std::string path;
};

class LogBook {
public:
    LogBook(platform::Files& files, std::string logFilePath);

    // The view. Every text a line receives, added or replaced, is mirrored
    // into the buffer while recording is on and a buffer exists, unless it is
    // empty (shown but not kept). A NUL in a text is kept as "?".
    void addLine(std::string_view text);
    // Rewrites the last line; appends when the view is empty.
    void replaceLastLine(std::string_view text);
    void deleteLastLine();  // the buffer keeps what it has
    void clearView();       // the buffer keeps what it has
    std::size_t viewLineCount() const { return view_.size(); }
    // Valid until the next change to the log book.
    std::string_view viewLine(std::size_t i) const { return store_.text(view_[i]); }

    void setRecording(bool on) { recording_ = on; }
    bool recording() const { return recording_; }

    // The buffer.
    bool hasBuffer() const { return hasBuffer_; }
    std::size_t bufferLineCount() const { return buffer_.size(); }
    std::string_view bufferLine(std::size_t i) const { return store_.text(buffer_[i]); }
    // Replaces the buffer with the lines of "logs.txt" (missing or unreadable:
    // empty). Returns the number of lines read. A file that exists but could
    // not be read whole (a read error, a NUL inside) is never overwritten by
    // saveBuffer(): the history in it is worth more than this run's lines.
    std::size_t createBufferFromFile();
    void discardBuffer();
    // The run trailer, straight into the buffer (not the view): 64 dashes,
    // the summary, 64 dashes, an empty line. Nothing without a buffer.
    void appendTrailer(const std::string& summary);
    // Writes the whole buffer to "logs.txt", every line followed by CR LF,
    // replacing the file atomically. False, file unchanged, when it cannot
    // be written, there is no buffer or the file could not be read whole.
    bool saveBuffer();

    // The automatic emptying of a test run: when the view holds at least
    // `limit` lines, the view and the buffer's lines are emptied (the
    // buffer stays in existence, empty). True when it did. A limit below 1
    // means no emptying: it would empty the view after every line.
    bool emptyIfAtLeast(std::int32_t limit);

    // While a run is in progress the buffer holds its header and lines: the
    // commands then look at the file without touching the buffer.
    LogCommand viewLog(bool runInProgress);
    LogCommand prepareClearLog(bool runInProgress);
    // The answer was not No: the file is emptied. Outside a run the buffer is
    // emptied too; during one only the lines loaded from the file leave it,
    // so the run's save writes exactly the run's own block.
    bool confirmClearLog(bool runInProgress);

    const std::string& logFilePath() const { return path_; }
    // Texts held, for tests and the benchmark.
    std::size_t storedBytes() const { return store_.bytes(); }

private:
    // Stores a line's text, each NUL as "?" (same length).
    TextStore::Id storeLine(std::string_view text);
    void mirror(TextStore::Id id, std::string_view text);
    // The file's lines counted, the buffer untouched.
    std::size_t countFileLines();
    // View Log and Clear Log: the file has a line, or is too large to read.
    // Outside a run the buffer is replaced with the file's lines on the way.
    bool fileHasRecords(bool runInProgress);
    void maybeCompact();
    void compact();

    platform::Files& files_;
    std::string path_;
    TextStore store_;
    std::deque<TextStore::Id> view_;
    std::deque<TextStore::Id> buffer_;
    std::size_t viewBytes_ = 0;
    std::size_t bufferBytes_ = 0;
    bool hasBuffer_ = false;
    bool recording_ = false;
    std::size_t fileLines_ = 0;  // the buffer's first lines, loaded from the file
    bool keepFile_ = false;      // the file exists but was not read whole
};

}  // namespace cindral::app
