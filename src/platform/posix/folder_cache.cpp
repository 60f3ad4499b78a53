#include "platform/posix/folder_cache.h"

#include <sys/stat.h>

#include <algorithm>

#include "platform/ascii_case.h"

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

namespace {

std::uint64_t foldedHashOf(const char* name, std::size_t length) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (std::size_t i = 0; i < length; ++i) {
        hash ^= static_cast<unsigned char>(asciiLower(name[i]));
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace

void CaseClashes::Finder::add(const char* name) {
    const std::uint64_t hash = foldedHashOf(name, std::char_traits<char>::length(name));
    if (!seen_.insert(hash).second) clashing_.push_back(hash);
}

std::uint64_t CaseClashes::foldedHash(const std::string& name) {
    return foldedHashOf(name.data(), name.size());
}

bool CaseClashes::known(const std::string& key, std::vector<std::uint64_t>& clashing) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = folders_.find(key);
    if (it == folders_.end()) return false;
    clashing = it->second;
    return true;
}

void CaseClashes::remember(const std::string& key, std::vector<std::uint64_t> clashing) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (folders_.size() >= kMaxFolders) folders_.clear();
    folders_[key] = std::move(clashing);
}

void CaseClashes::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    folders_.clear();
}

}  // namespace cindral::platform
