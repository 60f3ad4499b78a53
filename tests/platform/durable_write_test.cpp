// Replacing a file whole on Linux, as the files backend and the registry
// store do: a write that fails half-way must cost nothing.
#ifndef _WIN32

#include "platform/posix/durable_write.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/posix/file_descriptor.h"

namespace cindral::platform {
namespace {

namespace fs = std::filesystem;

// Lets this process write files of at most `bytes` for one scope, so a
// write stops half-way as on a full disk (with SIGXFSZ ignored, the write
// fails with EFBIG instead of ending the process).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        struct rlimit lowered = old_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }

private:
    struct rlimit old_ {};
    sighandler_t oldHandler_ = SIG_DFL;
};

TEST(DurableWriteTest, AWriteThatFailsHalfWayLeavesTheOldFileWholeAndNoOtherFile) {
    char pattern[] = "/tmp/cindral-durable-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    auto content = [&](const char* name) {
        std::ifstream in(folder + "/" + name, std::ios::binary);
        return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<missing>";
    };
    auto names = [&] {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(folder)) out.push_back(e.path().filename());
        return out;
    };
    const std::string old(10000, 'o'), fresh(100000, 'n');
    std::ofstream(folder + "/list.dat", std::ios::binary) << old;
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(dir);
    {
        const FileSizeLimit limit(4096);
        EXPECT_FALSE(replaceFile(dir.get(), "list.dat", fresh, FileMode()));
        EXPECT_FALSE(writeNewFile(dir.get(), "copy.dat", fresh, mode_t(0600)));
    }
    EXPECT_TRUE(content("list.dat") == old);
    EXPECT_EQ(names(), std::vector<std::string>{"list.dat"});
    // With room on the disk again, the same replacement goes through.
    EXPECT_TRUE(replaceFile(dir.get(), "list.dat", fresh, FileMode()));
    EXPECT_TRUE(content("list.dat") == fresh);
    EXPECT_EQ(names(), std::vector<std::string>{"list.dat"});
    fs::remove_all(folder);
}

}  // namespace
}  // namespace cindral::platform

#endif  // _WIN32
