// Special folders of the current user (SHGetSpecialFolderLocation followed by
// SHGetPathFromIDList). No trailing "\"; empty text when the system cannot
// provide the folder.
#pragma once

#include <string>

namespace cindral::platform {

constexpr int kCsidlRecent = 8;
constexpr int kCsidlAppData = 26;
constexpr int kCsidlLocalAppData = 28;
constexpr int kCsidlInternetCache = 32;
constexpr int kCsidlCookies = 33;
constexpr int kCsidlHistory = 34;
constexpr int kCsidlSystem = 37;
constexpr int kCsidlProgramFiles = 38;
constexpr int kCsidlProfile = 40;
constexpr int kCsidlSystemX86 = 41;
constexpr int kCsidlProgramFilesX86 = 42;

class ShellFolders {
public:
    virtual ~ShellFolders() = default;
    virtual std::string specialFolder(int csidl) = 0;
};

}  // namespace cindral::platform
