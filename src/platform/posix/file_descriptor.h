// Open file descriptors of the Linux backend: one owner each, so no path
// through a function can leak one or close one twice, and reading or
// writing one whole.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <memory>
#include <string>

namespace cindral::platform {

// Owns one descriptor (or none: -1) and closes it when it goes. Moved,
// never copied. Closing keeps errno, so a failure can be reported after the
// descriptors on the way out are gone.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~UniqueFd() { reset(); }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset(int fd = -1);
    // Closes now and tells whether close succeeded: a file system may report
    // a failed write only there. False when nothing was open.
    bool close();

private:
    int fd_ = -1;
};

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirStream = std::unique_ptr<DIR, DirCloser>;

// The entries of the folder `fd` refers to, read through a stream that owns
// the descriptor from now on; null (the descriptor closed) when it fails.
DirStream readEntries(UniqueFd fd);

// Writes all of `data` through `write` (called as write(2) is), going on
// after interrupted and partial writes. A write that takes nothing without
// an error fails with ENOSPC: going on would never end.
template <class Write>
bool writeAllWith(Write&& write, int fd, const char* data, std::size_t length) {
    while (length > 0) {
        const ssize_t n = write(fd, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}
inline bool writeAll(int fd, const char* data, std::size_t length) {
    return writeAllWith(::write, fd, data, length);
}

// Reads from the current position to the end into `bytes`; on failure
// `bytes` is left as it was. More than kMaxReadFileSize bytes fail (EFBIG).
bool readAll(int fd, std::string& bytes);

}  // namespace cindral::platform
