// The home folder: the folder of the program's executable, with its trailing
// "\". Every file of the program is found relative to it.
#pragma once

#include <string>

#include "platform/platform.h"

namespace cindral::app {

// The executable's full path up to and including its last "\" (or the ":"
// of a bare drive prefix); empty when the path has neither.
std::string HomeFolderOf(const std::string& executablePath);
std::string HomeFolder(platform::System& system);

// Creates "Data\" and "Plug-Ins\" (with missing parents) when missing.
// Failure is not reported to the user; the result says whether both exist.
bool CreateHomeFolders(platform::Files& files, const std::string& home);

}  // namespace cindral::app
