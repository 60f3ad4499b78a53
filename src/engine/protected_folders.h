// Folders no path template may empty, with subfolders or at their top: a
// drive root, the Windows and system folders, Program Files, the user's
// profile folder itself and the program's own home. A template or custom
// folder record that comes out as one of them (a macro expanding to nothing
// or to such a folder, a typing slip) would otherwise erase the system or
// every document of the user.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace cindral::engine {

// The folders of this system to protect besides the drive roots: Windows,
// system (both views), Program Files (both views), the profile folder and
// `homeFolder`. A folder the system cannot name is left out.
std::vector<std::string> ProtectedFolders(platform::Platform& platform,
                                          const std::string& homeFolder);

// True when `folder` is a drive root ("C:\", "\\server\share") or names one of
// `protectedFolders`, compared without regard to case after the spellings
// Windows takes for the same folder are undone: "/" for "\", doubled and
// trailing separators, "." and ".." parts, trailing dots and blanks of a
// name, the "\\?\" prefix.
bool IsProtectedFolder(const std::string& folder, const std::vector<std::string>& protectedFolders,
                       platform::System& system);

}  // namespace cindral::engine
