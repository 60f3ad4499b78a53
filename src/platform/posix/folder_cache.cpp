#include "platform/posix/folder_cache.h"

#include <sys/stat.h>

#include <algorithm>

namespace cindral::platform {

bool FolderCache::alive(const Entry& e) {
    struct stat st;
    return ::fstat(e.folder->get(), &st) == 0 && st.st_nlink != 0;
}

FolderRef FolderCache::deepest(const std::vector<std::string>& keys, std::size_t& depth,
                               bool checked) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::size_t n = keys.size(); n-- > 0;) {
        if (listed_.folder && listed_.key == keys[n]) {
            if (!checked || alive(listed_)) {
                depth = n;
                return listed_.folder;
            }
            listed_ = Entry{};
            listedName_.clear();
        }
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->key != keys[n]) continue;
            if (checked && !alive(*it)) {
                entries_.erase(it);
                break;
            }
            std::rotate(entries_.begin(), it, it + 1);
            depth = n;
            return entries_.front().folder;
        }
    }
    return nullptr;
}

void FolderCache::remember(const std::string& key, FolderRef folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.key == key; });
    if (it != entries_.end()) entries_.erase(it);
    entries_.insert(entries_.begin(), Entry{key, std::move(folder)});
    if (entries_.size() > kSize) entries_.pop_back();
}

void FolderCache::rememberListed(const std::string& name, const std::string& key,
                                 FolderRef folder) {
    std::lock_guard<std::mutex> lock(mutex_);
    listed_ = Entry{key, std::move(folder)};
    listedName_ = name;
}

FolderRef FolderCache::listed(const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    return listed_.folder && listedName_ == name ? listed_.folder : nullptr;
}

void FolderCache::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    entries_.clear();
    listed_ = Entry{};
    listedName_.clear();
}

}  // namespace cindral::platform
