// The services the portable core needs of the operating system, handed to it
// as one bundle so tests can give it a sandbox.
#pragma once

#include <memory>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell_folders.h"
#include "platform/system.h"

namespace cindral::platform {

struct Platform {
    Registry* registry = nullptr;
    ProfileFiles* profiles = nullptr;
    Files* files = nullptr;
    ShellFolders* shellFolders = nullptr;
    System* system = nullptr;
};

}  // namespace cindral::platform
