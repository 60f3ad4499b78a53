#include "platform/posix/shell_folders_posix.h"

#include <cstdlib>

#include "platform/posix/files_posix.h"

namespace cindral::platform {
namespace {

// An XDG variable counts only when it holds an absolute path (the base
// directory rules say to ignore anything else).
std::string xdgFolder(const char* variable, const std::string& fallback) {
    const char* value = std::getenv(variable);
    if (value && value[0] == '/') return value;
    return userHomeFolder() + fallback;
}

}  // namespace

PosixShellFolders::PosixShellFolders(const PosixFiles& files,
                                     std::map<int, std::string> hostFolders)
    : files_(files), hostFolders_(std::move(hostFolders)) {}

std::map<int, std::string> PosixShellFolders::defaultFolders() {
    return {{kCsidlAppData, xdgFolder("XDG_CONFIG_HOME", "/.config")},
            {kCsidlLocalAppData, xdgFolder("XDG_DATA_HOME", "/.local/share")},
            {kCsidlInternetCache, xdgFolder("XDG_CACHE_HOME", "/.cache")},
            {kCsidlProfile, userHomeFolder()}};
}

std::string PosixShellFolders::specialFolder(int csidl) {
    auto it = hostFolders_.find(csidl);
    if (it == hostFolders_.end() || it->second.empty()) return std::string();
    std::string path = files_.toWindowsPath(it->second);
    // SHGetPathFromIDList gives no trailing "\" except for a drive root.
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace cindral::platform
