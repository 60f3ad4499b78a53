// The folders the Linux files backend resolved last, kept open: a walk
// lists a folder and then deletes in it, and each deletion would otherwise
// open the whole chain of folders from the drive root again.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/posix/file_descriptor.h"

namespace cindral::platform {

// An open folder, shared between the cache and the operations using it, so
// a folder dropped from the cache stays open until its last user is done.
using FolderRef = std::shared_ptr<const UniqueFd>;

// A few open folders by key, most recently used first. Safe to use from
// several threads.
class FolderCache {
public:
    // The cached folder of the longest key in `keys` (keys[i] names the
    // folder made of a path's first i components), with its index in
    // `depth`; null when none is cached. A cached folder removed since (no
    // links left) is dropped, never returned, unless `checked` is false: a
    // caller that opens a name below the folder sees a removed one fail with
    // ENOENT anyway and can then ask again, checked.
    FolderRef deepest(const std::vector<std::string>& keys, std::size_t& depth,
                      bool checked = true);
    void remember(const std::string& key, FolderRef folder);

    // The folder listed last, by the name the caller gave it, so the
    // details of its entries are looked up without resolving it again.
    // deepest() finds it by `key` too; it has a slot of its own because a
    // walk lists each folder once, and the folders it lists would push the
    // ones above them, which the next listings start from, out of the cache.
    void rememberListed(const std::string& name, const std::string& key, FolderRef folder);
    FolderRef listed(const std::string& name);

    // Forgets every folder: after a rename or creation a key may name
    // another folder than the one kept for it.
    void clear();

private:
    struct Entry {
        std::string key;
        FolderRef folder;
    };
    static constexpr std::size_t kSize = 8;

    std::mutex mutex_;
    // False, and the entry dropped, for a folder removed since it was
    // opened (no links left).
    static bool alive(const Entry& e);

    std::vector<Entry> entries_;
    Entry listed_;
    std::string listedName_;
};

}  // namespace cindral::platform
