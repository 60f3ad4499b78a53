#include "selection/line_file.h"

#include <algorithm>
#include <map>

namespace cindral::selection {

namespace {

// Run and Dialog rules: the text ends at the first NUL; the two differ only
// in whether a lone LF ends a line.
template <typename OnLine>
void visitPlain(std::string_view bytes, bool loneLfEndsLine, OnLine&& onLine) {
    const std::size_t end = std::min(bytes.find('\0'), bytes.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i < end; ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            onLine(bytes.substr(start, i - start));
            if (i + 1 < end && bytes[i + 1] == '\n') ++i;
            start = i + 1;
        } else if (c == '\n' && loneLfEndsLine) {
            onLine(bytes.substr(start, i - start));
            start = i + 1;
        }
    }
    if (start < end) onLine(bytes.substr(start, end - start));
}

// Keeper rules: entries end at CR (an LF right after it belongs to the line
// end); a NUL cuts its entry, and a NUL where an entry starts ends the list.
template <typename OnLine>
void visitKeeper(std::string_view bytes, OnLine&& onLine) {
    std::size_t pos = 0;
    const std::size_t size = bytes.size();
    while (pos < size && bytes[pos] != '\0') {
        std::size_t cr = bytes.find('\r', pos);
        const bool lastEntry = cr == std::string_view::npos;
        if (lastEntry) cr = size;
        std::string_view entry = bytes.substr(pos, cr - pos);
        entry = entry.substr(0, std::min(entry.find('\0'), entry.size()));
        if (lastEntry) {
            if (!entry.empty()) onLine(entry);
            return;
        }
        onLine(entry);
        pos = cr + 1;
        if (pos < size && bytes[pos] == '\n') ++pos;
    }
}

template <typename OnLine>
void visitLines(std::string_view bytes, LineRules rules, OnLine&& onLine) {
    // Notepad starts a file it saves as UTF-8 with a byte-order mark; it is
    // no part of the first entry, or that mask or kept entry would never match.
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    switch (rules) {
        case LineRules::Run:
            visitPlain(bytes, true, onLine);
            return;
        case LineRules::Dialog:
            visitPlain(bytes, false, onLine);
            return;
        case LineRules::Keeper:
            visitKeeper(bytes, onLine);
            return;
    }
}

}  // namespace

std::vector<std::string> splitLines(const std::string& bytes, LineRules rules) {
    std::vector<std::string> lines;
    visitLines(bytes, rules, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

void forEachLine(std::string_view bytes, LineRules rules,
                 const std::function<void(std::string_view)>& onLine) {
    visitLines(bytes, rules, onLine);
}

ReadStatus readTextBytes(platform::Files& files, const std::string& path, std::string& bytes) {
    // Read first, and ask whether the file exists only when that fails: one
    // failing look must not pass a list that is there for a missing one.
    if (files.readTextFile(path, bytes)) return ReadStatus::Ok;
    bytes.clear();
    return files.fileExists(path) ? ReadStatus::Unreadable : ReadStatus::Missing;
}

ReadStatus readLineFile(platform::Files& files, const std::string& path, LineRules rules,
                        std::vector<std::string>& lines) {
    lines.clear();
    std::string bytes;
    const ReadStatus status = readTextBytes(files, path, bytes);
    if (status == ReadStatus::Ok) lines = splitLines(bytes, rules);
    return status;
}

std::string keeperFileBytes(const std::vector<std::string>& entries, std::string_view former) {
    if (former.substr(0, 3) == "\xEF\xBB\xBF") former.remove_prefix(3);
    // Entry as read -> its unread rest; equal keys stay in file order.
    std::multimap<std::string, std::string_view> rests;
    std::string_view unreadEnd;
    std::size_t pos = 0;
    while (pos < former.size()) {
        if (former[pos] == '\0') {
            unreadEnd = former.substr(pos);
            break;
        }
        const std::size_t cr = std::min(former.find('\r', pos), former.size());
        const std::string_view line = former.substr(pos, cr - pos);
        const std::size_t nul = line.find('\0');
        if (nul != std::string_view::npos)
            rests.emplace(std::string(line.substr(0, nul)), line.substr(nul));
        pos = cr + 1;
        if (pos < former.size() && former[pos] == '\n') ++pos;
    }
    std::string bytes;
    for (const auto& entry : entries) {
        bytes += entry;
        const auto rest = rests.lower_bound(entry);
        if (rest != rests.end() && rest->first == entry) {
            bytes += rest->second;
            rests.erase(rest);
        }
        bytes += "\r\n";
    }
    bytes += unreadEnd;
    return bytes;
}

bool writeLineFile(platform::Files& files, const std::string& path,
                   const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const auto& line : lines) total += line.size() + 2;
    std::string bytes;
    bytes.reserve(total);
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return files.writeFileAtomic(path, bytes);
}

}  // namespace cindral::selection
