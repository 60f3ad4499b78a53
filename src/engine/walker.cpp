#include "engine/walker.h"

#include <deque>

namespace cindral::engine {

namespace {

std::vector<FileMask> compile(const std::vector<std::string>& masks, const CaseFold& fold) {
    std::vector<FileMask> out;
    out.reserve(masks.size());
    for (const std::string& m : masks) out.emplace_back(m, fold);
    return out;
}

bool allValid(const std::vector<FileMask>& masks) {
    for (const FileMask& m : masks)
        if (!m.valid()) return false;
    return true;
}

bool anyMatches(const std::vector<FileMask>& masks, const std::string& name) {
    for (const FileMask& m : masks)
        if (m.matches(name)) return true;
    return false;
}

}  // namespace

bool IsUnsafeEntryName(const std::string& name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return true;
    // A plain loop: find_first_of searches the set once per character.
    for (const char c : name)
        if (c == '\\' || c == '/') return true;
    return false;
}

TEasyFileSearch::TEasyFileSearch(platform::Files& files, platform::System& sys)
    : files_(files), sys_(sys), fold_(sys) {
    setFileNames({"*.*"});
}

bool TEasyFileSearch::setFileNames(const std::vector<std::string>& masks) {
    fileNameTexts_ = masks;
    fileNames_ = compile(masks, fold_);
    return allValid(fileNames_);
}

bool TEasyFileSearch::setExcludedFiles(const std::vector<std::string>& masks) {
    excluded_ = compile(masks, fold_);
    return allValid(excluded_);
}

// A folder entry is reported without matching a mask when a binary search of
// the mask list, as though it were sorted, finds "*.*" itself. On an unsorted
// list the search can miss it; that is the rule the catalogue was written for.
bool TEasyFileSearch::foldersMatchEverything() const {
    std::size_t lo = 0, hi = fileNameTexts_.size();
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        const int c = sys_.compareNoCase(fileNameTexts_[mid], "*.*");
        if (c == 0) return true;
        if (c < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return false;
}

bool TEasyFileSearch::namePasses(const std::string& name, bool isFolder, bool foldersWild) const {
    if (anyMatches(excluded_, name)) return false;
    if (anyMatches(fileNames_, name)) return true;
    return isFolder && foldersWild;
}

bool TEasyFileSearch::attributesPass(std::uint32_t attributes) const {
    const bool isFolder = (attributes & platform::kAttrDirectory) != 0;
    std::uint32_t lookFor = 0;
    if (SearchOptions & okLookForReadOnlyFile) lookFor |= platform::kAttrReadOnly;
    if (SearchOptions & okLookForHiddenFile) lookFor |= platform::kAttrHidden;
    if (SearchOptions & okLookForSystemFile) lookFor |= platform::kAttrSystem;
    if (SearchOptions & okLookForDirectory) lookFor |= platform::kAttrDirectory;
    if (SearchOptions & okLookForArchiveFile) lookFor |= platform::kAttrArchive;
    return (attributes & lookFor) != 0 || ((SearchOptions & okLookForAnyFile) && !isFolder);
}

bool TEasyFileSearch::Execute() {
    if (RootPath.empty() || !allValid(fileNames_) || !allValid(excluded_)) return false;
    const bool foldersWild = foldersMatchEverything();
    const bool recurse = (SearchOptions & okIncludeSubfolder) != 0;

    std::deque<std::string> queue;
    std::string current = RootPath;
    std::vector<platform::DirEntry> entries;
    TFileInformations info;
    for (;;) {
        if (stopped()) break;
        if (OnChangeFolder) OnChangeFolder(current);
        if (current.back() != '\\') current += '\\';
        entries.clear();
        // A folder that cannot be listed ends the whole walk.
        // Most entries fail the name test, so the listing carries only
        // names and types; the rest is looked up for the candidates.
        if (!files_.listFolderTypes(current, entries)) break;
        for (platform::DirEntry& e : entries) {
            if (stopped()) return true;
            if (IsUnsafeEntryName(e.name)) continue;
            const bool isFolder = (e.attributes & platform::kAttrDirectory) != 0;
            const bool isLink = (e.attributes & platform::kAttrReparsePoint) != 0;
            if (recurse && isFolder && !isLink) queue.push_back(current + e.name);
            if (!OnFileFound || !namePasses(e.name, isFolder, foldersWild)) continue;
            const bool complete =
                NeedTimes ? files_.entryDetails(current, e) : files_.entryAttributes(current, e);
            if (!complete) continue;  // gone since the listing
            if (!attributesPass(e.attributes)) continue;
            info.Name = std::move(e.name);
            info.Folder = current;
            info.Attributes = e.attributes;
            info.Size = e.size;
            info.CreationTime = e.creationTime;
            info.LastAccessTime = e.lastAccessTime;
            info.LastWriteTime = e.lastWriteTime;
            OnFileFound(info);
        }
        if (queue.empty()) break;
        current = std::move(queue.front());
        queue.pop_front();
    }
    return true;
}

}  // namespace cindral::engine
