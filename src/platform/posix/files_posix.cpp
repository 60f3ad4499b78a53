#include "platform/posix/files_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/posix/durable_write.h"
#include "platform/posix/entry_status.h"
#include "platform/posix/file_descriptor.h"
#include "platform/posix/folder_lookup.h"
#include "platform/posix/overwrite_file_posix.h"

namespace cindral::platform {
namespace {

FolderRef shared(UniqueFd fd) {
    if (!fd) return nullptr;
    return std::make_shared<UniqueFd>(std::move(fd));
}

// Names the folder of the first `count` parts for the folder cache.
std::string cacheKey(char letter, const std::vector<std::string>& parts, std::size_t count) {
    std::string key(1, letter);
    key += ':';
    for (std::size_t i = 0; i < count; ++i) {
        key += '\\';
        key += parts[i];
    }
    return key;
}

bool ownerCannotWrite(const struct stat& st) { return (st.st_mode & S_IWUSR) == 0; }

// Opens `name` in `dir` for `access` without following a link and fills
// `st` from the open file; nothing unless it is a regular file. O_NONBLOCK:
// should the name have become a pipe meanwhile, the open must not hang; the
// fstat then refuses it. The descriptor stays non-blocking.
UniqueFd openRegularFile(int dir, const std::string& name, int access, struct stat& st) {
    UniqueFd fd(::openat(dir, name.c_str(), access | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return UniqueFd();
    return fd;
}

// The name a new entry gets: the one Windows would give it.
const std::string& newName(const WindowsPath& path, std::size_t i) {
    return path.trimmed[i].empty() ? path.parts[i] : path.trimmed[i];
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

}  // namespace

std::string userHomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home == '/') return home;
    if (passwd* pw = ::getpwuid(::getuid())) {
        if (pw->pw_dir && *pw->pw_dir == '/') return pw->pw_dir;
    }
    return "/";
}

PosixFiles::PosixFiles(PosixFilesConfig config)
    : drives_(std::move(config.drives)),
      windowsFolder_(std::move(config.windowsFolder)),
      tempFolder_(config.tempFolder.empty() ? defaultTempFolder() : std::move(config.tempFolder)) {}

PosixFiles::~PosixFiles() = default;

std::vector<DriveMapping> PosixFiles::defaultDriveMap() {
    return {DriveMapping{'C', userHomeFolder(), kDriveFixed}, DriveMapping{'Z', "/", kDriveRemote}};
}

FolderRef PosixFiles::openDriveRoot(std::size_t drive) const {
    // The drive root itself may be reached through a link (a home folder
    // on another disk); nothing below it is.
    return shared(UniqueFd(
        ::open(drives_.drives()[drive].hostRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)));
}

FolderRef PosixFiles::openFolder(const WindowsPath& path, std::size_t count, bool checked) {
    const char letter = drives_.drives()[path.drive].letter;
    std::vector<std::string> keys;
    keys.reserve(count + 1);
    for (std::size_t i = 0; i <= count; ++i) keys.push_back(cacheKey(letter, path.parts, i));

    // Start from the deepest cached folder on the way.
    std::size_t start = 0;
    FolderRef dir = folders_.deepest(keys, start, checked);
    if (dir && start == count) return dir;
    if (!dir) {
        dir = openDriveRoot(path.drive);
        if (!dir) return nullptr;
    }
    for (std::size_t i = start; i < count; ++i) {
        dir = shared(openSubfolder(dir->get(), path.parts[i], path.trimmed[i]));
        if (!dir) return nullptr;
    }
    folders_.remember(keys[count], dir);
    return dir;
}

bool PosixFiles::listFolder(const std::string& folder, std::vector<DirEntry>& entries) {
    return readFolder(folder, false, entries);
}

bool PosixFiles::listFolderTypes(const std::string& folder, std::vector<DirEntry>& entries) {
    return readFolder(folder, true, entries);
}

bool PosixFiles::spelledOnce(const WindowsPath& path, std::size_t count) {
    const char letter = drives_.drives()[path.drive].letter;
    std::vector<std::uint64_t> clashing;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string key = cacheKey(letter, path.parts, i);
        if (!clashes_.known(key, clashing)) {
            FolderRef parent = i == 0 ? openDriveRoot(path.drive) : openFolder(path, i);
            DirStream names = parent ? readEntries(reopenForReading(parent->get())) : DirStream();
            // In a folder that may be passed but not read, a name is found
            // only as it is written: there is nothing to confuse it with.
            if (!names) continue;
            CaseClashes::Finder finder;
            while (const dirent* e = ::readdir(names.get())) {
                if (!isDotOrDotDot(e->d_name)) finder.add(e->d_name);
            }
            clashing = finder.clashing();
            clashes_.remember(key, clashing);
        }
        for (const std::string* name : {&path.parts[i], &path.trimmed[i]}) {
            const std::uint64_t hash = CaseClashes::foldedHash(*name);
            if (!name->empty() &&
                std::find(clashing.begin(), clashing.end(), hash) != clashing.end())
                return false;
        }
    }
    return true;
}

// With typesOnly, files, links and special files take what readdir's type
// tells and are marked as lacking details; folders and unknown types are
// always looked up (a folder needs its device to tell a mount point).
//
// The folder is opened afresh relative to its (cached) parent and read with
// getdents64 before anyone else can use the descriptor, so its file position
// is ours: one open per folder, and no stream to set up. The parent comes
// from the cache unchecked; should it have been removed since, the open
// fails with ENOENT and the parent is looked up again. The folder's own
// status is looked up only when it holds a folder.
bool PosixFiles::readFolder(const std::string& folder, bool typesOnly,
                            std::vector<DirEntry>& entries) {
    entries.clear();
    WindowsPath path;
    if (!drives_.parse(folder, path)) return false;
    const std::size_t count = path.parts.size();
    FolderRef dir;
    if (count == 0) {
        dir = openDriveRoot(path.drive);
    } else {
        for (const bool checked : {false, true}) {
            errno = 0;
            if (FolderRef parent = openFolder(path, count - 1, checked))
                dir = shared(openSubfolder(parent->get(), path.parts.back(), path.trimmed.back()));
            if (dir || errno != ENOENT) break;
        }
    }
    if (!dir) return false;
    // A walk lists a folder to erase in it: of two folders that differ only
    // in case, the path (upper-cased by the run) may name the one the user
    // did not choose, so neither is listed.
    if (!spelledOnce(path, count)) {
        errno = ENOTUNIQ;
        return false;
    }
    const int fd = dir->get();
    EntryStat self;
    bool selfLooked = false, haveSelf = false;
    LocalTimeConverter times;
    CaseClashes::Finder names;
    alignas(dirent64) char buffer[32768];
    for (;;) {
        const ssize_t n = ::getdents64(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* e = reinterpret_cast<const dirent64*>(buffer + at);
            at += e->d_reclen;
            if (!isDotOrDotDot(e->d_name)) names.add(e->d_name);
            if (!listable(e->d_name)) continue;
            DirEntry entry;
            entry.name = e->d_name;
            if (!typesOnly || !describeByType(e->d_type, entry)) {
                EntryStat st;
                if (!statEntry(fd, e->d_name, st)) continue;  // gone meanwhile
                if (!hasWindowsKind(st.mode)) continue;
                if (S_ISDIR(st.mode) && !selfLooked) {
                    selfLooked = true;
                    haveSelf = statEntry(fd, "", self);
                }
                describe(st, haveSelf ? &self : nullptr, &times, entry);
            }
            entries.push_back(std::move(entry));
        }
    }
    const std::string key = cacheKey(drives_.drives()[path.drive].letter, path.parts, count);
    clashes_.remember(key, names.clashing());
    folders_.rememberListed(folder, key, dir);
    return true;
}

bool PosixFiles::entryDetails(const std::string& folder, DirEntry& entry) {
    return completeEntry(folder, entry, true);
}

bool PosixFiles::entryAttributes(const std::string& folder, DirEntry& entry) {
    return completeEntry(folder, entry, false);
}

bool PosixFiles::completeEntry(const std::string& folder, DirEntry& entry, bool withTimes) {
    if (!entry.detailsMissing) return true;
    if (!listable(entry.name.c_str()) || entry.name.find('/') != std::string::npos) return false;
    FolderRef dir = folders_.listed(folder);
    if (!dir) {
        WindowsPath path;
        if (!drives_.parse(folder, path)) return false;
        dir = openFolder(path);
        if (!dir) return false;
    }
    EntryStat st;
    if (!statEntry(dir->get(), entry.name.c_str(), st) || !hasWindowsKind(st.mode)) return false;
    EntryStat self;
    // Only a folder (the entry changed its type since the listing) needs
    // the device of the folder holding it.
    const bool haveSelf = S_ISDIR(st.mode) && statEntry(dir->get(), "", self);
    if (!withTimes) {
        describe(st, haveSelf ? &self : nullptr, nullptr, entry);
        return true;
    }
    std::lock_guard<std::mutex> lock(detailTimesMutex_);
    describe(st, haveSelf ? &self : nullptr, &detailTimes_, entry);
    return true;
}

FolderRef PosixFiles::findFile(const std::string& path, std::string& name, struct stat& st) {
    WindowsPath p;
    if (!drives_.parseFile(path, p)) return nullptr;
    FolderRef dir = openFolder(p, p.parts.size() - 1);
    if (!dir || !findEntry(dir->get(), p.parts.back(), p.trimmed.back(), name, st)) return nullptr;
    return dir;
}

// A refusal of this backend's own, where no system call failed, still gives
// lastErrorText a reason.
bool refuse(int error) {
    errno = error;
    return false;
}

bool PosixFiles::deleteFile(const std::string& path) {
    errno = 0;
    std::string name;
    struct stat st;
    FolderRef dir = findFile(path, name, st);
    if (!dir) return refuse(errno ? errno : ENOENT);
    if (S_ISDIR(st.st_mode)) return refuse(EISDIR);
    if (!hasWindowsKind(st.st_mode)) return refuse(EPERM);
    // DeleteFile refuses a read-only file.
    if (!S_ISLNK(st.st_mode) && ownerCannotWrite(st)) return refuse(EACCES);
    if (S_ISREG(st.st_mode) && heldByOthers(st)) return false;
    // Flags 0: unlinkat never removes a folder, even one swapped in since.
    return ::unlinkat(dir->get(), name.c_str(), 0) == 0;
}

bool PosixFiles::heldByOthers(const struct stat& file) {
    if (!openFiles_.heldByOthers(file.st_dev, file.st_ino)) return false;
    errno = EBUSY;
    return true;
}

bool PosixFiles::createFolder(const std::string& path) {
    WindowsPath p;
    if (!drives_.parse(path, p)) return false;
    folders_.clear();
    clashes_.clear();
    FolderRef dir = openDriveRoot(p.drive);
    if (!dir) return false;
    for (std::size_t i = 0; i < p.parts.size(); ++i) {
        UniqueFd fd = openSubfolder(dir->get(), p.parts[i], p.trimmed[i]);
        if (!fd && errno == ENOENT) {
            const std::string& name = newName(p, i);
            if (::mkdirat(dir->get(), name.c_str(), 0777) != 0 && errno != EEXIST) return false;
            fd = openSubfolder(dir->get(), name, name);
        }
        dir = shared(std::move(fd));
        if (!dir) return false;
    }
    return true;
}

bool PosixFiles::fileExists(const std::string& path) {
    std::string name;
    struct stat st;
    return findFile(path, name, st) && !S_ISDIR(st.st_mode);
}

bool PosixFiles::folderExists(const std::string& path) {
    WindowsPath p;
    return drives_.parse(path, p) && openFolder(p) != nullptr;
}

bool PosixFiles::readFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::string name;
    struct stat st;
    FolderRef dir = findFile(path, name, st);
    if (!dir || !S_ISREG(st.st_mode)) return false;
    UniqueFd fd = openRegularFile(dir->get(), name, O_RDONLY, st);
    return fd && readAll(fd.get(), bytes);
}

