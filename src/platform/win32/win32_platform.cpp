// The Win32 services bundled as the platform of the Windows build.
#include "platform/native.h"
#include "platform/win32/win32_backends.h"

namespace cindral::platform {
namespace {

class Win32Platform : public NativePlatform {
public:
    Win32Platform()
        : registry_(win32::createRegistry()),
          files_(win32::createFiles()),
          profiles_(win32::createProfileFiles(*files_)),
          shellFolders_(win32::createShellFolders()),
          system_(win32::createSystem()) {
        platform_.registry = registry_.get();
        platform_.profiles = profiles_.get();
        platform_.files = files_.get();
        platform_.shellFolders = shellFolders_.get();
        platform_.system = system_.get();
    }

    Platform& platform() override { return platform_; }

private:
    std::unique_ptr<Registry> registry_;
    std::unique_ptr<Files> files_;
    std::unique_ptr<ProfileFiles> profiles_;
    std::unique_ptr<ShellFolders> shellFolders_;
    std::unique_ptr<System> system_;
    Platform platform_;
};

}  // namespace

// The registry store file of the options is a Linux matter: Windows has the
// real registry.
std::unique_ptr<NativePlatform> createNativePlatform(const NativeOptions& /*options*/) {
    return std::make_unique<Win32Platform>();
}

}  // namespace cindral::platform
