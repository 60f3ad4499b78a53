#include "platform/posix/durable_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <random>

#include "platform/posix/file_descriptor.h"

namespace cindral::platform {
namespace {

void removeKeepingErrno(int dir, const std::string& name) {
    const int saved = errno;
    ::unlinkat(dir, name.c_str(), 0);
    errno = saved;
}

bool closeKeepingErrno(DiskCalls& calls, int fd, bool sofar) {
    const int saved = errno;
    const bool closed = calls.close(fd) == 0;
    if (!sofar) errno = saved;
    return sofar && closed;
}

}  // namespace

int DiskCalls::openAt(int dir, const char* name, int flags, mode_t mode) {
    return ::openat(dir, name, flags, mode);
}
ssize_t DiskCalls::write(int fd, const void* data, std::size_t length) {
    return ::write(fd, data, length);
}
int DiskCalls::changeMode(int fd, mode_t mode) { return ::fchmod(fd, mode); }
int DiskCalls::flush(int fd) { return ::fsync(fd); }
int DiskCalls::close(int fd) { return ::close(fd); }
int DiskCalls::renameAt(int dir, const char* from, const char* to) {
    return ::renameat(dir, from, dir, to);
}

DiskCalls& systemDiskCalls() {
    static DiskCalls calls;
    return calls;
}

bool writeNewFile(int dir, const std::string& name, const std::string& bytes, FileMode mode,
                  DiskCalls& calls) {
    return writeNewFile(dir, name, Files::wholeOf(bytes), mode, calls);
}

bool writeNewFile(int dir, const std::string& name, const Files::ChunkSource& next, FileMode mode,
                  DiskCalls& calls) {
    const int fd =
        calls.openAt(dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     mode ? *mode : mode_t(0666));
    if (fd < 0) return false;
    bool ok = !mode || calls.changeMode(fd, *mode) == 0;
    const auto write = [&calls](int f, const char* data, std::size_t length) {
        return calls.write(f, data, length);
    };
    std::string_view chunk;
    while (ok && next(chunk)) ok = writeAllWith(write, fd, chunk.data(), chunk.size());
    ok = ok && calls.flush(fd) == 0;
    // A file system may report a failed write only when the file is closed.
    ok = closeKeepingErrno(calls, fd, ok);
    if (!ok) removeKeepingErrno(dir, name);
    return ok;
}

bool replaceFile(int dir, const std::string& name, const std::string& bytes, FileMode mode,
                 DiskCalls& calls) {
    return replaceFile(dir, name, Files::wholeOf(bytes), mode, calls);
}

bool replaceFile(int dir, const std::string& name, const Files::ChunkSource& next, FileMode mode,
                 DiskCalls& calls) {
    std::random_device random;
    std::string temp;
    bool written = false;
    for (int attempt = 0; attempt < 16 && !written; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        // "~" and the suffix add 14 bytes: a name near the longest a folder
        // takes lends the temporary file only its beginning.
        const std::size_t room = NAME_MAX - 1 - std::strlen(suffix);
        temp = "~" + name.substr(0, room) + suffix;
        written = writeNewFile(dir, temp, next, mode, calls);
        if (!written && errno != EEXIST) return false;
    }
    if (!written) return false;
    if (calls.renameAt(dir, temp.c_str(), name.c_str()) != 0) {
        removeKeepingErrno(dir, temp);
        return false;
    }
    // The file holds the new bytes now, whatever follows. The folder may be
    // open for passing only (O_PATH), which cannot be flushed: a handle of
    // its own can.
    const int folder = calls.openAt(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0);
    if (folder >= 0) {
        calls.flush(folder);
        calls.close(folder);
    }
    return true;
}

}  // namespace cindral::platform
