#include "platform/posix/overwrite_file_posix.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace cindral::platform {

bool PosixOverwriteFile::size(std::uint64_t& size) {
    struct stat st;
    if (!fd_ || ::fstat(fd_.get(), &st) != 0) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

bool PosixOverwriteFile::seekToStart() {
    if (!fd_ || ::lseek(fd_.get(), 0, SEEK_SET) != 0) return false;
    written_ = settled_ = 0;
    return true;
}

bool PosixOverwriteFile::write(const void* data, std::size_t length) {
    if (!fd_ || !writeAll(fd_.get(), static_cast<const char*>(data), length)) return false;
    const off_t start = written_;
    written_ += static_cast<off_t>(length);
    return !writeBehind_ || writeBehind(start);
}

bool PosixOverwriteFile::flush() {
    if (!fd_ || ::fdatasync(fd_.get()) != 0) return false;
    if (writeBehind_) ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_DONTNEED);
    settled_ = written_;
    return true;
}

bool PosixOverwriteFile::truncate() { return fd_ && ::ftruncate(fd_.get(), 0) == 0; }

bool PosixOverwriteFile::writeBehind(off_t start) {
    if (::sync_file_range(fd_.get(), start, written_ - start, SYNC_FILE_RANGE_WRITE) != 0)
        return stopWriteBehind();
    const off_t upto = written_ - kWriteBehind;
    if (upto <= settled_) return true;
    // A write-back error is reported here and then no longer by the flush,
    // so it must fail the write.
    if (::sync_file_range(
            fd_.get(), settled_, upto - settled_,
            SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER) != 0)
        return stopWriteBehind();
    ::posix_fadvise(fd_.get(), settled_, upto - settled_, POSIX_FADV_DONTNEED);
    settled_ = upto;
    return true;
}

// Where the file system does not support the call, the flush alone carries
// the data to the disk; any other failure is the disk's.
bool PosixOverwriteFile::stopWriteBehind() {
    if (errno != EINVAL && errno != ENOSYS && errno != ESPIPE) return false;
    writeBehind_ = false;
    return true;
}

}  // namespace cindral::platform
