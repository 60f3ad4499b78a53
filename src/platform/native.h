// The backend of the build: Win32 on Windows, posix on Linux.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace cindral::platform {

struct NativeOptions {
    // Linux only: the registry store file. Empty: $XDG_CONFIG_HOME (else
    // ~/.config) + "/Cindral/registry.reg". Ignored on Windows.
    std::string registryFile;
};

// Owns the backend objects behind a Platform bundle.
class NativePlatform {
public:
    virtual ~NativePlatform() = default;
    virtual Platform& platform() = 0;
};

std::unique_ptr<NativePlatform> createNativePlatform(const NativeOptions& options);

}  // namespace cindral::platform
