// Files other processes hold open. Windows refuses to delete or overwrite a
// file another program has open (a sharing violation); Linux allows both,
// so cleaning the temporary folder could pull files from under running
// programs. The backend keeps Windows' rule with a look through
// /proc/<pid>/fd, as fuser does: once per folder a deletion happens in, and
// again when the last look is more than a second old or says a file is held,
// so neither a long walk of one folder nor a closed program is judged on
// stale facts.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <mutex>
#include <set>
#include <utility>

namespace cindral::platform {

class OpenFiles {
public:
    // True when a process other than this one, among those this user may
    // look at, holds the file (`dev`, `ino`) open; `folderDev` and
    // `folderIno` name the folder holding it.
    bool heldByOthers(dev_t folderDev, ino_t folderIno, dev_t dev, ino_t ino);

private:
    using Key = std::pair<std::uint64_t, std::uint64_t>;
    void scan();

    std::mutex mutex_;
    std::chrono::steady_clock::time_point taken_;
    bool haveFolder_ = false;
    Key folder_;
    std::set<Key> open_;
};

}  // namespace cindral::platform
