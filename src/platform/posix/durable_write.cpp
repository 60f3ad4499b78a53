#include "platform/posix/durable_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "platform/posix/file_descriptor.h"

namespace cindral::platform {
namespace {

void removeKeepingErrno(int dir, const std::string& name) {
    const int saved = errno;
    ::unlinkat(dir, name.c_str(), 0);
    errno = saved;
}

}  // namespace

bool writeNewFile(int dir, const std::string& name, const std::string& bytes, FileMode mode) {
    return writeNewFile(dir, name, Files::wholeOf(bytes), mode);
}

bool writeNewFile(int dir, const std::string& name, const Files::ChunkSource& next, FileMode mode) {
    UniqueFd fd(::openat(dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         mode ? *mode : mode_t(0666)));
    if (!fd) return false;
    bool ok = !mode || ::fchmod(fd.get(), *mode) == 0;
    std::string_view chunk;
    while (ok && next(chunk)) ok = writeAll(fd.get(), chunk.data(), chunk.size());
    ok = ok && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    if (!ok) removeKeepingErrno(dir, name);
    return ok;
}

bool replaceFile(int dir, const std::string& name, const std::string& bytes, FileMode mode) {
    return replaceFile(dir, name, Files::wholeOf(bytes), mode);
}

bool replaceFile(int dir, const std::string& name, const Files::ChunkSource& next, FileMode mode) {
    std::random_device random;
    std::string temp;
    bool written = false;
    for (int attempt = 0; attempt < 16 && !written; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        temp = "~" + name + suffix;
        written = writeNewFile(dir, temp, next, mode);
        if (!written && errno != EEXIST) return false;
    }
    if (!written) return false;
    if (::renameat(dir, temp.c_str(), dir, name.c_str()) != 0) {
        removeKeepingErrno(dir, temp);
        return false;
    }
    // The folder may be open for passing only (O_PATH), which cannot be
    // flushed: a handle of its own can.
    UniqueFd folder(::openat(dir, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder) ::fsync(folder.get());
    return true;
}

}  // namespace cindral::platform
