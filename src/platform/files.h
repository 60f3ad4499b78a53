// Files, folders and drives. Paths are Windows paths ("C:\dir\name"), names
// compared without regard to case. No operation here follows a symbolic link,
// junction or other reparse point below the path's drive root: a link is
// reported, deleted or refused as itself.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/types.h"

namespace cindral::platform {

// File attribute bits (winnt.h values). Only these are ever reported.
constexpr std::uint32_t kAttrReadOnly = 0x01;
constexpr std::uint32_t kAttrHidden = 0x02;
constexpr std::uint32_t kAttrSystem = 0x04;
constexpr std::uint32_t kAttrDirectory = 0x10;
constexpr std::uint32_t kAttrArchive = 0x20;
constexpr std::uint32_t kAttrReparsePoint = 0x400;  // symbolic link, junction, mount point

// GetDriveType results.
constexpr std::uint32_t kDriveUnknown = 0;
constexpr std::uint32_t kDriveNoRootDir = 1;
constexpr std::uint32_t kDriveRemovable = 2;
constexpr std::uint32_t kDriveFixed = 3;
constexpr std::uint32_t kDriveRemote = 4;
constexpr std::uint32_t kDriveCdrom = 5;
constexpr std::uint32_t kDriveRamdisk = 6;

// The largest file readFile reads. The files read whole (lists, plug-ins,
// the registry store, the log) are far smaller; a larger one is refused
// rather than held in memory, where it could end the program for want of it.
constexpr std::uint64_t kMaxReadFileSize = std::uint64_t(256) << 20;

struct DirEntry {
    std::string name;
    std::uint32_t attributes = 0;  // bits above only
    std::uint64_t size = 0;
    SystemTime creationTime;  // local time
    SystemTime lastAccessTime;
    SystemTime lastWriteTime;
    // Set by listFolderTypes when only the name and the directory, reparse
    // point and hidden bits are known; entryDetails fills in the rest.
    bool detailsMissing = false;
};

// A regular file opened for overwriting in place (secure wipe).
class OverwriteFile {
public:
    virtual ~OverwriteFile() = default;
    // The file's length; false when it cannot be read, so that a failed query
    // is never taken for an empty file that needs no overwriting.
    virtual bool size(std::uint64_t& size) = 0;
    virtual bool seekToStart() = 0;
    virtual bool write(const void* data, std::size_t length) = 0;
    // Flushes the written data through to the disk.
    virtual bool flush() = 0;
    virtual bool truncate() = 0;  // to length 0
    virtual bool close() = 0;
};

class Files {
public:
    virtual ~Files() = default;

