// A log book's view and buffer as whole lists of lines, to compare at once.
#pragma once

#include <string>
#include <vector>

#include "app/log_book.h"

namespace cindral::test {

inline std::vector<std::string> viewLines(const app::LogBook& book) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < book.viewLineCount(); ++i) lines.emplace_back(book.viewLine(i));
    return lines;
}

inline std::vector<std::string> bufferLines(const app::LogBook& book) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < book.bufferLineCount(); ++i) lines.emplace_back(book.bufferLine(i));
    return lines;
}

}  // namespace cindral::test
