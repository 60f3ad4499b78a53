#include "app/log_book.h"

#include <vector>

#include "selection/line_file.h"

namespace cindral::app {

const char* const kLogFileName = "logs.txt";
const char* const kNoRecordsText = "Log File have no records.";

std::string RunHeaderLine(const std::string& date, const std::string& time) {
    return "Cindral v.3.0 has started work: " + date + " " + time;
}
std::string RunHeaderRule() { return std::string(83, '-'); }
std::string TrailerRule() { return std::string(64, '-'); }

LogBook::LogBook(platform::Files& files, std::string logFilePath)
    : files_(files), path_(std::move(logFilePath)) {}

// A NUL has no place in a line of text: the list control would show the
// line only up to it, and a "logs.txt" holding one is never read whole, so
// no later run could save its lines there. A registry name may hold one (the
// native API writes such names and the enumeration hands them on whole), so
// the line keeps a "?" in its place.
TextStore::Id LogBook::storeLine(std::string_view text) {
    if (text.find('\0') == std::string_view::npos) return store_.add(text);
    std::string line(text);
    for (char& c : line)
        if (c == '\0') c = '?';
    return store_.add(line);
}

void LogBook::mirror(TextStore::Id id, std::string_view text) {
    if (!recording_ || !hasBuffer_ || text.empty()) return;
    buffer_.push_back(id);
    bufferBytes_ += text.size();
}

void LogBook::addLine(std::string_view text) {
    const TextStore::Id id = storeLine(text);
    view_.push_back(id);
    viewBytes_ += text.size();
    mirror(id, text);
}

void LogBook::replaceLastLine(std::string_view text) {
    if (view_.empty()) {
        addLine(text);
        return;
    }
    const TextStore::Id id = storeLine(text);
    viewBytes_ -= store_.text(view_.back()).size();
    view_.back() = id;
    viewBytes_ += text.size();
    mirror(id, text);
    maybeCompact();
}

void LogBook::deleteLastLine() {
    if (view_.empty()) return;
    viewBytes_ -= store_.text(view_.back()).size();
    view_.pop_back();
}

void LogBook::clearView() {
    view_.clear();
    viewBytes_ = 0;
    maybeCompact();
}

bool LogBook::emptyIfAtLeast(std::int32_t limit) {
    if (limit < 1 || view_.size() < static_cast<std::size_t>(limit)) return false;
    view_.clear();
    viewBytes_ = 0;
    buffer_.clear();
    bufferBytes_ = 0;
    fileLines_ = 0;
    maybeCompact();
    return true;
}

void LogBook::discardBuffer() {
    buffer_.clear();
    bufferBytes_ = 0;
    fileLines_ = 0;
    hasBuffer_ = false;
    maybeCompact();
}

std::size_t LogBook::createBufferFromFile() {
    discardBuffer();
    hasBuffer_ = true;
    keepFile_ = false;
    std::string bytes;
    // Read first, and ask whether the file exists only when that fails: one
    // failing look must not pass a log full of history for a missing one.
    if (!files_.readTextFile(path_, bytes)) {
        keepFile_ = files_.fileExists(path_);
        return 0;
    }
    if (bytes.find('\0') != std::string::npos) {
        keepFile_ = true;
        return 0;
    }
    selection::forEachLine(bytes, selection::LineRules::Run, [this](std::string_view line) {
        buffer_.push_back(store_.add(line));
        bufferBytes_ += line.size();
    });
    fileLines_ = buffer_.size();
    return fileLines_;
}

std::size_t LogBook::countFileLines() {
    std::string bytes;
    if (!files_.readFile(path_, bytes)) return 0;
    std::size_t lines = 0;
    selection::forEachLine(bytes, selection::LineRules::Run,
                           [&lines](std::string_view) { ++lines; });
    return lines;
}

void LogBook::appendTrailer(const std::string& summary) {
    if (!hasBuffer_) return;
    for (const std::string& text : {TrailerRule(), summary, TrailerRule(), std::string()}) {
        buffer_.push_back(store_.add(text));
        bufferBytes_ += text.size();
    }
}

bool LogBook::saveBuffer() {
    if (!hasBuffer_ || keepFile_) return false;
    // The lines go to the file in pieces of about this size, never as one
    // text of the whole buffer (which would double the book's memory).
    constexpr std::size_t kPiece = 64 * 1024;
    std::string piece;
    piece.reserve(kPiece + 256);
    std::size_t next = 0;
    return files_.writeFileAtomicFrom(path_, [&](std::string_view& chunk) {
        piece.clear();
        while (next < buffer_.size() && piece.size() < kPiece) {
            piece += store_.text(buffer_[next++]);
            piece += "\r\n";
        }
        chunk = piece;
        return !piece.empty();
    });
}

// A log grown past what can be read holds records all the same: telling the
// user it has none would leave them unable to open or empty it.
bool LogBook::fileHasRecords(bool runInProgress) {
    if ((runInProgress ? countFileLines() : createBufferFromFile()) > 0) return true;
    std::uint64_t size = 0;
    return files_.fileSize(path_, size) && size > platform::kMaxReadFileSize;
}

LogCommand LogBook::viewLog(bool runInProgress) {
    LogCommand cmd;
    if (fileHasRecords(runInProgress)) {
        cmd.action = LogCommand::Action::OpenFile;
        cmd.path = path_;
    } else {
        cmd.action = LogCommand::Action::ShowNoRecords;
        cmd.text = kNoRecordsText;
    }
    return cmd;
}

LogCommand LogBook::prepareClearLog(bool runInProgress) {
    LogCommand cmd;
    if (!fileHasRecords(runInProgress)) {
        cmd.action = LogCommand::Action::ShowNoRecords;
        cmd.text = kNoRecordsText;
        return cmd;
    }
    std::uint64_t size = 0;
    if (!files_.fileSize(path_, size)) size = 0;
    cmd.action = LogCommand::Action::AskToDelete;
    cmd.text =
        "Are you sure you want to delete Log File (" + std::to_string(size / 1024) + " KB) ?";
    cmd.path = path_;
    return cmd;
}

bool LogBook::confirmClearLog(bool runInProgress) {
    keepFile_ = false;
    if (runInProgress && hasBuffer_) {
        for (std::size_t i = 0; i < fileLines_ && !buffer_.empty(); ++i) {
            bufferBytes_ -= store_.text(buffer_.front()).size();
            buffer_.pop_front();
        }
        fileLines_ = 0;
        maybeCompact();
        return files_.writeFileAtomic(path_, std::string());
    }
    buffer_.clear();
    bufferBytes_ = 0;
    fileLines_ = 0;
    hasBuffer_ = true;
    maybeCompact();
    return saveBuffer();
}

// Texts no line refers to any more (replaced progress lines without a
// buffer, cleared views and buffers) are dropped once they outweigh the live
// ones, so memory follows what is shown and kept, at amortised constant cost.
void LogBook::maybeCompact() {
    if (view_.empty() && buffer_.empty()) {
        store_.clear();
        return;
    }
    const std::size_t live = view_.size() + buffer_.size();
    const std::size_t liveBytes = viewBytes_ + bufferBytes_;
    if (store_.count() > 2 * live + 4096 || store_.bytes() > 2 * liveBytes + (1u << 20)) compact();
}

void LogBook::compact() {
    TextStore fresh;
    constexpr TextStore::Id kUnmapped = 0xFFFFFFFFu;
    std::vector<TextStore::Id> map(store_.count(), kUnmapped);
    auto remap = [&](std::deque<TextStore::Id>& ids) {
        for (TextStore::Id& id : ids) {
            if (map[id] == kUnmapped) map[id] = fresh.add(store_.text(id));
            id = map[id];
        }
    };
    remap(buffer_);
    remap(view_);
    store_ = std::move(fresh);
}

}  // namespace cindral::app
