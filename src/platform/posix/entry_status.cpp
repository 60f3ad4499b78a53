#include "platform/posix/entry_status.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/folder_lookup.h"

namespace cindral::platform {

bool statEntry(int dir, const char* name, EntryStat& out) {
    const int flags = AT_SYMLINK_NOFOLLOW | (*name ? 0 : AT_EMPTY_PATH);
#ifdef STATX_BTIME
    struct statx sx;
    if (::statx(dir, name, flags, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
        out.mode = sx.stx_mode;
        out.size = sx.stx_size;
        out.dev = (static_cast<std::uint64_t>(sx.stx_dev_major) << 32) | sx.stx_dev_minor;
        auto ts = [](const struct statx_timestamp& t) {
            struct timespec r {};
            r.tv_sec = static_cast<time_t>(t.tv_sec);
            r.tv_nsec = static_cast<long>(t.tv_nsec);
            return r;
        };
        out.accessed = ts(sx.stx_atime);
        out.written = ts(sx.stx_mtime);
        out.created = ts((sx.stx_mask & STATX_BTIME) ? sx.stx_btime : sx.stx_ctime);
        return true;
    }
    if (errno != ENOSYS) return false;
#endif
    struct stat st;
    if (::fstatat(dir, name, &st, flags) != 0) return false;
    out.mode = st.st_mode;
    out.size = static_cast<std::uint64_t>(st.st_size);
    out.dev = (static_cast<std::uint64_t>(major(st.st_dev)) << 32) | minor(st.st_dev);
    out.accessed = st.st_atim;
    out.written = st.st_mtim;
    out.created = st.st_ctim;
    return true;
}

bool listable(const char* name) {
    return !isDotOrDotDot(name) && *name && !std::strchr(name, '\\');
}

bool hasWindowsKind(mode_t mode) { return S_ISREG(mode) || S_ISDIR(mode) || S_ISLNK(mode); }

void describe(const EntryStat& st, const EntryStat* folder, LocalTimeConverter* times,
              DirEntry& entry) {
    std::uint32_t attr = 0;
    entry.size = 0;
    if (S_ISDIR(st.mode)) {
        attr |= kAttrDirectory;
        // A folder on another file system is a mount point: reported as
        // a reparse point, so walks stay on the file system they began on.
        if (folder && st.dev != folder->dev) attr |= kAttrReparsePoint;
    } else if (S_ISREG(st.mode)) {
        attr |= kAttrArchive;
        entry.size = st.size;
    } else if (S_ISLNK(st.mode)) {
        attr |= kAttrReparsePoint;
    }
    if (!S_ISLNK(st.mode) && (st.mode & S_IWUSR) == 0) attr |= kAttrReadOnly;
    if (entry.name[0] == '.') attr |= kAttrHidden;
    entry.attributes = attr;
    entry.detailsMissing = false;
    if (!times) return;
    entry.creationTime = times->convert(st.created.tv_sec, st.created.tv_nsec);
    entry.lastAccessTime = times->convert(st.accessed.tv_sec, st.accessed.tv_nsec);
    entry.lastWriteTime = times->convert(st.written.tv_sec, st.written.tv_nsec);
}

bool describeByType(unsigned char type, DirEntry& entry) {
    switch (type) {
        case DT_LNK:
            entry.attributes |= kAttrReparsePoint;
            break;
        case DT_REG:
            break;
        default:
            return false;
    }
    if (entry.name[0] == '.') entry.attributes |= kAttrHidden;
    entry.detailsMissing = true;
    return true;
}

}  // namespace cindral::platform
