#include "selection/plugin_list.h"

#include <algorithm>

namespace cindral::selection {

namespace {

bool endsWithNoCase(const std::string& name, const std::string& suffix) {
    if (name.size() < suffix.size()) return false;
    const std::size_t off = name.size() - suffix.size();
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        char c = name[off + i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i]) return false;
    }
    return true;
}

}  // namespace

std::string PluginListFolder(const std::string& homeFolder) { return homeFolder + "Plug-Ins\\"; }

std::string PluginFilePath(const std::string& homeFolder, const std::string& fileName) {
    return homeFolder + "Plug-ins\\" + fileName;
}

std::string PluginKeyFromFileName(const std::string& fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || dot == 0) return fileName;
    return fileName.substr(0, dot);
}

std::string ReadPluginTitle(platform::ProfileFiles& profiles, const std::string& pluginPath,
                            const std::string& fileName) {
    std::string title = profiles.readString(pluginPath, "Plugin", "Title", "");
    return title.empty() ? PluginKeyFromFileName(fileName) : title;
}

namespace {

// `pathOf(name)` is the path a listed file is opened by.
template <typename PathOf>
std::vector<PluginFile> listPlugins(platform::Platform& platform, const std::string& folder,
                                    PathOf pathOf, bool withAuthors) {
    std::vector<platform::DirEntry> entries;
    std::vector<PluginFile> plugins;
    if (!platform.files->listFolder(folder, entries)) return plugins;
    for (const auto& e : entries) {
        if (e.attributes & platform::kAttrDirectory) continue;
        if (!endsWithNoCase(e.name, ".cnp")) continue;
        plugins.push_back({e.name, pathOf(e.name), {}, {}});
    }
    platform::System& sys = *platform.system;
    std::stable_sort(plugins.begin(), plugins.end(),
                     [&sys](const PluginFile& a, const PluginFile& b) {
                         return sys.compareNoCase(a.fileName, b.fileName) < 0;
                     });
    for (auto& p : plugins) {
        p.key = ReadPluginTitle(*platform.profiles, p.path, p.fileName);
        if (withAuthors) p.author = ReadPluginAuthor(*platform.profiles, p.path);
    }
    return plugins;
}

}  // namespace

std::vector<PluginFile> ListPlugins(platform::Platform& platform, const std::string& homeFolder,
                                    bool withAuthors) {
    return listPlugins(
        platform, PluginListFolder(homeFolder),
        [&](const std::string& name) { return PluginFilePath(homeFolder, name); }, withAuthors);
}

std::vector<PluginFile> ListPluginFolder(platform::Platform& platform, const std::string& folder,
                                         bool withAuthors) {
    return listPlugins(
        platform, folder, [&](const std::string& name) { return folder + name; }, withAuthors);
}

std::string ReadPluginAuthor(platform::ProfileFiles& profiles, const std::string& pluginPath) {
    return profiles.readString(pluginPath, "Plugin", "Author", "");
}

}  // namespace cindral::selection
