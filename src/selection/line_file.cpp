#include "selection/line_file.h"

#include <algorithm>

namespace cindral::selection {

namespace {

// Run and Dialog rules: the text ends at the first NUL; the two differ only
// in whether a lone LF ends a line.
std::vector<std::string> splitPlain(const std::string& bytes, bool loneLfEndsLine) {
    std::vector<std::string> lines;
    const std::size_t end = std::min(bytes.find('\0'), bytes.size());
    std::string line;
    for (std::size_t i = 0; i < end; ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            lines.push_back(std::move(line));
            line.clear();
            if (i + 1 < end && bytes[i + 1] == '\n') ++i;
        } else if (c == '\n' && loneLfEndsLine) {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// Keeper rules: entries end at CR (an LF right after it belongs to the line
// end); a NUL cuts its entry, and a NUL where an entry starts ends the list.
std::vector<std::string> splitKeeper(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    const std::size_t size = bytes.size();
    while (pos < size) {
        if (bytes[pos] == '\0') break;
        std::size_t cr = bytes.find('\r', pos);
        const bool lastEntry = cr == std::string::npos;
        if (lastEntry) cr = size;
        std::string entry = bytes.substr(pos, cr - pos);
        const std::size_t nul = entry.find('\0');
        if (nul != std::string::npos) entry.resize(nul);
        if (lastEntry) {
            if (!entry.empty()) lines.push_back(std::move(entry));
            break;
        }
        lines.push_back(std::move(entry));
        pos = cr + 1;
        if (pos < size && bytes[pos] == '\n') ++pos;
    }
    return lines;
}

}  // namespace

std::vector<std::string> splitLines(const std::string& bytes, LineRules rules) {
    switch (rules) {
        case LineRules::Run:
            return splitPlain(bytes, true);
        case LineRules::Dialog:
            return splitPlain(bytes, false);
        case LineRules::Keeper:
            return splitKeeper(bytes);
    }
    return {};
}

ReadStatus readLineFile(platform::Files& files, const std::string& path, LineRules rules,
                        std::vector<std::string>& lines) {
    lines.clear();
    if (!files.fileExists(path)) return ReadStatus::Missing;
    std::string bytes;
    if (!files.readFile(path, bytes)) return ReadStatus::Unreadable;
    lines = splitLines(bytes, rules);
    return ReadStatus::Ok;
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
