// An editable list of lines kept in a line file, read by the dialog rules (a
// CR or CR LF ends a line, a lone LF stays in it, a NUL ends the text). The
// bytes from a NUL on are invisible to every reader; they are kept and
// written back after the lines, so editing a damaged file loses nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/files.h"
#include "selection/line_file.h"

namespace cindral::selection {

class LineList {
public:
    // Empties the list and reads the file; a missing or unreadable file
    // leaves it empty.
    ReadStatus load(platform::Files& files, const std::string& path);
    // Replaces the file with every line followed by CR LF. False, file
    // unchanged, when it cannot be written, and also after a load that found
    // the file unreadable: saving then would replace lines we never saw.
    bool save(platform::Files& files, const std::string& path) const;

    void add(const std::string& line) { lines_.push_back(line); }
    // Removes the line at a position; false (nothing removed) when there is
    // no line there.
    bool remove(std::size_t position);
    void clear();

    std::size_t size() const { return lines_.size(); }
    const std::string& line(std::size_t i) const { return lines_[i]; }
    std::string& line(std::size_t i) { return lines_[i]; }
    const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
    std::string unreadTail_;  // from the first NUL of the file as loaded
    bool loadedUnreadable_ = false;
};

}  // namespace cindral::selection
