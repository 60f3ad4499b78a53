#include "app/home_folder.h"

#include "app/data_paths.h"

namespace cindral::app {

std::string HomeFolderOf(const std::string& executablePath) {
    const std::size_t cut = executablePath.find_last_of("\\:");
    if (cut == std::string::npos) return {};
    return executablePath.substr(0, cut + 1);
}

std::string HomeFolder(platform::System& system) { return HomeFolderOf(system.executablePath()); }

bool CreateHomeFolders(platform::Files& files, const std::string& home) {
    const DataPaths paths = DataPaths::forHome(home);
    const bool data = files.createFolder(paths.dataFolder);
    const bool plugins = files.createFolder(paths.pluginFolder);
    return data && plugins;
}

}  // namespace cindral::app
