// A folder swapped for a link to other files, and back, again and again
// while a clean run walks and deletes the tree: the handle-relative walk of
// the Linux backend must never delete through the link, and the run must
// count only what it really removed. Wine cannot make symbolic links, so
// this runs on Linux only. CINDRAL_LINK_RACE_SWAPS sets the number of swaps
// (a few hundred by default; 10000 for the long run the README names).
#ifndef _WIN32

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "engine/path_template.h"
#include "engine_test_support.h"
#include "platform/posix/files_posix.h"
#include "support/temp_folder.h"

namespace cindral::engine {
namespace {

namespace fs = std::filesystem;

int fileCount(const fs::path& folder) {
    int n = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; it != end; it.increment(ec))
        n += it->is_regular_file(ec) && !it->is_symlink(ec);
    return n;
}

using LinkRaceTest = test::EngineTest;

TEST_F(LinkRaceTest, ASubfolderSwappedForALinkNeverLeadsTheRunToOtherFiles) {
    const char* wanted = ::getenv("CINDRAL_LINK_RACE_SWAPS");
    const long swaps = wanted ? std::atol(wanted) : 300;
    std::string root;
    ASSERT_TRUE(
        dynamic_cast<platform::PosixFiles&>(*box_.platform().files).toHostPath(box_.root(), root));
    const fs::path tree = fs::path(root) / "tree", canary = fs::path(root) / "canary";
    const fs::path sub = tree / "sub", parked = tree / "sub.real";
    fs::create_directories(canary);
    for (int i = 0; i < 20; ++i) std::ofstream(canary / ("c" + std::to_string(i) + ".tmp")) << i;
    run_.Erase = true;

    long swapped = 0, linksRemoved = 0;
    for (int round = 0; swapped < swaps; ++round) {
        fs::create_directories(sub);
        for (int i = 0; i < 20; ++i) std::ofstream(sub / ("s" + std::to_string(i) + ".tmp")) << i;
        for (int i = 0; i < 5; ++i) std::ofstream(tree / ("t" + std::to_string(i) + ".tmp")) << i;
        const int before = fileCount(tree);
        run_.counters = RunCounters();
        wipe_.secureErasing = round % 2 == 1;

        std::atomic<bool> walking{true};
        std::thread swapper([&] {
            while (walking.load()) {
                if (::rename(sub.c_str(), parked.c_str()) != 0) break;
                if (::symlink(canary.c_str(), sub.c_str()) == 0 && ::unlink(sub.c_str()) != 0)
                    ++linksRemoved;  // the run removed the link itself
                if (::rename(parked.c_str(), sub.c_str()) != 0) break;
                ++swapped;
            }
        });
        CleanPathTemplate(ctx_, at("tree\\*?"));
        walking.store(false);
        swapper.join();
        ASSERT_TRUE(fs::is_directory(sub) && !fs::is_symlink(sub)) << "round " << round;

        ASSERT_EQ(fileCount(canary), 20) << "round " << round;
        for (int i = 0; i < 20; ++i)
            ASSERT_EQ(cindral::test::readHostFile(canary / ("c" + std::to_string(i) + ".tmp")),
                      std::to_string(i))
                << "canary " << i << " overwritten in round " << round;
        const long removed = before - fileCount(tree) + linksRemoved;
        linksRemoved = 0;
        ASSERT_EQ(run_.counters.JunkFileCount, removed) << "round " << round;
    }
}

}  // namespace
}  // namespace cindral::engine

#endif  // _WIN32
