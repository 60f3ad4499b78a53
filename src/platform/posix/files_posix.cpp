#include "platform/posix/files_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "platform/ascii_case.h"

namespace cindral::platform {

// An open directory. Shared between the cache and the operations using it,
// so a folder evicted from the cache stays open until its last user is done.
struct PosixFiles::DirHandle {
    int fd = -1;
    explicit DirHandle(int f) : fd(f) {}
    ~DirHandle() {
        if (fd >= 0) ::close(fd);
    }
    DirHandle(const DirHandle&) = delete;
    DirHandle& operator=(const DirHandle&) = delete;
};

namespace {

constexpr std::size_t kCacheSize = 8;
constexpr int kDirFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release() {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_;
};

bool equalNoCase(const char* a, const std::string& b) {
    std::size_t i = 0;
    for (; a[i] != '\0'; ++i) {
        if (i >= b.size() || asciiLower(a[i]) != asciiLower(b[i])) return false;
    }
    return i == b.size();
}

bool isDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// A second, independent handle on a directory: readdir moves the file
// position, which a dup() would share with the cached handle.
int reopenForReading(int dirfd) { return ::openat(dirfd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC); }

// The actual name in `dirfd` that `name` refers to: the name itself when it
// exists, else the first (in byte order) entry equal to it without regard
// to case. Fills `st` (lstat of that entry).
bool findExactOrNoCase(int dirfd, const std::string& name, std::string& actual, struct stat& st) {
    if (::fstatat(dirfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        actual = name;
        return true;
    }
    if (errno != ENOENT) return false;
    int fd = reopenForReading(dirfd);
    if (fd < 0) return false;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    bool found = false;
    while (dirent* e = ::readdir(dir)) {
        if (isDotOrDotDot(e->d_name) || !equalNoCase(e->d_name, name)) continue;
        if (!found || std::strcmp(e->d_name, actual.c_str()) < 0) actual = e->d_name;
        found = true;
    }
    ::closedir(dir);
    if (found && ::fstatat(dirfd, actual.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return true;
    errno = ENOENT;
    return false;
}

// As findExactOrNoCase, then with the name as Windows reads it ("a.txt." is
// "a.txt"). The written name comes first: Linux may hold both "report." and
// "report", and a path naming the one must never reach the other.
bool findEntry(int dirfd, const std::string& name, const std::string& trimmed, std::string& actual,
               struct stat& st) {
    if (findExactOrNoCase(dirfd, name, actual, st)) return true;
    if (errno != ENOENT || trimmed == name || trimmed.empty()) return false;
    return findExactOrNoCase(dirfd, trimmed, actual, st);
}

// Opens the subfolder `name` of `dirfd` without following a link. A folder
// that may be passed but not read is opened as a path handle, enough to
// reach what lies below it.
int openSubfolder(int dirfd, const std::string& name, const std::string& trimmed) {
    int fd = ::openat(dirfd, name.c_str(), kDirFlags);
    if (fd < 0 && errno == EACCES)
        fd = ::openat(dirfd, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0 || errno != ENOENT) return fd;
    std::string actual;
    struct stat st;
    if (!findEntry(dirfd, name, trimmed, actual, st)) {
        errno = ENOENT;
        return -1;
    }
    if (!S_ISDIR(st.st_mode) || actual == name) {
        // Another spelling names a file: the folder is not missing, and
        // creating it would make a second name differing only in case.
        errno = ENOTDIR;
        return -1;
    }
    return openSubfolder(dirfd, actual, actual);
}

// Windows drops one trailing "." of a path component, and every trailing
// "." and " " of the last one; "..." and longer runs of dots stay.
std::string windowsSpelling(const std::string& part, bool last) {
    if (part.find_first_not_of('.') == std::string::npos) return part;
    std::string out = part;
    if (last) {
        while (!out.empty() && (out.back() == '.' || out.back() == ' ')) out.pop_back();
    } else if (out.size() >= 2 && out.back() == '.' && out[out.size() - 2] != '.') {
        out.pop_back();
    }
    return out;
}

std::string cacheKey(const std::vector<DriveMapping>& drives, std::size_t drive,
                     const std::vector<std::string>& parts, std::size_t count) {
    std::string key(1, drives[drive].letter);
    key += ':';
    for (std::size_t i = 0; i < count; ++i) {
        key += '\\';
        key += parts[i];
    }
    return key;
}

std::vector<std::string> splitHostPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i < path.size()) {
        std::size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    return parts;
}

bool ownerCannotWrite(const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; }

bool writeAll(int fd, const char* data, std::size_t length) {
    while (length > 0) {
        ssize_t n = ::write(fd, data, length);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

// Opens `name` in `dirfd` for `access` without following a link and fills
// `st` from the open file; -1 unless it is a regular file. O_NONBLOCK:
// should the name have become a pipe meanwhile, the open must not hang; the
// fstat then refuses it. The descriptor stays non-blocking.
int openRegularFile(int dirfd, const std::string& name, int access, struct stat& st) {
    Fd fd(::openat(dirfd, name.c_str(), access | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0 || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return fd.release();
}

std::string defaultTempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp && *tmp == '/') ? tmp : "/tmp";
    // The Windows name must be reachable without following a link, so the
    // folder is named by its real path.
    if (char* real = ::realpath(folder.c_str(), nullptr)) {
        folder = real;
        std::free(real);
    }
    return folder;
}

// What a listing needs of an entry, from statx where the kernel has it
// (it knows the birth time on most file systems), else from fstatat, whose
// status-change time is then the nearest thing to a creation time.
struct EntryStat {
    mode_t mode = 0;
    std::uint64_t size = 0;
    std::uint64_t dev = 0;
    struct timespec created {};
    struct timespec accessed {};
    struct timespec written {};
};

bool statEntry(int dirfd, const char* name, EntryStat& out) {
    const int flags = AT_SYMLINK_NOFOLLOW | (*name ? 0 : AT_EMPTY_PATH);
#ifdef STATX_BTIME
    struct statx sx;
    if (::statx(dirfd, name, flags, STATX_BASIC_STATS | STATX_BTIME, &sx) == 0) {
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
    if (::fstatat(dirfd, name, &st, flags) != 0) return false;
    out.mode = st.st_mode;
    out.size = static_cast<std::uint64_t>(st.st_size);
    out.dev = (static_cast<std::uint64_t>(major(st.st_dev)) << 32) | minor(st.st_dev);
    out.accessed = st.st_atim;
    out.written = st.st_mtim;
    out.created = st.st_ctim;
    return true;
}

// Names a listing passes over: "." and "..", and a name holding "\", which
// cannot be written as a Windows path (a path built from it would name
// something else).
bool listable(const char* name) {
    return !isDotOrDotDot(name) && *name && !std::strchr(name, '\\');
}

// Fills the attributes, size and times of a listed entry (its name is set)
// from its status; `folder` is the status of the folder holding it, when known.
void describe(const EntryStat& st, const EntryStat* folder, LocalTimeConverter& times,
              DirEntry& entry) {
    std::uint32_t attr = 0;
    entry.size = 0;
    if (S_ISDIR(st.mode)) {
        attr |= kAttrDirectory;
        // A folder on another file system is a mount point: reported as
        // a reparse point, so walks stay on the file system they began.
        if (folder && st.dev != folder->dev) attr |= kAttrReparsePoint;
    } else if (S_ISREG(st.mode)) {
        attr |= kAttrArchive;
        entry.size = st.size;
    } else if (S_ISLNK(st.mode)) {
        attr |= kAttrReparsePoint;
    } else {
        attr |= kAttrSystem;  // device, pipe or socket
    }
    if (!S_ISLNK(st.mode) && (st.mode & S_IWUSR) == 0) attr |= kAttrReadOnly;
    if (entry.name[0] == '.') attr |= kAttrHidden;
    entry.attributes = attr;
    entry.creationTime = times.convert(st.created.tv_sec, st.created.tv_nsec);
    entry.lastAccessTime = times.convert(st.accessed.tv_sec, st.accessed.tv_nsec);
    entry.lastWriteTime = times.convert(st.written.tv_sec, st.written.tv_nsec);
    entry.detailsMissing = false;
}

// Overwrites stream through the page cache behind a short window: each
// write starts its own write-back at once, so the disk works while the next
// buffer is filled, and the part written kWriteBehind earlier is waited for
// and dropped from the cache. The flush then finds little left to do, the
// wiped data does not push the user's cached files out, and the truncation
// has no pages to drop.
class PosixOverwriteFile : public OverwriteFile {
public:
    explicit PosixOverwriteFile(int fd) : fd_(fd) {}
    ~PosixOverwriteFile() override { close(); }

    std::uint64_t size() override {
        struct stat st;
        if (fd_ < 0 || ::fstat(fd_, &st) != 0) return 0;
        return static_cast<std::uint64_t>(st.st_size);
    }
    bool seekToStart() override {
        if (fd_ < 0 || ::lseek(fd_, 0, SEEK_SET) != 0) return false;
        written_ = settled_ = 0;
        return true;
    }
    bool write(const void* data, std::size_t length) override {
        if (fd_ < 0 || !writeAll(fd_, static_cast<const char*>(data), length)) return false;
        const off_t start = written_;
        written_ += static_cast<off_t>(length);
        return !writeBehind_ || writeBehind(start);
    }
    bool flush() override {
        if (fd_ < 0 || ::fdatasync(fd_) != 0) return false;
        if (writeBehind_) ::posix_fadvise(fd_, 0, 0, POSIX_FADV_DONTNEED);
        settled_ = written_;
        return true;
    }
    bool truncate() override { return fd_ >= 0 && ::ftruncate(fd_, 0) == 0; }
    bool close() override {
        if (fd_ < 0) return false;
        int rc = ::close(fd_);
        fd_ = -1;
        return rc == 0;
    }

private:
    static constexpr off_t kWriteBehind = off_t(4) << 20;

    bool writeBehind(off_t start) {
        if (::sync_file_range(fd_, start, written_ - start, SYNC_FILE_RANGE_WRITE) != 0)
            return stopWriteBehind();
        const off_t upto = written_ - kWriteBehind;
        if (upto <= settled_) return true;
        // A write-back error is reported here and then no longer by the
        // flush, so it must fail the write.
        if (::sync_file_range(fd_, settled_, upto - settled_,
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                                  SYNC_FILE_RANGE_WAIT_AFTER) != 0)
            return stopWriteBehind();
        ::posix_fadvise(fd_, settled_, upto - settled_, POSIX_FADV_DONTNEED);
        settled_ = upto;
        return true;
    }
    // Where the file system does not support the call, the flush alone
    // carries the data to the disk; any other failure is the disk's.
    bool stopWriteBehind() {
        if (errno != EINVAL && errno != ENOSYS && errno != ESPIPE) return false;
        writeBehind_ = false;
        return true;
    }

    int fd_;
    off_t written_ = 0;
    off_t settled_ = 0;
    bool writeBehind_ = true;
};

}  // namespace

SystemTime LocalTimeConverter::convert(std::int64_t seconds, long nanoseconds) {
    const std::int64_t bucket = floorDiv(seconds, 900);
    Slot& slot = slots_[static_cast<std::size_t>(bucket) & 15];
    if (slot.bucket != bucket) {
        time_t t = static_cast<time_t>(seconds);
        struct tm tm;
        if (!::localtime_r(&t, &tm)) return SystemTime{};
        slot.bucket = bucket;
        slot.offset = tm.tm_gmtoff;
    }
    const std::int64_t local = seconds + slot.offset;
    const std::int64_t days = floorDiv(local, 86400);
    const std::int64_t secs = local - days * 86400;
    // Civil date from a day count (days since 1970-01-01).
    const std::int64_t z = days + 719468;
    const std::int64_t era = floorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    // FILETIME starts in 1601; anything outside SYSTEMTIME's range is no date.
    if (year < 1601 || year > 30827) return SystemTime{};
    SystemTime out;
    out.year = static_cast<std::uint16_t>(year);
    out.month = static_cast<std::uint16_t>(month);
    out.day = static_cast<std::uint16_t>(day);
    out.dayOfWeek = static_cast<std::uint16_t>(days - floorDiv(days + 4, 7) * 7 + 4);
    out.hour = static_cast<std::uint16_t>(secs / 3600);
    out.minute = static_cast<std::uint16_t>(secs / 60 % 60);
    out.second = static_cast<std::uint16_t>(secs % 60);
    long ms = nanoseconds / 1000000;
    out.milliseconds = static_cast<std::uint16_t>(ms < 0 ? 0 : (ms > 999 ? 999 : ms));
    return out;
}

PosixFiles::PosixFiles(PosixFilesConfig config) : config_(std::move(config)) {
    for (auto& d : config_.drives) {
        d.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(d.letter)));
        while (d.hostRoot.size() > 1 && d.hostRoot.back() == '/') d.hostRoot.pop_back();
    }
    if (config_.tempFolder.empty()) config_.tempFolder = defaultTempFolder();
}

PosixFiles::~PosixFiles() = default;

std::string userHomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return home;
    if (passwd* pw = ::getpwuid(::getuid())) {
        if (pw->pw_dir && *pw->pw_dir == '/') return pw->pw_dir;
    }
    return "/";
}

std::vector<DriveMapping> PosixFiles::defaultDriveMap() {
    return {DriveMapping{'C', userHomeFolder(), kDriveFixed}, DriveMapping{'Z', "/", kDriveRemote}};
}

bool PosixFiles::parse(const std::string& path, ParsedPath& out) const {
    // Only "X:\..." (or "X:/..."): a drive-relative, relative or UNC path
    // has no meaning here and is refused rather than guessed at.
    if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return false;
    if (path.find('\0') != std::string::npos) return false;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    if (letter < 'A' || letter > 'Z') return false;
    auto it = std::find_if(config_.drives.begin(), config_.drives.end(),
                           [letter](const DriveMapping& d) { return d.letter == letter; });
    if (it == config_.drives.end()) return false;
    out.drive = static_cast<std::size_t>(it - config_.drives.begin());
    out.parts.clear();
    out.trimmed.clear();
    // "." and ".." are resolved on the text, as Windows does, never above
    // the drive root.
    std::size_t i = 3;
    while (i <= path.size()) {
        std::size_t j = path.find_first_of("\\/", i);
        if (j == std::string::npos) j = path.size();
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!out.parts.empty()) {
                out.parts.pop_back();
                out.trimmed.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            out.trimmed.push_back(windowsSpelling(part, j == path.size()));
            out.parts.push_back(std::move(part));
        }
        i = j + 1;
    }
    const char lastChar = path.back();
    out.trailingSeparator = lastChar == '\\' || lastChar == '/';
    return true;
}

bool PosixFiles::parseFile(const std::string& path, ParsedPath& out) const {
    return parse(path, out) && !out.parts.empty() && !out.trailingSeparator;
}

PosixFiles::DirRef PosixFiles::openDriveRoot(std::size_t drive) const {
    // The drive root itself may be reached through a link (a home folder
    // on another disk); nothing below it is.
    int fd = ::open(config_.drives[drive].hostRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return std::make_shared<DirHandle>(fd);
}

PosixFiles::DirRef PosixFiles::openFolder(const ParsedPath& path, std::size_t count) {
    std::vector<std::string> keys;
    keys.reserve(count + 1);
    for (std::size_t i = 0; i <= count; ++i)
        keys.push_back(cacheKey(config_.drives, path.drive, path.parts, i));

    // Start from the deepest cached folder on the way. A cached folder that
    // has been removed since (no links left) is dropped.
    DirRef dir;
    std::size_t start = 0;
    {
        std::lock_guard<std::mutex> lock(cacheMutex_);
        for (std::size_t n = count + 1; n-- > 0 && !dir;) {
            for (auto it = cache_.begin(); it != cache_.end(); ++it) {
                if (it->key != keys[n]) continue;
                struct stat st;
                if (::fstat(it->dir->fd, &st) == 0 && st.st_nlink > 0) {
                    dir = it->dir;
                    start = n;
                    if (it != cache_.begin()) std::rotate(cache_.begin(), it, it + 1);
                } else {
                    cache_.erase(it);
                }
                break;
            }
        }
    }
    if (dir && start == count) return dir;
    if (!dir) {
        dir = openDriveRoot(path.drive);
        if (!dir) return nullptr;
    }
    for (std::size_t i = start; i < count; ++i) {
        int fd = openSubfolder(dir->fd, path.parts[i], path.trimmed[i]);
        if (fd < 0) return nullptr;
        dir = std::make_shared<DirHandle>(fd);
    }
    remember(keys[count], dir);
    return dir;
}

void PosixFiles::remember(const std::string& key, const DirRef& dir) {
    std::lock_guard<std::mutex> lock(cacheMutex_);
    auto it = std::find_if(cache_.begin(), cache_.end(),
                           [&](const CacheEntry& e) { return e.key == key; });
    if (it != cache_.end()) cache_.erase(it);
    cache_.insert(cache_.begin(), CacheEntry{key, dir});
    if (cache_.size() > kCacheSize) cache_.pop_back();
}

void PosixFiles::forgetAll() {
    std::lock_guard<std::mutex> lock(cacheMutex_);
    cache_.clear();
    listed_ = CacheEntry{};
}

namespace {
bool typeNeedsNoLookUp(unsigned char type) {
    switch (type) {
        case DT_REG:
        case DT_LNK:
        case DT_FIFO:
        case DT_CHR:
        case DT_BLK:
        case DT_SOCK:
            return true;
        default:
            return false;
    }
}
}  // namespace

bool PosixFiles::listFolder(const std::string& folder, std::vector<DirEntry>& entries) {
    return readFolder(folder, false, entries);
}

bool PosixFiles::listFolderTypes(const std::string& folder, std::vector<DirEntry>& entries) {
    return readFolder(folder, true, entries);
}

// With typesOnly, files, links and special files take what readdir's type
// tells and are marked as lacking details; folders and unknown types are
// always looked up (a folder needs its device to tell a mount point).
bool PosixFiles::readFolder(const std::string& folder, bool typesOnly,
                            std::vector<DirEntry>& entries) {
    entries.clear();
    ParsedPath path;
    if (!parse(folder, path)) return false;
    DirRef dir = openFolder(path);
    if (!dir) return false;
    int fd = reopenForReading(dir->fd);
    if (fd < 0) return false;
    DIR* stream = ::fdopendir(fd);
    if (!stream) {
        ::close(fd);
        return false;
    }
    EntryStat self;
    const bool haveSelf = statEntry(fd, "", self);
    LocalTimeConverter times;
    while (dirent* e = ::readdir(stream)) {
        if (!listable(e->d_name)) continue;
        DirEntry entry;
        entry.name = e->d_name;
        if (typesOnly && typeNeedsNoLookUp(e->d_type)) {
            if (e->d_type == DT_LNK) entry.attributes |= kAttrReparsePoint;
            if (e->d_name[0] == '.') entry.attributes |= kAttrHidden;
            entry.detailsMissing = true;
        } else {
            EntryStat st;
            if (!statEntry(fd, e->d_name, st)) continue;  // gone meanwhile
            describe(st, haveSelf ? &self : nullptr, times, entry);
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(stream);
    if (typesOnly) {
        std::lock_guard<std::mutex> lock(cacheMutex_);
        listed_ = CacheEntry{folder, dir};
    }
    return true;
}

bool PosixFiles::entryDetails(const std::string& folder, DirEntry& entry) {
    if (!entry.detailsMissing) return true;
    if (!listable(entry.name.c_str()) || entry.name.find('/') != std::string::npos) return false;
    DirRef dir;
    {
        std::lock_guard<std::mutex> lock(cacheMutex_);
        if (listed_.dir && listed_.key == folder) dir = listed_.dir;
    }
    if (!dir) {
        ParsedPath path;
        if (!parse(folder, path)) return false;
        dir = openFolder(path);
        if (!dir) return false;
    }
    EntryStat st;
    if (!statEntry(dir->fd, entry.name.c_str(), st)) return false;
    EntryStat self;
    // Only a folder (the entry changed its type since the listing) needs
    // the device of the folder holding it.
    const bool haveSelf = S_ISDIR(st.mode) && statEntry(dir->fd, "", self);
    std::lock_guard<std::mutex> lock(cacheMutex_);
    describe(st, haveSelf ? &self : nullptr, detailTimes_, entry);
    return true;
}

PosixFiles::DirRef PosixFiles::findFile(const std::string& path, std::string& name,
                                        struct stat& st) {
    ParsedPath p;
    if (!parseFile(path, p)) return nullptr;
    DirRef dir = openFolder(p, p.parts.size() - 1);
    if (!dir || !findEntry(dir->fd, p.parts.back(), p.trimmed.back(), name, st)) return nullptr;
    return dir;
}

bool PosixFiles::deleteFile(const std::string& path) {
    std::string name;
    struct stat st;
    DirRef dir = findFile(path, name, st);
    if (!dir || S_ISDIR(st.st_mode)) return false;
    // DeleteFile refuses a read-only file.
    if (!S_ISLNK(st.st_mode) && ownerCannotWrite(st)) return false;
    // Flags 0: unlinkat never removes a folder, even one swapped in since.
    return ::unlinkat(dir->fd, name.c_str(), 0) == 0;
}

bool PosixFiles::createFolder(const std::string& path) {
    ParsedPath p;
    if (!parse(path, p)) return false;
    forgetAll();
    DirRef dir = openDriveRoot(p.drive);
    if (!dir) return false;
    for (std::size_t i = 0; i < p.parts.size(); ++i) {
        int fd = openSubfolder(dir->fd, p.parts[i], p.trimmed[i]);
        if (fd < 0 && errno == ENOENT) {
            // A new folder gets the name Windows would give it.
            const std::string& name = p.trimmed[i].empty() ? p.parts[i] : p.trimmed[i];
            if (::mkdirat(dir->fd, name.c_str(), 0777) != 0 && errno != EEXIST) return false;
            fd = openSubfolder(dir->fd, name, name);
        }
        if (fd < 0) return false;
        dir = std::make_shared<DirHandle>(fd);
    }
    return true;
}

bool PosixFiles::fileExists(const std::string& path) {
    std::string name;
    struct stat st;
    return findFile(path, name, st) && !S_ISDIR(st.st_mode);
}

bool PosixFiles::folderExists(const std::string& path) {
    ParsedPath p;
    if (!parse(path, p)) return false;
    return openFolder(p) != nullptr;
}

bool PosixFiles::readFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::string name;
    struct stat st;
    DirRef dir = findFile(path, name, st);
    if (!dir || !S_ISREG(st.st_mode)) return false;
    Fd fd(openRegularFile(dir->fd, name, O_RDONLY, st));
    if (fd.get() < 0) return false;
    std::string data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) break;
        data.append(buffer, static_cast<std::size_t>(n));
    }
    bytes.swap(data);
    return true;
}

bool PosixFiles::writeFileAtomic(const std::string& path, const std::string& bytes) {
    ParsedPath p;
    if (!parseFile(path, p)) return false;
    DirRef dir = openFolder(p, p.parts.size() - 1);
    if (!dir) return false;
    // Replace the existing file under its own spelling rather than create a
    // second one differing in case.
    std::string name = p.trimmed.back().empty() ? p.parts.back() : p.trimmed.back();
    struct stat st;
    mode_t mode = 0666;
    std::string existing;
    if (findEntry(dir->fd, p.parts.back(), p.trimmed.back(), existing, st)) {
        if (S_ISDIR(st.st_mode)) return false;
        if (S_ISREG(st.st_mode)) {
            if (ownerCannotWrite(st)) return false;  // as MoveFileEx over a read-only file
            mode = st.st_mode & 07777;
        }
        name = existing;
    }

    std::random_device random;
    std::string temp;
    Fd fd;
    for (int attempt = 0; attempt < 16 && fd.get() < 0; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(random()));
        temp = "~" + name + suffix;
        fd.reset(::openat(dir->fd, temp.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd.get() < 0 && errno != EEXIST) return false;
    }
    if (fd.get() < 0) return false;
    bool ok = (mode == 0666 || ::fchmod(fd.get(), mode) == 0) &&
              writeAll(fd.get(), bytes.data(), bytes.size()) && ::fsync(fd.get()) == 0;
    ok = (::close(fd.release()) == 0) && ok;
    if (ok) ok = ::renameat(dir->fd, temp.c_str(), dir->fd, name.c_str()) == 0;
    if (!ok) {
        ::unlinkat(dir->fd, temp.c_str(), 0);
        return false;
    }
    // Make the rename itself durable.
    Fd sync(reopenForReading(dir->fd));
    if (sync.get() >= 0) ::fsync(sync.get());
    return true;
}

bool PosixFiles::fileSize(const std::string& path, std::uint64_t& size) {
    std::string name;
    struct stat st;
    if (!findFile(path, name, st) || S_ISDIR(st.st_mode)) return false;
    size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    return true;
}

bool PosixFiles::renameFile(const std::string& from, const std::string& to) {
    ParsedPath src, dst;
    if (!parseFile(from, src) || !parseFile(to, dst) || src.drive != dst.drive) return false;
    DirRef srcDir = openFolder(src, src.parts.size() - 1);
    DirRef dstDir = openFolder(dst, dst.parts.size() - 1);
    if (!srcDir || !dstDir) return false;
    std::string srcName, dstName;
    struct stat srcSt, dstSt;
    if (!findEntry(srcDir->fd, src.parts.back(), src.trimmed.back(), srcName, srcSt)) return false;
    const std::string target = dst.trimmed.back().empty() ? dst.parts.back() : dst.trimmed.back();
    // The target exists when any spelling of it does, except that a file may
    // be renamed to another spelling of its own name (or to itself, which
    // changes nothing).
    if (findEntry(dstDir->fd, dst.parts.back(), dst.trimmed.back(), dstName, dstSt)) {
        const bool sameEntry =
            dstSt.st_dev == srcSt.st_dev && dstSt.st_ino == srcSt.st_ino && dstName == srcName;
        if (!sameEntry) return false;
        if (target == srcName) return true;
    }
    forgetAll();
    if (::renameat2(srcDir->fd, srcName.c_str(), dstDir->fd, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without RENAME_NOREPLACE: a hard link fails on an
    // existing target just as well. Folders cannot be linked; for them the
    // check above has to do.
    if (S_ISDIR(srcSt.st_mode))
        return ::renameat(srcDir->fd, srcName.c_str(), dstDir->fd, target.c_str()) == 0;
    if (::linkat(srcDir->fd, srcName.c_str(), dstDir->fd, target.c_str(), 0) != 0) return false;
    return ::unlinkat(srcDir->fd, srcName.c_str(), 0) == 0;
}

std::unique_ptr<OverwriteFile> PosixFiles::openForOverwrite(const std::string& path) {
    std::string name;
    struct stat st;
    DirRef dir = findFile(path, name, st);
    if (!dir || !S_ISREG(st.st_mode)) return nullptr;
    Fd fd(openRegularFile(dir->fd, name, O_WRONLY, st));
    if (fd.get() < 0) return nullptr;
    // A read-only file is not writable on Windows, whatever the caller's
    // rights. A file with a second hard link is refused too: the content
    // another name still shows is not ours to destroy.
    if (ownerCannotWrite(st) || st.st_nlink > 1) return nullptr;
    int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    return std::make_unique<PosixOverwriteFile>(fd.release());
}

std::uint32_t PosixFiles::logicalDrives() {
    std::uint32_t mask = 0;
    for (const auto& d : config_.drives) {
        struct stat st;
        if (d.letter >= 'A' && d.letter <= 'Z' && ::stat(d.hostRoot.c_str(), &st) == 0 &&
            S_ISDIR(st.st_mode))
            mask |= 1u << (d.letter - 'A');
    }
    return mask;
}

std::uint32_t PosixFiles::driveType(const std::string& root) {
    // "X:\" or "X:"; like Wine's GetDriveType, a longer path on the drive
    // ("C:\Windows\") gives the type of its drive.
    if (root.size() < 2 || root[1] != ':') return kDriveNoRootDir;
    if (root.size() >= 3 && root[2] != '\\' && root[2] != '/') return kDriveNoRootDir;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
    for (const auto& d : config_.drives) {
        if (d.letter != letter) continue;
        struct stat st;
        if (::stat(d.hostRoot.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return kDriveNoRootDir;
        return d.type;
    }
    return kDriveNoRootDir;
}

std::string PosixFiles::windowsFolder() {
    std::string folder = config_.windowsFolder;
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::string PosixFiles::tempPath() {
    // A temp folder outside every drive has no Windows name; the empty text
    // then makes "%TEMP%" templates name nothing at all.
    std::string path = toWindowsPath(config_.tempFolder);
    if (path.empty()) return path;
    if (path.back() != '\\') path += '\\';
    return path;
}

std::string PosixFiles::toWindowsPath(const std::string& hostPath) const {
    if (hostPath.empty() || hostPath[0] != '/') return {};
    const std::vector<std::string> parts = splitHostPath(hostPath);
    const DriveMapping* best = nullptr;
    std::size_t bestLength = 0;
    for (const auto& d : config_.drives) {
        if (d.hostRoot.empty() || d.hostRoot[0] != '/') continue;
        const std::vector<std::string> rootParts = splitHostPath(d.hostRoot);
        if (rootParts.size() > parts.size() || (best && rootParts.size() <= bestLength)) continue;
        if (!std::equal(rootParts.begin(), rootParts.end(), parts.begin())) continue;
        best = &d;
        bestLength = rootParts.size();
    }
    if (!best) return {};
    std::string out(1, best->letter);
    out += ":\\";
    for (std::size_t i = bestLength; i < parts.size(); ++i) {
        if (parts[i].find('\\') != std::string::npos) return {};
        if (i > bestLength) out += '\\';
        out += parts[i];
    }
    return out;
}

bool PosixFiles::toHostPath(const std::string& windowsPath, std::string& host) const {
    ParsedPath p;
    if (!parse(windowsPath, p)) return false;
    std::string out = config_.drives[p.drive].hostRoot;
    for (const std::string& part : p.parts) {
        if (out.empty() || out.back() != '/') out += '/';
        out += part;
    }
    host = out;
    return true;
}

}  // namespace cindral::platform
