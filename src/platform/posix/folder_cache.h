// The folders the Linux files backend resolved last, kept open: a walk
// lists a folder and then deletes in it, and each deletion would otherwise
// open the whole chain of folders from the drive root again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
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

// Which entries of a folder exist in more than one spelling differing only
// in case ("Cache" beside "cache"). A run's paths are upper-cased before they
// reach the backend, so of two such folders the path names neither more
// than the other: a walk must list neither, or it would erase in a folder
// the user did not name. Names are kept as hashes with ASCII letters folded;
// two different names sharing a hash only make a folder be passed over.
class CaseClashes {
public:
    // Collects the names of one folder.
    class Finder {
    public:
        void add(const char* name);
        std::vector<std::uint64_t> clashing() const { return clashing_; }

    private:
        std::unordered_set<std::uint64_t> seen_;
        std::vector<std::uint64_t> clashing_;
    };

    static std::uint64_t foldedHash(const std::string& name);

    // What is known of the folder of `key`: false when nothing is.
    bool known(const std::string& key, std::vector<std::uint64_t>& clashing);
    void remember(const std::string& key, std::vector<std::uint64_t> clashing);
    void clear();

private:
    // A long walk lists many folders; past this many the record starts over.
    static constexpr std::size_t kMaxFolders = 4096;

    std::mutex mutex_;
    std::unordered_map<std::string, std::vector<std::uint64_t>> folders_;
};

}  // namespace cindral::platform
