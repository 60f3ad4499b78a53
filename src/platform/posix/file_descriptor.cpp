#include "platform/posix/file_descriptor.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <new>

#include "platform/files.h"

namespace cindral::platform {

void UniqueFd::reset(int fd) {
    if (fd_ >= 0) {
        const int saved = errno;
        ::close(fd_);
        errno = saved;
    }
    fd_ = fd;
}

bool UniqueFd::close() {
    if (fd_ < 0) return false;
    return ::close(release()) == 0;
}

DirStream readEntries(UniqueFd fd) {
    DirStream stream(fd ? ::fdopendir(fd.get()) : nullptr);
    if (stream) fd.release();
    return stream;
}

bool readAll(int fd, std::string& bytes) {
    std::string data;
    struct stat st;
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (regular && static_cast<std::uint64_t>(st.st_size) > kMaxReadFileSize) {
        errno = EFBIG;
        return false;
    }
    try {
        if (regular) data.reserve(static_cast<std::size_t>(st.st_size));
        char buffer[65536];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            if (n == 0) break;
            // The file may grow while it is read.
            if (data.size() + static_cast<std::size_t>(n) > kMaxReadFileSize) {
                errno = EFBIG;
                return false;
            }
            data.append(buffer, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return false;
    }
    bytes.swap(data);
    return true;
}

}  // namespace cindral::platform