bool PosixFiles::writeFileAtomic(const std::string& path, const std::string& bytes) {
    return writeFileAtomicFrom(path, wholeOf(bytes));
}

bool PosixFiles::writeFileAtomicFrom(const std::string& path, const ChunkSource& next) {
    WindowsPath p;
    if (!drives_.parseFile(path, p)) return false;
    FolderRef dir = openFolder(p, p.parts.size() - 1);
    if (!dir) return false;
    // Replace the existing file under its own spelling rather than create a
    // second one differing in case, and keep its permissions.
    std::string name = newName(p, p.parts.size() - 1);
    FileMode mode;
    std::string existing;
    struct stat st;
    if (findEntry(dir->get(), p.parts.back(), p.trimmed.back(), existing, st)) {
        if (S_ISDIR(st.st_mode)) return false;
        if (S_ISREG(st.st_mode)) {
            if (ownerCannotWrite(st)) return false;  // as MoveFileEx over a read-only file
            mode = st.st_mode & 07777;
        }
        name = existing;
    }
    return replaceFile(dir->get(), name, next, mode);
}

bool PosixFiles::fileSize(const std::string& path, std::uint64_t& size) {
    std::string name;
    struct stat st;
    if (!findFile(path, name, st) || S_ISDIR(st.st_mode)) return false;
    size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    return true;
}

