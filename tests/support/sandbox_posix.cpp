// The test sandbox on Linux: the whole platform lives in a fresh temporary
// folder. Drive C: is a folder in it, the registry store is a file in it,
// and the temp folder, the Windows folder and the shell folders are inside
// C:, so a test never reaches the real home folder or registry store.
// T: is the test executable's own folder (a remote drive, as under Wine's
// runner), so the executable's path has a Windows name.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "platform/posix/file_descriptor.h"
#include "platform/posix/posix_platform.h"
#include "support/sandbox.h"
#include "support/temp_folder.h"

namespace cindral::test {
namespace {

namespace fs = std::filesystem;

constexpr char kRoot[] = "C:\\sandbox\\";

}  // namespace

struct Sandbox::Impl {
    TempFolder temp;
    const std::string base = temp.path();  // host folder holding everything
    std::unique_ptr<platform::PosixPlatform> native;
    std::string scratchPath;

    // The host path of a Windows path below the sandbox, as spelt.
    bool host(const std::string& windowsPath, std::string& out) {
        return native && native->files().toHostPath(windowsPath, out);
    }
};

Sandbox::Sandbox() : impl_(std::make_unique<Impl>()) {
    static std::atomic<unsigned> counter{0};
    impl_->scratchPath = "Software\\CindralTest\\Sandbox" + std::to_string(counter++);
    const std::string c = impl_->base + "/c";
    const std::string user = c + "/Users/test";
    std::error_code ec;
    for (const char* folder : {"/sandbox", "/Temp", "/Windows"})
        fs::create_directories(c + folder, ec);
    for (const char* folder :
         {"/AppData", "/LocalAppData", "/Cache", "/Cookies", "/History", "/Recent"})
        fs::create_directories(user + folder, ec);
    platform::PosixConfig config;
    config.drives = {
        platform::DriveMapping{'C', c, platform::kDriveFixed},
        platform::DriveMapping{'T', fs::read_symlink("/proc/self/exe", ec).parent_path().string(),
                               platform::kDriveRemote}};
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
    impl_->native.reset();  // closes the backend's open folders before the folder goes
}

platform::Platform& Sandbox::platform() { return impl_->native->platform(); }

std::string Sandbox::root() const { return kRoot; }

std::string Sandbox::registryScratchPath() const { return impl_->scratchPath; }

void Sandbox::holdSystemKeys() {}

bool Sandbox::writeFile(const std::string& windowsPath, const std::string& bytes) {
    std::string host;
    if (!impl_->host(windowsPath, host)) return false;
    platform::UniqueFd fd(
        ::open(host.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
    return fd && platform::writeAll(fd.get(), bytes.data(), bytes.size()) && fd.close();
}

bool Sandbox::makeFolder(const std::string& windowsPath) {
    std::string host;
    std::error_code ec;
    if (!impl_->host(windowsPath, host)) return false;
    fs::create_directories(host, ec);
    return fs::is_directory(fs::symlink_status(host, ec));
}

bool Sandbox::makeSymlink(const std::string& linkPath, const std::string& targetPath,
                          bool /*isFolder*/) {
    std::string link, target;
    return impl_->host(linkPath, link) && impl_->host(targetPath, target) &&
           ::symlink(target.c_str(), link.c_str()) == 0;
}

bool Sandbox::exists(const std::string& windowsPath) {
    std::string host;
    return impl_->host(windowsPath, host) && hostExists(host);
}

bool Sandbox::setReadOnly(const std::string& windowsPath, bool readOnly) {
    std::string host;
    struct stat st;
    if (!impl_->host(windowsPath, host) || ::lstat(host.c_str(), &st) != 0) return false;
    const mode_t writable = S_IWUSR | S_IWGRP | S_IWOTH;
    return ::chmod(host.c_str(), readOnly ? (st.st_mode & ~writable) : (st.st_mode | S_IWUSR)) == 0;
}

bool Sandbox::makeSizedFile(const std::string& windowsPath, std::uint64_t size) {
    std::string host;
    return impl_->host(windowsPath, host) && writeFile(windowsPath, "") &&
           ::truncate(host.c_str(), static_cast<off_t>(size)) == 0;
}

}  // namespace cindral::test
