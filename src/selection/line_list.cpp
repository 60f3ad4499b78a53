#include "selection/line_list.h"

namespace cindral::selection {

ReadStatus LineList::load(platform::Files& files, const std::string& path) {
    clear();
    std::string bytes;
    const ReadStatus status = readTextBytes(files, path, bytes);
    if (status != ReadStatus::Ok) {
        loadedUnreadable_ = status == ReadStatus::Unreadable;
        return status;
    }
    const std::size_t nul = bytes.find('\0');
    if (nul != std::string::npos) unreadTail_ = bytes.substr(nul);
    lines_ = splitLines(bytes, LineRules::Dialog);
    return ReadStatus::Ok;
}

bool LineList::save(platform::Files& files, const std::string& path) const {
    if (loadedUnreadable_) return false;
    if (unreadTail_.empty()) return writeLineFile(files, path, lines_);
    std::string bytes;
    for (const auto& l : lines_) {
        bytes += l;
        bytes += "\r\n";
    }
    bytes += unreadTail_;
    return files.writeFileAtomic(path, bytes);
}

bool LineList::remove(std::size_t position) {
    if (position >= lines_.size()) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(position));
    return true;
}

void LineList::clear() {
    lines_.clear();
    unreadTail_.clear();
    loadedUnreadable_ = false;
}

}  // namespace cindral::selection