bool PosixFiles::renameFile(const std::string& from, const std::string& to) {
    WindowsPath src, dst;
    if (!drives_.parseFile(from, src) || !drives_.parseFile(to, dst) || src.drive != dst.drive)
        return false;
    FolderRef srcDir = openFolder(src, src.parts.size() - 1);
    FolderRef dstDir = openFolder(dst, dst.parts.size() - 1);
    if (!srcDir || !dstDir) return false;
    std::string srcName, dstName;
    struct stat srcSt, dstSt;
    if (!findEntry(srcDir->get(), src.parts.back(), src.trimmed.back(), srcName, srcSt))
        return false;
    const std::string& target = newName(dst, dst.parts.size() - 1);
    // The target exists when any spelling of it does, except that a file may
    // be renamed to another spelling of its own name (or to itself, which
    // changes nothing).
    if (findEntry(dstDir->get(), dst.parts.back(), dst.trimmed.back(), dstName, dstSt)) {
        const bool sameEntry =
            dstSt.st_dev == srcSt.st_dev && dstSt.st_ino == srcSt.st_ino && dstName == srcName;
        if (!sameEntry) return false;
        if (target == srcName) return true;
    }
    folders_.clear();
    clashes_.clear();
    const int srcFd = srcDir->get(), dstFd = dstDir->get();
    if (::renameat2(srcFd, srcName.c_str(), dstFd, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without RENAME_NOREPLACE: a hard link fails on an
    // existing target just as well. Folders cannot be linked; for them the
    // check above has to do.
    if (S_ISDIR(srcSt.st_mode))
        return ::renameat(srcFd, srcName.c_str(), dstFd, target.c_str()) == 0;
    if (::linkat(srcFd, srcName.c_str(), dstFd, target.c_str(), 0) != 0) return false;
    return ::unlinkat(srcFd, srcName.c_str(), 0) == 0;
}

std::unique_ptr<OverwriteFile> PosixFiles::openForOverwrite(const std::string& path) {
    errno = 0;
    std::string name;
    struct stat st;
    FolderRef dir = findFile(path, name, st);
    if (!dir) return refuse(errno ? errno : ENOENT), nullptr;
    if (!S_ISREG(st.st_mode)) return refuse(S_ISDIR(st.st_mode) ? EISDIR : EPERM), nullptr;
    UniqueFd fd = openRegularFile(dir->get(), name, O_WRONLY, st);
    if (!fd) return refuse(errno ? errno : EPERM), nullptr;
    // A read-only file is not writable on Windows, whatever the caller's
    // rights. A file with a second hard link is refused too: the content
    // another name still shows is not ours to destroy.
    if (ownerCannotWrite(st)) return refuse(EACCES), nullptr;
    if (st.st_nlink > 1) return refuse(EMLINK), nullptr;
    if (heldByOthers(st)) return nullptr;
    const int flags = ::fcntl(fd.get(), F_GETFL);
    if (flags >= 0) ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK);
    return std::make_unique<PosixOverwriteFile>(std::move(fd));
}

std::string PosixFiles::lastErrorText() {
    const int error = errno;
    if (error == 0) return std::string();
    char buffer[256];
    // The GNU strerror_r: thread-safe, and it returns the text to use.
    return ::strerror_r(error, buffer, sizeof buffer);
}

std::uint32_t PosixFiles::logicalDrives() {
    std::uint32_t mask = 0;
    for (const auto& d : drives_.drives()) {
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
    const DriveMapping* d = drives_.find(root[0]);
    struct stat st;
    if (!d || ::stat(d->hostRoot.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return kDriveNoRootDir;
    return d->type;
}

std::string PosixFiles::windowsFolder() {
    std::string folder = windowsFolder_;
    while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    return folder;
}

std::string PosixFiles::tempPath() {
    // A temp folder outside every drive has no Windows name; the empty text
    // then makes "%TEMP%" templates name nothing at all.
    std::string path = toWindowsPath(tempFolder_);
    if (path.empty()) return path;
    if (path.back() != '\\') path += '\\';
    return path;
}

std::string PosixFiles::toWindowsPath(const std::string& hostPath) const {
    return drives_.toWindowsPath(hostPath);
}

bool PosixFiles::toHostPath(const std::string& windowsPath, std::string& host) const {
    return drives_.toHostPath(windowsPath, host);
}

}  // namespace cindral::platform
