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

std::vector<PluginFile> ListPlugins(platform::Platform& platform, const std::string& homeFolder,
                                    bool withAuthors) {
    std::vector<platform::DirEntry> entries;
    std::vector<PluginFile> plugins;
    if (!platform.files->listFolder(PluginListFolder(homeFolder), entries)) return plugins;
    for (const auto& e : entries) {
        if (e.attributes & platform::kAttrDirectory) continue;
        if (!endsWithNoCase(e.name, ".cnp")) continue;
        plugins.push_back({e.name, PluginFilePath(homeFolder, e.name), {}, {}});
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

std::string ReadPluginAuthor(platform::ProfileFiles& profiles, const std::string& pluginPath) {
    return profiles.readString(pluginPath, "Plugin", "Author", "");
}

}  // namespace cindral::selection
