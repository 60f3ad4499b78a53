// Replacing a file whole on Linux, as the files backend and the registry
// store do: a write that fails half-way must cost nothing.
#ifndef _WIN32

#include "platform/posix/durable_write.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/posix/file_descriptor.h"
#include "support/temp_folder.h"

namespace cindral::platform {
namespace {

// Fails the n-th system call (from 1) with EIO. A write stores at most
// 4 KiB, so a failing write can come after part of the file is written.
class FailingDiskCalls : public DiskCalls {
public:
    explicit FailingDiskCalls(int failAt) : failAt_(failAt) {}
    int count = 0;
    // A call failed while the old file was still in place: only then may
    // the write fail, and then it must.
    bool failedBeforeRename = false;

    int openAt(int dir, const char* name, int flags, mode_t mode) override {
        return fails() ? -1 : DiskCalls::openAt(dir, name, flags, mode);
    }
    ssize_t write(int fd, const void* data, std::size_t length) override {
        return fails() ? -1 : DiskCalls::write(fd, data, std::min<std::size_t>(length, 4096));
    }
    int changeMode(int fd, mode_t mode) override {
        return fails() ? -1 : DiskCalls::changeMode(fd, mode);
    }
    int flush(int fd) override { return fails() ? -1 : DiskCalls::flush(fd); }
    int close(int fd) override {
        // The descriptor goes whatever close reports, as with the real call.
        const int result = DiskCalls::close(fd);
        return fails() ? -1 : result;
    }
    int renameAt(int dir, const char* from, const char* to) override {
        if (fails()) return -1;
        const int result = DiskCalls::renameAt(dir, from, to);
        renamed_ = renamed_ || result == 0;
        return result;
    }

private:
    bool fails() {
        if (++count != failAt_) return false;
        errno = EIO;
        failedBeforeRename = !renamed_;
        return true;
    }
    int failAt_;
    bool renamed_ = false;
};

TEST(DurableWriteTest, EveryFailingCallLeavesTheOldOrTheNewFileWholeAndNoOtherFile) {
    const test::TempFolder temp;
    const std::string& folder = temp.path();
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    ASSERT_TRUE(dir);
    const std::string old(5000, 'o'), fresh(20000, 'n');
    for (int n = 1;; ++n) {
        test::writeHostFile(folder + "/list.dat", old);
        FailingDiskCalls calls(n);
        const bool ok = replaceFile(dir.get(), "list.dat", fresh, mode_t(0600), calls);
        const std::string now = test::readHostFile(folder + "/list.dat");
        SCOPED_TRACE("call " + std::to_string(n) + " fails");
        EXPECT_TRUE(ok ? now == fresh : now == old) << "ok=" << ok << ", " << now.size();
        EXPECT_EQ(ok, !calls.failedBeforeRename);
        EXPECT_EQ(test::hostNames(folder), std::vector<std::string>{"list.dat"});
        if (calls.count < n) break;  // every call went through
    }
}

// Fills a small file system of its own (a tmpfs in a mount namespace of its
// own) and replaces a file on it; the exit code says what went wrong.
enum FullDiskResult { kWhole, kOldLost, kFailureHidden, kLeftovers, kNoRoomAfter, kNoTmpfs };

bool writeText(const char* path, const std::string& text) {
    const UniqueFd fd(::open(path, O_WRONLY));
    return fd && writeAll(fd.get(), text.data(), text.size());
}

int replaceOnAFullDisk(const std::string& folder) {
    const std::string uid = std::to_string(::getuid()), gid = std::to_string(::getgid());
    const bool ownNamespace =
        ::unshare(CLONE_NEWNS) == 0 || (::unshare(CLONE_NEWUSER | CLONE_NEWNS) == 0 &&
                                        writeText("/proc/self/uid_map", "0 " + uid + " 1") &&
                                        writeText("/proc/self/setgroups", "deny") &&
                                        writeText("/proc/self/gid_map", "0 " + gid + " 1"));
    if (!ownNamespace || ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
        return kNoTmpfs;
    }
    const UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const std::string old(1000, 'o'), fresh(20000, 'n'), block(4096, 'f');
    if (!dir || !replaceFile(dir.get(), "list.dat", old, FileMode())) return kNoTmpfs;
    {
        const UniqueFd filler(::openat(dir.get(), "filler", O_WRONLY | O_CREAT, 0600));
        while (filler && writeAll(filler.get(), block.data(), block.size())) {
        }
    }
    if (replaceFile(dir.get(), "list.dat", fresh, FileMode())) return kFailureHidden;
    if (test::readHostFile(folder + "/list.dat") != old) return kOldLost;
    if (test::hostNames(folder) != std::vector<std::string>{"filler", "list.dat"})
        return kLeftovers;
    ::unlinkat(dir.get(), "filler", 0);
    if (!replaceFile(dir.get(), "list.dat", fresh, FileMode())) return kNoRoomAfter;
    return test::readHostFile(folder + "/list.dat") == fresh ? kWhole : kNoRoomAfter;
}

TEST(DurableWriteTest, OnARealFullDiskTheReplacementFailsAndTheOldFileStaysWhole) {
    const test::TempFolder temp;
    const pid_t child = ::fork();
    if (child == 0) ::_exit(replaceOnAFullDisk(temp.path()));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kNoTmpfs) {
        GTEST_SKIP() << "no small tmpfs: mounting one needs a mount namespace (root, or user "
                        "namespaces allowed)";
    }
    const char* what[] = {"", "old content lost", "failure reported as success", "files left over",
                          "no write once room was made"};
    EXPECT_EQ(WEXITSTATUS(status), kWhole) << what[std::min(WEXITSTATUS(status), 4)];
}

}  // namespace
}  // namespace cindral::platform

#endif  // _WIN32
