// The state of one cleaning or test run that the engine routines read and
// update. The run driver owns one of these per run, so a stopped worker that
// is still unwinding can never touch the counters of the next run.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/is_kept.h"

namespace cindral::engine {

// KeeperMode values: which keeper list protects the item in progress.
constexpr int kKeeperNone = 0;
constexpr int kKeeperAddresses = 1;  // registry value data (typed addresses)
constexpr int kKeeperCookies = 2;    // full path of each file found
constexpr int kKeeperOpenSave = 6;   // registry value data (open/save history)

// A clean run erases; a test run walks the same items and only counts and
// logs what a clean run would erase.
enum class RunMode { Clean, Test };

// The figures a run reports, zeroed when it starts. 64-bit so that files
// over 4 GiB and runs over 2 GiB are counted correctly.
struct RunCounters {
    // Registry values and subkeys found, less those a keeper list protected.
    std::int64_t FoundRegistryEntries = 0;
    // Registry deletions issued.
    std::int64_t DeletedRegistryEntries = 0;
    // Files removed (clean run) or found (test run), and their bytes.
    std::int64_t JunkFileCount = 0;
    std::int64_t JunkByteCount = 0;
};

struct RunState {
    // True in a clean run, false in a test run (nothing is changed then).
    bool Erase = false;
    // Put in front of every line the engine logs: "" or "Test Mode: ".
    std::string LinePrefix;
    int KeeperMode = kKeeperNone;
    RunCounters counters;

    // The lines of "CookieKept.dat", consulted by the file handler only while
    // KeeperMode is kKeeperCookies.
    KeeperList CookieKeepers;

    // Roots ("C:\") of the fixed drives in letter order, for the drive scan.
    std::vector<std::string> FixedDrives;

    // Folders a path template never walks with subfolders nor empties
    // (ProtectedFolders); drive roots are protected without being listed.
    std::vector<std::string> ProtectedFolders;

    // Set by the window when the user stops the run; may be null (never
    // stopped). Checked before every file or registry deletion and by the
    // walker before each folder and entry.
    const std::atomic<bool>* StopRequested = nullptr;

    bool stopped() const { return StopRequested && StopRequested->load(std::memory_order_relaxed); }
};

}  // namespace cindral::engine
