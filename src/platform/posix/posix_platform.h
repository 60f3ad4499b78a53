// The Linux backend as one platform bundle, configured by a drive map, a
// registry store file, the shell folders, the temp folder and the Windows
// folder. The program takes them from the environment; the test sandbox
// points every one of them into its own temporary folder.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/native.h"
#include "platform/posix/files_posix.h"

namespace cindral::platform {

class PosixRegistry;
class PosixProfileFiles;
class PosixShellFolders;
class PosixSystem;

struct PosixConfig {
    std::vector<DriveMapping> drives;
    std::string registryFile;                 // host path of the REGEDIT4 store
    std::map<int, std::string> shellFolders;  // CSIDL -> host folder
    std::string tempFolder;                   // host folder; empty: $TMPDIR, else /tmp
    // Windows path of the Windows folder. The host has none, so by default
    // "%WINDOWS%" names nothing: a "Windows" folder of the user's own below
    // C: is not one the items may clean.
    std::string windowsFolder;
};

// The default drive map, the XDG folders, $TMPDIR, and the registry store
// from the options (else $XDG_CONFIG_HOME or ~/.config + "/Cindral/registry.reg").
PosixConfig fromEnvironment(const NativeOptions& options);

class PosixPlatform : public NativePlatform {
public:
    explicit PosixPlatform(const PosixConfig& config);
    ~PosixPlatform() override;

    Platform& platform() override { return platform_; }
    PosixFiles& files() { return *files_; }

private:
    std::unique_ptr<PosixFiles> files_;
    std::unique_ptr<PosixRegistry> registry_;
    std::unique_ptr<PosixProfileFiles> profiles_;
    std::unique_ptr<PosixShellFolders> shellFolders_;
    std::unique_ptr<PosixSystem> system_;
    Platform platform_;
};

}  // namespace cindral::platform
