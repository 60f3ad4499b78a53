// The drive map of the Linux backend: which host folder each drive letter
// stands for, and Windows paths read into drive and components. Pure text:
// nothing here touches the file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

namespace cindral::platform {

struct DriveMapping {
    char letter = 'C';     // 'A' to 'Z'
    std::string hostRoot;  // absolute host folder
    std::uint32_t type = kDriveFixed;
};

// A Windows path as read against the drive map.
struct WindowsPath {
    std::size_t drive = 0;             // index into DriveMap::drives()
    std::vector<std::string> parts;    // as written
    std::vector<std::string> trimmed;  // as Windows reads them (trailing dots and spaces dropped)
    bool trailingSeparator = false;    // names a folder, never a file
};

class DriveMap {
public:
    // Letters are taken in upper case, host folders without a trailing "/".
    explicit DriveMap(std::vector<DriveMapping> drives);

    const std::vector<DriveMapping>& drives() const { return drives_; }
    // The drive of a letter in either case; null when it is not mapped.
    const DriveMapping* find(char letter) const;

    // Reads "X:\..." (or "X:/...") on a mapped drive; "." and ".." are
    // resolved on the text, never above the drive root. False for relative,
    // drive-relative, UNC and unmapped paths and for a path holding a NUL.
    bool parse(const std::string& path, WindowsPath& out) const;
    // parse() for a path naming a file: neither the drive root nor a path
    // ending in a separator does.
    bool parseFile(const std::string& path, WindowsPath& out) const;

    // The Windows name of an absolute host path, through the drive whose
    // folder is the longest prefix of it; empty when no drive holds it or a
    // name contains "\".
    std::string toWindowsPath(const std::string& hostPath) const;
    // The host path of a Windows path, component by component as written
    // (no case-insensitive look-up); false where parse() is.
    bool toHostPath(const std::string& windowsPath, std::string& host) const;

private:
    std::vector<DriveMapping> drives_;
};

}  // namespace cindral::platform
