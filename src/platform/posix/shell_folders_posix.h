// Special folders on Linux: the XDG folders where one fits, given as
// Windows paths through the drive map. A folder Linux has no equivalent for
// is the empty text, as the shell gives for a folder it cannot provide.
#pragma once

#include <map>
#include <string>

#include "platform/shell_folders.h"

namespace cindral::platform {

class PosixFiles;

class PosixShellFolders : public ShellFolders {
public:
    // `hostFolders`: CSIDL -> absolute host folder; a CSIDL not in the map,
    // or mapped to "", has no folder.
    PosixShellFolders(const PosixFiles& files, std::map<int, std::string> hostFolders);

    // CSIDL_APPDATA = $XDG_CONFIG_HOME (else ~/.config), CSIDL_LOCAL_APPDATA
    // = $XDG_DATA_HOME (else ~/.local/share), CSIDL_INTERNET_CACHE =
    // $XDG_CACHE_HOME (else ~/.cache), CSIDL_PROFILE = the home folder;
    // nothing for the others.
    static std::map<int, std::string> defaultFolders();

    std::string specialFolder(int csidl) override;

private:
    const PosixFiles& files_;
    std::map<int, std::string> hostFolders_;
};

}  // namespace cindral::platform
