// Writing a file so that neither a crash nor a full disk nor a failed write
// leaves it half-written: the bytes go to a file of their own, are flushed
// to the disk, and only then take the file's name. Both the files and the
// registry store of the Linux backend write this way.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <optional>
#include <string>

#include "platform/files.h"

namespace cindral::platform {

// The permissions of a file written here: nullopt gives 0666 less the
// umask, as any program's new file gets; a value gives exactly those bits.
using FileMode = std::optional<mode_t>;

// The system calls a durable write makes. The real ones by default; a test
// hands in its own to fail any one of them as a failing or full disk would.
class DiskCalls {
public:
    virtual ~DiskCalls() = default;
    virtual int openAt(int dir, const char* name, int flags, mode_t mode);
    virtual ssize_t write(int fd, const void* data, std::size_t length);
    virtual int changeMode(int fd, mode_t mode);
    virtual int flush(int fd);
    virtual int close(int fd);
    virtual int renameAt(int dir, const char* from, const char* to);
};
DiskCalls& systemDiskCalls();

// Creates `name` in the folder `dir` holding exactly `bytes`, flushed to the
// disk. Fails when the name is taken (errno EEXIST), also by a link, which
// is never followed; on any later failure the new file is removed again.
bool writeNewFile(int dir, const std::string& name, const std::string& bytes, FileMode mode,
                  DiskCalls& calls = systemDiskCalls());
// The same with the bytes handed over in pieces; `next` is not called when
// the name is taken.
bool writeNewFile(int dir, const std::string& name, const Files::ChunkSource& next, FileMode mode,
                  DiskCalls& calls = systemDiskCalls());

// Makes `name` in the folder `dir` hold exactly `bytes`: writes them to a
// new temporary file beside it, renames that over `name` (an entry of that
// name, a link too, is replaced, never followed) and flushes the folder so
// the rename itself survives a crash. On failure `name` is untouched and no
// temporary file is left.
bool replaceFile(int dir, const std::string& name, const std::string& bytes, FileMode mode,
                 DiskCalls& calls = systemDiskCalls());
bool replaceFile(int dir, const std::string& name, const Files::ChunkSource& next, FileMode mode,
                 DiskCalls& calls = systemDiskCalls());

}  // namespace cindral::platform
