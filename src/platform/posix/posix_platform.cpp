#include "platform/posix/posix_platform.h"

#include <cstdlib>

#include "platform/posix/profile_posix.h"
#include "platform/posix/registry_posix.h"
#include "platform/posix/shell_folders_posix.h"
#include "platform/posix/system_posix.h"

namespace cindral::platform {

PosixConfig fromEnvironment(const NativeOptions& options) {
    PosixConfig config;
    config.drives = PosixFiles::defaultDriveMap();
    config.shellFolders = PosixShellFolders::defaultFolders();
    config.registryFile = options.registryFile;
    if (config.registryFile.empty()) {
        const char* xdg = std::getenv("XDG_CONFIG_HOME");
        const std::string base =
            (xdg && xdg[0] == '/') ? std::string(xdg) : userHomeFolder() + "/.config";
        config.registryFile = base + "/Cindral/registry.reg";
    }
    return config;
}

PosixPlatform::PosixPlatform(const PosixConfig& config) {
    PosixFilesConfig filesConfig;
    filesConfig.drives = config.drives;
    filesConfig.tempFolder = config.tempFolder;
    filesConfig.windowsFolder = config.windowsFolder;
    files_ = std::make_unique<PosixFiles>(std::move(filesConfig));
    registry_ = std::make_unique<PosixRegistry>(config.registryFile);
    profiles_ = std::make_unique<PosixProfileFiles>(*files_);
    shellFolders_ = std::make_unique<PosixShellFolders>(*files_, config.shellFolders);
    system_ = std::make_unique<PosixSystem>(*files_);
    platform_.files = files_.get();
    platform_.registry = registry_.get();
    platform_.profiles = profiles_.get();
    platform_.shellFolders = shellFolders_.get();
    platform_.system = system_.get();
}

PosixPlatform::~PosixPlatform() = default;

std::unique_ptr<NativePlatform> createNativePlatform(const NativeOptions& options) {
    return std::make_unique<PosixPlatform>(fromEnvironment(options));
}

}  // namespace cindral::platform
