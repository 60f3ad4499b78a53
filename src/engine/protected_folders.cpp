#include "engine/protected_folders.h"

#include <algorithm>

namespace cindral::engine {
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// The folder's root ("C:" or "\\server\share") and its names, as Windows
// resolves them; an empty root when the path is not absolute.
struct FolderName {
    std::string root;
    std::vector<std::string> names;
};

FolderName resolve(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    // "\\?\C:\..." and "\\.\C:\..." name the same folder as "C:\...";
    // "\\?\UNC\server\share" the same as "\\server\share".
    if (path.compare(0, 4, "\\\\?\\") == 0 || path.compare(0, 4, "\\\\.\\") == 0) {
        path.erase(0, 4);
        if (path.compare(0, 4, "UNC\\") == 0) path.replace(0, 4, "\\\\");
    }
    FolderName out;
    std::size_t pos = 0;
    if (path.size() >= 2 && path[1] == ':') {
        out.root = path.substr(0, 2);
        pos = 2;
    } else if (path.compare(0, 2, "\\\\") == 0) {
        // Server and share are both part of the root.
        pos = 2;
        for (int part = 0; part < 2; ++part) {
            while (pos < path.size() && isSeparator(path[pos])) ++pos;
            while (pos < path.size() && !isSeparator(path[pos])) ++pos;
        }
        out.root = path.substr(0, pos);
    } else {
        return out;
    }
    while (pos < path.size()) {
        const std::size_t end = std::min(path.find('\\', pos), path.size());
        std::string name = path.substr(pos, end - pos);
        pos = end + 1;
        if (name == "..") {
            if (!out.names.empty()) out.names.pop_back();
            continue;
        }
        while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
        if (!name.empty()) out.names.push_back(name);
    }
    return out;
}

std::string joined(const FolderName& f) {
    std::string text = f.root;
    for (const std::string& name : f.names) text += "\\" + name;
    return text;
}

}  // namespace

std::vector<std::string> ProtectedFolders(platform::Platform& platform,
                                          const std::string& homeFolder) {
    std::vector<std::string> folders = {platform.files->windowsFolder(), homeFolder};
    for (int csidl :
         {platform::kCsidlSystem, platform::kCsidlSystemX86, platform::kCsidlProgramFiles,
          platform::kCsidlProgramFilesX86, platform::kCsidlProfile}) {
        folders.push_back(platform.shellFolders->specialFolder(csidl));
    }
    std::vector<std::string> named;
    for (std::string& f : folders)
        if (!resolve(f).root.empty()) named.push_back(std::move(f));
    return named;
}

bool IsProtectedFolder(const std::string& folder, const std::vector<std::string>& protectedFolders,
                       platform::System& system) {
    const FolderName f = resolve(folder);
    if (f.root.empty()) return false;
    if (f.names.empty()) return true;
    const std::string text = joined(f);
    for (const std::string& p : protectedFolders) {
        const FolderName other = resolve(p);
        if (other.names.size() == f.names.size() && system.compareNoCase(joined(other), text) == 0)
            return true;
    }
    return false;
}

}  // namespace cindral::engine
