// Files and drives on Linux. A drive map gives each drive letter a host
// folder; below that folder every path component is looked up without regard
// to case and no symbolic link is ever followed: each component is opened
// relative to its parent's directory handle with O_NOFOLLOW, so a folder
// swapped for a link while the program works cannot redirect an operation.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/files.h"

namespace cindral::platform {

// $HOME, else the password database's home folder, else "/".
std::string userHomeFolder();

struct DriveMapping {
    char letter = 'C';     // 'A' to 'Z'
    std::string hostRoot;  // absolute host folder
    std::uint32_t type = kDriveFixed;
};

struct PosixFilesConfig {
    std::vector<DriveMapping> drives;
    std::string windowsFolder = "C:\\Windows";  // a Windows path; need not exist
    std::string tempFolder;                     // host folder; empty: $TMPDIR, else /tmp
};

// Converts file times to local SYSTEMTIME fields. The UTC offset is looked
// up once per quarter hour of time (every zone changes its offset on a
// quarter-hour boundary) and kept in a small table, because a listing
// converts three times per entry and localtime_r is slow.
class LocalTimeConverter {
public:
    SystemTime convert(std::int64_t seconds, long nanoseconds);

private:
    struct Slot {
        std::int64_t bucket = INT64_MIN;
        long offset = 0;
    };
    Slot slots_[16];
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
    bool deleteFile(const std::string& path) override;
    bool createFolder(const std::string& path) override;
    bool fileExists(const std::string& path) override;
    bool folderExists(const std::string& path) override;
    bool readFile(const std::string& path, std::string& bytes) override;
    bool writeFileAtomic(const std::string& path, const std::string& bytes) override;
    bool fileSize(const std::string& path, std::uint64_t& size) override;
    bool renameFile(const std::string& from, const std::string& to) override;
    std::unique_ptr<OverwriteFile> openForOverwrite(const std::string& path) override;

    std::uint32_t logicalDrives() override;
    std::uint32_t driveType(const std::string& root) override;
    std::string windowsFolder() override;
    std::string tempPath() override;

    // Also empty when a name contains "\".
    std::string toWindowsPath(const std::string& hostPath) const override;
    // The host path of a Windows path, component by component as written
    // (no case-insensitive look-up); false for relative, UNC or unmapped paths.
    bool toHostPath(const std::string& windowsPath, std::string& host) const;

    struct DirHandle;

private:
    struct ParsedPath {
        std::size_t drive = 0;           // index into drives_
        std::vector<std::string> parts;  // as written
        std::vector<std::string>
            trimmed;                     // as Windows reads them (trailing dots and spaces dropped)
        bool trailingSeparator = false;  // names a folder, never a file
    };
    using DirRef = std::shared_ptr<DirHandle>;

    bool parse(const std::string& path, ParsedPath& out) const;
    // parse() for an operation on a file: a path ending in a separator, or
    // the drive root, names no file.
    bool parseFile(const std::string& path, ParsedPath& out) const;
    // The folder made of the first `count` parts, opened without following
    // links; null when it is missing or not a folder.
    DirRef openFolder(const ParsedPath& path, std::size_t count);
    DirRef openFolder(const ParsedPath& path) { return openFolder(path, path.parts.size()); }
    DirRef openDriveRoot(std::size_t drive) const;
    // The folder holding the file `path` names, with the name its entry has
    // there (the spelling may differ) and the entry's lstat; null when the
    // path names no file or no entry is found. The entry may be any type.
    DirRef findFile(const std::string& path, std::string& name, struct stat& st);
    void remember(const std::string& key, const DirRef& dir);
    void forgetAll();

    PosixFilesConfig config_;

    // The folders resolved last, most recent first: a walk lists a folder
    // and then deletes in it, and each deletion would otherwise open the
    // whole chain of folders again.
    struct CacheEntry {
        std::string key;
        DirRef dir;
    };
    std::mutex cacheMutex_;
    std::vector<CacheEntry> cache_;
    bool readFolder(const std::string& folder, bool typesOnly, std::vector<DirEntry>& entries);
    CacheEntry listed_;               // the folder listFolderTypes listed last, as named
    LocalTimeConverter detailTimes_;  // for entryDetails
};

}  // namespace cindral::platform
