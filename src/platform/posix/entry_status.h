// What a folder listing of the Linux backend reports of a host entry: the
// Windows attributes, size and times FindFirstFile would give for it.
#pragma once

#include <sys/types.h>
#include <time.h>

#include <cstdint>

#include "platform/files.h"
#include "platform/posix/local_time.h"

namespace cindral::platform {

// What a listing needs of an entry's status.
struct EntryStat {
    mode_t mode = 0;
    std::uint64_t size = 0;
    std::uint64_t dev = 0;
    struct timespec created {};
    struct timespec accessed {};
    struct timespec written {};
};

// The status of `name` in the folder `dir` (of `dir` itself for ""),
// without following a link: from statx where the kernel has it (it knows
// the birth time on most file systems), else from fstatat, whose
// status-change time is then the nearest thing to a creation time.
bool statEntry(int dir, const char* name, EntryStat& out);

// False for the names a listing passes over: "." and "..", and a name
// holding "\", which cannot be written as a Windows path (a path built from
// it would name something else).
bool listable(const char* name);

// True for the kinds of entry Windows has: files, folders and links. Pipes,
// sockets and device nodes belong to running programs and the system; a
// listing leaves them out, so no walk ever hands one to a deletion.
bool hasWindowsKind(mode_t mode);

// Fills the attributes, size and times of a listed entry (its name is set)
// from its status; `folder` is the status of the folder holding it, when
// known: a folder on another device is a mount point. Without `times` the
// entry's times are left as they are.
void describe(const EntryStat& st, const EntryStat* folder, LocalTimeConverter* times,
              DirEntry& entry);

// Fills what readdir's entry type tells of a file or link (the reparse point
// and hidden bits) and marks the rest as missing. False, and nothing filled,
// for a folder (whose device tells a mount point), a special file or an
// unknown type: those need their status.
bool describeByType(unsigned char type, DirEntry& entry);

}  // namespace cindral::platform
