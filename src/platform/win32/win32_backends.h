// Factories of the Win32 service objects that make up the native platform.
// Kept free of <windows.h> so only the .cpp files of this folder see it.
#pragma once

#include <memory>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell_folders.h"
#include "platform/system.h"

namespace cindral::platform::win32 {

std::unique_ptr<Registry> createRegistry();
// Reads files of the legacy code page through `files`, which must outlive it.
std::unique_ptr<ProfileFiles> createProfileFiles(Files& files);
std::unique_ptr<Files> createFiles();
std::unique_ptr<ShellFolders> createShellFolders();
std::unique_ptr<System> createSystem();

}  // namespace cindral::platform::win32