    // All entries of a folder except "." and "..", in the order the file
    // system returns them (FindFirstFile/FindNextFile over "*.*" with all
    // attributes). False when the folder is missing or cannot be listed.
    virtual bool listFolder(const std::string& folder, std::vector<DirEntry>& entries) = 0;
    // As listFolder, but an entry may come with only its name and the
    // kAttrDirectory, kAttrReparsePoint and kAttrHidden bits (detailsMissing
    // set, other attributes, size and times zero), which is far cheaper where
    // the file system keeps the type beside the name. The same entries, in the
    // same order, as listFolder, except that one removed meanwhile may still
    // be listed (entryDetails then fails for it).
    virtual bool listFolderTypes(const std::string& folder, std::vector<DirEntry>& entries) {
        return listFolder(folder, entries);
    }
    // Completes an entry of listFolderTypes(folder) so it equals what
    // listFolder reports for it. True without change when nothing is
    // missing; false when the entry no longer exists.
    virtual bool entryDetails(const std::string& folder, DirEntry& entry) {
        if (!entry.detailsMissing) return true;
        std::vector<DirEntry> all;
        if (!listFolder(folder, all)) return false;
        for (DirEntry& e : all) {
            if (e.name != entry.name) continue;
            entry = std::move(e);
            return true;
        }
        return false;
    }
    // As entryDetails, except that the times may stay as the listing left
    // them (zero): a walk whose reader needs none spares their conversion.
    virtual bool entryAttributes(const std::string& folder, DirEntry& entry) {
        return entryDetails(folder, entry);
    }
    // DeleteFile: removes a file or a link itself; never a folder.
    virtual bool deleteFile(const std::string& path) = 0;
    // Creates the folder and any missing parents; true when it exists after.
    virtual bool createFolder(const std::string& path) = 0;
    // True for an existing file that is not a folder.
    virtual bool fileExists(const std::string& path) = 0;
    virtual bool folderExists(const std::string& path) = 0;
    // Reads the whole file. False, `bytes` empty, when it cannot be read or
    // holds more than kMaxReadFileSize bytes.
    virtual bool readFile(const std::string& path, std::string& bytes) = 0;
    // The text of a stored file's bytes as the program reads its own text
    // files (line files, the log, SelItems.dat, plug-ins): under a UTF-8
    // active code page a file of the legacy code page is decoded (see
    // platform/stored_text.h). The bytes as they are where the code page is
    // not UTF-8, and on Linux, where names are bytes.
    virtual std::string storedText(std::string bytes) { return bytes; }
    // readFile, then storedText.
    bool readTextFile(const std::string& path, std::string& text) {
        if (!readFile(path, text)) return false;
        text = storedText(std::move(text));
        return true;
    }
    // Writes a temporary file beside the target, flushes it and moves it over
    // the target in one step: the target holds either the old or the new
    // content, never a mix. False (target unchanged) on any failure.
    virtual bool writeFileAtomic(const std::string& path, const std::string& bytes) = 0;
    // The next piece of a file's content: sets `chunk` (valid until the
    // next call) and returns true, or returns false when there is no more.
    using ChunkSource = std::function<bool(std::string_view& chunk)>;
    // `bytes` as a single piece; they must outlive the source.
    static ChunkSource wholeOf(const std::string& bytes) {
        return [&bytes, given = false](std::string_view& chunk) mutable {
            if (given) return false;
            chunk = bytes;
            given = true;
            return true;
        };
    }
    // writeFileAtomic with the content handed over piece by piece, so that
    // a large file is never held whole in memory. Here through one string;
    // the backends write each piece as it comes.
    virtual bool writeFileAtomicFrom(const std::string& path, const ChunkSource& next) {
        std::string bytes;
        std::string_view chunk;
        while (next(chunk)) bytes.append(chunk.data(), chunk.size());
        return writeFileAtomic(path, bytes);
    }
    virtual bool fileSize(const std::string& path, std::uint64_t& size) = 0;
    // Renames within one folder; fails when the target exists.
    virtual bool renameFile(const std::string& from, const std::string& to) = 0;
    // Opens an existing regular file for overwriting without following a
    // link; null when the path is a link, a folder, missing or not writable.
    virtual std::unique_ptr<OverwriteFile> openForOverwrite(const std::string& path) = 0;
    // Why the last call of this thread failed, in the system's words
    // ("Permission denied", "The process cannot access the file because it
    // is being used by another process"): the errno or GetLastError() text,
    // without a final full stop. Asked right after a failed deleteFile or
    // openForOverwrite, or a failed call on the OverwriteFile; empty when no
    // reason is known.
    virtual std::string lastErrorText() { return std::string(); }

    // GetLogicalDrives: bit 0 = A: ... bit 25 = Z:.
    virtual std::uint32_t logicalDrives() = 0;
    // GetDriveType of a root such as "C:\".
    virtual std::uint32_t driveType(const std::string& root) = 0;
    // GetWindowsDirectory (no trailing "\" unless it is a drive root).
    virtual std::string windowsFolder() = 0;
    // GetTempPath: always ends in "\".
    virtual std::string tempPath() = 0;
    // The Windows name of an absolute path of the host's own file system:
    // the path itself on Windows; on Linux through the drive whose folder is
    // the longest prefix of it. Empty when no drive holds it. Purely
    // textual: nothing is looked up.
    virtual std::string toWindowsPath(const std::string& hostPath) const = 0;
};

}  // namespace cindral::platform
