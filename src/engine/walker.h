// The folder walker: from a root folder (and, when asked, every folder below
// it, breadth first) it reports each entry whose name matches one of its masks.
// It never descends into a symbolic link, junction or other reparse point;
// such an entry is reported as itself.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/file_mask.h"
#include "platform/files.h"
#include "platform/system.h"

namespace cindral::engine {

// SearchOptions flags.
using TSearchOptions = std::uint32_t;
constexpr TSearchOptions okIncludeSubfolder = 0x01;
constexpr TSearchOptions okLookForReadOnlyFile = 0x02;
constexpr TSearchOptions okLookForHiddenFile = 0x04;
constexpr TSearchOptions okLookForSystemFile = 0x08;
constexpr TSearchOptions okLookForDirectory = 0x10;
constexpr TSearchOptions okLookForArchiveFile = 0x20;
constexpr TSearchOptions okLookForAnyFile = 0x40;
// The six look-for flags every engine walker sets.
constexpr TSearchOptions okLookForAll = okLookForReadOnlyFile | okLookForHiddenFile |
                                        okLookForSystemFile | okLookForDirectory |
                                        okLookForArchiveFile | okLookForAnyFile;

struct TFileInformations {
    std::string Name;
    std::string Folder;  // ends in "\"
    std::uint32_t Attributes = 0;
    std::uint64_t Size = 0;
    platform::SystemTime CreationTime;
    platform::SystemTime LastAccessTime;
    platform::SystemTime LastWriteTime;

    std::string fullPath() const { return Folder + Name; }
};

class TEasyFileSearch {
public:
    TEasyFileSearch(platform::Files& files, platform::System& sys);
    TEasyFileSearch(const TEasyFileSearch&) = delete;
    TEasyFileSearch& operator=(const TEasyFileSearch&) = delete;

    std::string RootPath;
    TSearchOptions SearchOptions = okLookForAll;
    std::function<void(const TFileInformations&)> OnFileFound;
    std::function<void(const std::string&)> OnChangeFolder;
    // False: the reader of OnFileFound needs no times, and a file's times
    // may be left zero, which spares their lookup or conversion.
    bool NeedTimes = true;
    // When set and true, the walk ends before the next folder or entry.
    const std::atomic<bool>* StopRequested = nullptr;

    // Name masks; an entry is reported when its name matches one. Default:
    // the one mask "*.*". Returns false when a mask is invalid.
    bool setFileNames(const std::vector<std::string>& masks);
    // Masks of names never reported; empty by default.
    bool setExcludedFiles(const std::vector<std::string>& masks);

    // Runs the walk and returns when it is done. With an invalid mask or an
    // empty RootPath nothing is walked or reported, and the result is false.
    bool Execute();

private:
    bool stopped() const { return StopRequested && StopRequested->load(std::memory_order_relaxed); }
    bool foldersMatchEverything() const;
    // The name test (ExcludedFiles, FileNames, and folders when the masks
    // take every folder) comes before the attribute test, which needs the
    // entry's details.
    bool namePasses(const std::string& name, bool isFolder, bool foldersWild) const;
    bool attributesPass(std::uint32_t attributes) const;

    platform::Files& files_;
    platform::System& sys_;
    CaseFold fold_;
    std::vector<std::string> fileNameTexts_;
    std::vector<FileMask> fileNames_;
    std::vector<FileMask> excluded_;
};

// Names that cannot stand in a Windows path (empty, "." and "..", or with a
// path separator in them, which a Linux file system allows), and names that
// end in "." or a blank, which Windows drops from a path it is handed: a
// listing shows "README." beside "README", but deleting folder + "README."
// deletes README. The walker passes over such entries: folder + name would
// name another file.
bool IsUnsafeEntryName(const std::string& name);

}  // namespace cindral::engine
