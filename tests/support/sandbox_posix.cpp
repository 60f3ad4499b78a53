// The test sandbox on Linux: the whole platform lives in a fresh temporary
// folder. Drive C: is a folder in it, the registry store is a file in it,
// and the temp folder, the Windows folder and the shell folders are inside
// C:, so a test never reaches the real home folder or registry store.
// T: is the test executable's own folder (a remote drive, as under Wine's
// runner), so the executable's path has a Windows name.
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/posix_platform.h"
#include "support/sandbox.h"

namespace cindral::test {
namespace {

constexpr char kRoot[] = "C:\\sandbox\\";

std::string baseFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = (tmp && tmp[0] == '/') ? tmp : "/tmp";
    if (char* real = ::realpath(base.c_str(), nullptr)) {
        base = real;
        std::free(real);
    }
    std::string pattern = base + "/cindral-sandbox-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) return std::string();
    return std::string(buffer.data());
}

std::string executableFolder() {
    char buffer[4096];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return std::string();
    std::string path(buffer, static_cast<std::size_t>(n));
    const auto cut = path.rfind('/');
    return cut == 0 ? "/" : path.substr(0, cut);
}

// Removes `name` in `dirfd` and everything below it without following any
// link: a link is removed as itself. Folders made unreadable by a test are
// opened up first.
void removeEntry(int dirfd, const char* name) {
    struct stat st;
    if (::fstatat(dirfd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (!S_ISDIR(st.st_mode)) {
        ::unlinkat(dirfd, name, 0);
        return;
    }
    ::fchmodat(dirfd, name, 0700, 0);
    const int fd = ::openat(dirfd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        if (DIR* dir = ::fdopendir(fd)) {
            std::vector<std::string> names;
            while (dirent* e = ::readdir(dir)) {
                if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                    names.push_back(e->d_name);
            }
            for (const auto& child : names) removeEntry(::dirfd(dir), child.c_str());
            ::closedir(dir);
        } else {
            ::close(fd);
        }
    }
    ::unlinkat(dirfd, name, AT_REMOVEDIR);
}

void removeTree(const std::string& folder) {
    const auto cut = folder.rfind('/');
    if (cut == std::string::npos || folder.size() <= 1) return;
    const std::string parent = cut == 0 ? "/" : folder.substr(0, cut);
    const int fd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    removeEntry(fd, folder.c_str() + cut + 1);
    ::close(fd);
}

bool makeFolders(const std::string& host) {
    struct stat st;
    if (::lstat(host.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const auto cut = host.rfind('/');
    if (cut != std::string::npos && cut > 0 && !makeFolders(host.substr(0, cut))) return false;
    return ::mkdir(host.c_str(), 0777) == 0 || errno == EEXIST;
}

}  // namespace

struct Sandbox::Impl {
    std::string base;  // host folder holding everything
    std::unique_ptr<platform::PosixPlatform> native;
    std::string scratchPath;

    // The host path of a Windows path below the sandbox; existing names are
    // matched without regard to case, as the system under test would.
    bool host(const std::string& windowsPath, std::string& out) {
        std::string literal;
        if (!native || !native->files().toHostPath(windowsPath, literal)) return false;
        out = literal;
        struct stat st;
        if (::lstat(literal.c_str(), &st) == 0) return true;
        // Walk the components, replacing each by an existing spelling.
        std::string resolved;
        std::size_t pos = 0;
        while (pos < literal.size()) {
            std::size_t next = literal.find('/', pos + 1);
            if (next == std::string::npos) next = literal.size();
            const std::string part = literal.substr(pos + 1, next - pos - 1);
            std::string chosen = part;
            const std::string parent = resolved.empty() ? "/" : resolved;
            if (::lstat((resolved + "/" + part).c_str(), &st) != 0) {
                if (DIR* dir = ::opendir(parent.c_str())) {
                    while (dirent* e = ::readdir(dir)) {
                        if (::strcasecmp(e->d_name, part.c_str()) == 0) {
                            chosen = e->d_name;
                            break;
                        }
                    }
                    ::closedir(dir);
                }
            }
            resolved += "/" + chosen;
            pos = next;
        }
        out = resolved;
        return true;
    }
};

Sandbox::Sandbox() : impl_(std::make_unique<Impl>()) {
    static std::atomic<unsigned> counter{0};
    impl_->base = baseFolder();
    impl_->scratchPath = "Software\\CindralTest\\Sandbox" + std::to_string(counter++);
    if (impl_->base.empty()) std::abort();  // no temporary folder: no test can run safely
    const std::string c = impl_->base + "/c";
    const std::string user = c + "/Users/test";
    for (const std::string& folder :
         {c + "/sandbox", c + "/Temp", c + "/Windows", user + "/AppData", user + "/LocalAppData",
          user + "/Cache", user + "/Cookies", user + "/History", user + "/Recent"}) {
        makeFolders(folder);
    }
    platform::PosixConfig config;
    config.drives = {platform::DriveMapping{'C', c, platform::kDriveFixed}};
    const std::string exeFolder = executableFolder();
    if (!exeFolder.empty())
        config.drives.push_back(platform::DriveMapping{'T', exeFolder, platform::kDriveRemote});
    config.registryFile = impl_->base + "/registry.reg";
    config.tempFolder = c + "/Temp";
    config.windowsFolder = "C:\\Windows";
    config.shellFolders = {{platform::kCsidlAppData, user + "/AppData"},
                           {platform::kCsidlLocalAppData, user + "/LocalAppData"},
                           {platform::kCsidlProfile, user},
                           {platform::kCsidlInternetCache, user + "/Cache"},
                           {platform::kCsidlCookies, user + "/Cookies"},
                           {platform::kCsidlHistory, user + "/History"},
                           {platform::kCsidlRecent, user + "/Recent"}};
    impl_->native = std::make_unique<platform::PosixPlatform>(config);
}

Sandbox::~Sandbox() {
    impl_->native.reset();  // closes the backend's open folders first
    removeTree(impl_->base);
}

platform::Platform& Sandbox::platform() { return impl_->native->platform(); }

std::string Sandbox::root() const { return kRoot; }

std::string Sandbox::registryScratchPath() const { return impl_->scratchPath; }

bool Sandbox::writeFile(const std::string& windowsPath, const std::string& bytes) {
    std::string host;
    if (!impl_->host(windowsPath, host)) return false;
    const int fd =
        ::open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return ::close(fd) == 0 && done == bytes.size();
}

bool Sandbox::makeFolder(const std::string& windowsPath) {
    std::string host;
    return impl_->host(windowsPath, host) && makeFolders(host);
}

bool Sandbox::makeSymlink(const std::string& linkPath, const std::string& targetPath,
                          bool /*isFolder*/) {
    std::string link, target;
    return impl_->host(linkPath, link) && impl_->host(targetPath, target) &&
           ::symlink(target.c_str(), link.c_str()) == 0;
}

bool Sandbox::exists(const std::string& windowsPath) {
    std::string host;
    struct stat st;
    return impl_->host(windowsPath, host) && ::lstat(host.c_str(), &st) == 0;
}

}  // namespace cindral::test
