// Files and drives on Linux. A drive map gives each drive letter a host
// folder; below that folder every path component is looked up without regard
// to case and no symbolic link is ever followed: each component is opened
// relative to its parent's directory handle with O_NOFOLLOW, so a folder
// swapped for a link while the program works cannot redirect an operation.
//
// The pieces: drive_map.h reads Windows paths against the drive map,
// folder_lookup.h finds a name in an open folder, folder_cache.h keeps the
// folders resolved last open, entry_status.h and local_time.h make a
// listing's entries, durable_write.h replaces a file whole and
// overwrite_file_posix.h overwrites one in place, open_files.h tells the files
// other processes hold open.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/posix/drive_map.h"
#include "platform/posix/folder_cache.h"
#include "platform/posix/local_time.h"
#include "platform/posix/open_files.h"

namespace cindral::platform {

// $HOME, else the password database's home folder, else "/".
std::string userHomeFolder();

struct PosixFilesConfig {
    std::vector<DriveMapping> drives;
    std::string windowsFolder;  // a Windows path; empty: the host has none
    std::string tempFolder;     // host folder; empty: $TMPDIR, else /tmp
};

class PosixFiles : public Files {
public:
    explicit PosixFiles(PosixFilesConfig config);
    ~PosixFiles() override;
    PosixFiles(const PosixFiles&) = delete;
    PosixFiles& operator=(const PosixFiles&) = delete;

    // C: = the user's home folder (fixed); Z: = "/" as a remote drive, so a
    // scan of the fixed drives never walks the whole host while every
    // absolute host path still has a Windows name.
    static std::vector<DriveMapping> defaultDriveMap();

    bool listFolder(const std::string& folder, std::vector<DirEntry>& entries) override;
    // Takes the type from the directory entry itself: only folders (whose
    // device tells a mount point) and entries of unknown type are looked up.
    bool listFolderTypes(const std::string& folder, std::vector<DirEntry>& entries) override;
    // Looks the entry up in the folder listFolderTypes opened last when it
    // is the same folder, so a walk does not resolve the path again.
    bool entryDetails(const std::string& folder, DirEntry& entry) override;
    bool entryAttributes(const std::string& folder, DirEntry& entry) override;
    bool deleteFile(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    bool readFile(const std::string& path, std::string& bytes) override;
    bool writeFileAtomic(const std::string& path, const std::string& bytes) override;
    bool writeFileAtomicFrom(const std::string& path, const ChunkSource& next) override;
    bool fileSize(const std::string& path, std::uint64_t& size) override;
    bool renameFile(const std::string& from, const std::string& to) override;
    std::unique_ptr<OverwriteFile> openForOverwrite(const std::string& path) override;
    std::string lastErrorText() override;

    std::uint32_t logicalDrives() override;
    std::uint32_t driveType(const std::string& root) override;
    std::string windowsFolder() override;
    std::string tempPath() override;

    // Also empty when a name contains "\".
    std::string toWindowsPath(const std::string& hostPath) const override;
    // The host path of a Windows path, component by component as written
    // (no case-insensitive look-up); false for relative, UNC or unmapped paths.
    bool toHostPath(const std::string& windowsPath, std::string& host) const;

private:
    // The folder made of the first `count` parts, opened without following
    // links; null when it is missing or not a folder.
    FolderRef openFolder(const WindowsPath& path, std::size_t count, bool checked = true);
    FolderRef openFolder(const WindowsPath& path) { return openFolder(path, path.parts.size()); }
    FolderRef openDriveRoot(std::size_t drive) const;
    // The folder holding the file `path` names, with the name its entry has
    // there (the spelling may differ) and the entry's lstat; null when the
    // path names no file or no entry is found. The entry may be any type.
    FolderRef findFile(const std::string& path, std::string& name, struct stat& st);
    bool readFolder(const std::string& folder, bool typesOnly, std::vector<DirEntry>& entries);
    // False when a folder among the first `count` parts of `path` is one of
    // several entries whose names differ only in case.
    bool spelledOnce(const WindowsPath& path, std::size_t count);
    bool completeEntry(const std::string& folder, DirEntry& entry, bool withTimes);
    // Windows' sharing rule: a file another process holds open is neither
    // deleted nor overwritten (errno EBUSY).
    bool heldByOthers(const struct stat& file);

    DriveMap drives_;
    std::string windowsFolder_;
    std::string tempFolder_;
    FolderCache folders_;
    CaseClashes clashes_;
    OpenFiles openFiles_;
    std::mutex detailTimesMutex_;
    LocalTimeConverter detailTimes_;  // for entryDetails
};

}  // namespace cindral::platform
