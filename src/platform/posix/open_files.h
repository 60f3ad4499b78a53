// Files other processes hold open. Windows refuses to delete or overwrite a
// file another program has open (a sharing violation); Linux allows both,
// so cleaning the temporary folder could pull files from under running
// programs. The backend keeps Windows' rule with a look through
// /proc/<pid>/fd, as fuser does: again when the last look is more than a
// second old or says a file is held, so no file is judged on facts older
// than a second and a closed program never holds a file back. One look
// reads every open file of every process, thousands on a desktop: taken
// anew for each folder, a run over a tree of small folders spent its time
// looking rather than deleting.
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
    // look at, holds the file (`dev`, `ino`) open.
    bool heldByOthers(dev_t dev, ino_t ino);

private:
    using Key = std::pair<std::uint64_t, std::uint64_t>;
    void scan();

    std::mutex mutex_;
    std::chrono::steady_clock::time_point taken_;
    bool scanned_ = false;
    std::set<Key> open_;
};

}  // namespace cindral::platform
