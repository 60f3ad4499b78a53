// The run services on Linux. There is no URL cache, URL history, clipboard
// of ours or browser window to close; the recycle bin is the user's
// freedesktop.org Trash ("files/" holds the trashed entries, "info/" one
// ".trashinfo" file per entry).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/file_descriptor.h"
#include "platform/run_services.h"

namespace cindral::platform {
namespace {

class PosixUrlCache : public UrlCache {
public:
    void clearCache() override {}
    bool clearHistory() override { return true; }
};

class PosixClipboard : public Clipboard {
public:
    bool empty() override { return true; }
};

class PosixBrowserWindows : public BrowserWindows {
public:
    int closeAll() override { return 0; }
    bool anyOpen() override { return false; }
    void showAll(bool) override {}
};

// Names of an open folder, "." and ".." left out.
bool listNames(int folder, std::vector<std::string>& names) {
    DirStream entries = readEntries(UniqueFd(dup(folder)));
    if (!entries) return false;
    while (dirent* e = readdir(entries.get())) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        names.emplace_back(e->d_name);
    }
    return true;
}

UniqueFd openFolderAt(int parent, const char* name) {
    return UniqueFd(openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Bytes held by an entry: a regular file its size, a real folder the sum of
// what lies below it, a link or anything else nothing. Links are never
// followed.
std::uint64_t entryBytes(int parent, const char* name, int depth) {
    struct stat st;
    if (fstatat(parent, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return 0;
    if (S_ISREG(st.st_mode)) return static_cast<std::uint64_t>(st.st_size);
    if (!S_ISDIR(st.st_mode) || depth > 256) return 0;
    const UniqueFd folder = openFolderAt(parent, name);
    std::vector<std::string> names;
    std::uint64_t total = 0;
    if (folder && listNames(folder.get(), names))
        for (const auto& child : names) total += entryBytes(folder.get(), child.c_str(), depth + 1);
    return total;
}

// Removes an entry and, for a real folder, everything below it, working
// relative to open folder handles so that a folder swapped for a link
// meanwhile cannot redirect the removal. A link is removed as itself.
bool removeEntry(int parent, const char* name, int depth) {
    struct stat st;
    if (fstatat(parent, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return errno == ENOENT;
    if (!S_ISDIR(st.st_mode)) return unlinkat(parent, name, 0) == 0 || errno == ENOENT;
    if (depth > 256) return false;
    UniqueFd folder = openFolderAt(parent, name);
    if (!folder) return false;
    std::vector<std::string> names;
    bool ok = listNames(folder.get(), names);
    for (const auto& child : names) ok = removeEntry(folder.get(), child.c_str(), depth + 1) && ok;
    folder.reset();
    return ok && unlinkat(parent, name, AT_REMOVEDIR) == 0;
}

class PosixTrash : public RecycleBin {
public:
    explicit PosixTrash(std::string folder) : folder_(std::move(folder)) {}

    bool query(RecycleBinContents& contents) override {
        contents = {};
        const UniqueFd files = openFolder("files");
        if (!files) return errno == ENOENT;  // no Trash yet: an empty bin
        std::vector<std::string> names;
        if (!listNames(files.get(), names)) return false;
        contents.itemCount = names.size();
        for (const auto& name : names)
            contents.totalSize += entryBytes(files.get(), name.c_str(), 0);
        return true;
    }

    bool empty() override {
        const UniqueFd files = openFolder("files");
        if (!files) return errno == ENOENT;
        std::vector<std::string> names;
        bool ok = listNames(files.get(), names);
        const UniqueFd info = openFolder("info");
        for (const auto& name : names) {
            bool removed = removeEntry(files.get(), name.c_str(), 0);
            // The description goes only with its entry: an entry that stays
            // keeps the record of where it came from.
            if (removed && info) unlinkat(info.get(), (name + ".trashinfo").c_str(), 0);
            ok = removed && ok;
        }
        // The cached folder sizes no longer match.
        if (const UniqueFd root = openRoot()) unlinkat(root.get(), "directorysizes", 0);
        return ok;
    }

private:
    UniqueFd openRoot() const {
        return UniqueFd(open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }

    UniqueFd openFolder(const char* name) const {
        const UniqueFd root = openRoot();
        return root ? openFolderAt(root.get(), name) : UniqueFd();
    }

    std::string folder_;
};

std::string defaultTrashFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && data[0] == '/') return std::string(data) + "/Trash";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') return std::string(home) + "/.local/share/Trash";
    return {};
}

class PosixRunServices : public NativeRunServices {
public:
    explicit PosixRunServices(const RunServicesOptions& options)
        : trash_(options.trashFolder.empty() ? defaultTrashFolder() : options.trashFolder) {
        services_.urlCache = &urlCache_;
        services_.recycleBin = &trash_;
        services_.clipboard = &clipboard_;
        services_.browserWindows = &browserWindows_;
    }
    RunServices& services() override { return services_; }

private:
    PosixUrlCache urlCache_;
    PosixTrash trash_;
    PosixClipboard clipboard_;
    PosixBrowserWindows browserWindows_;
    RunServices services_;
};

}  // namespace

std::unique_ptr<NativeRunServices> createNativeRunServices(const RunServicesOptions& options) {
    return std::make_unique<PosixRunServices>(options);
}

}  // namespace cindral::platform
