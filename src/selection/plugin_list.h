// The plug-in enumeration shared by the item-queue rebuild, the runs and the
// Erase Items dialog, so all three derive the same keys from the same files.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace cindral::selection {

struct PluginFile {
    std::string fileName;  // as listed, e.g. "Tool.cnp"
    std::string path;      // home + "Plug-ins\" + file name: the path the file is opened by
    std::string key;       // its title, or the file name less its last extension
    std::string author;    // "Author" of section "Plugin", when asked for
};

// The folder listed for plug-ins and the folder a plug-in is opened through.
std::string PluginListFolder(const std::string& homeFolder);  // home + "Plug-Ins\"
std::string PluginFilePath(const std::string& homeFolder, const std::string& fileName);

// "Tool.cnp" -> "Tool", "a.b.cnp" -> "a.b". A name that would come out empty
// (".cnp") stays whole, so no plug-in is ever stored under an empty key.
std::string PluginKeyFromFileName(const std::string& fileName);

// The title rule: "Title" of section "Plugin", or, when that is empty, the
// key from the file name. The enumeration and the runs both use it.
std::string ReadPluginTitle(platform::ProfileFiles& profiles, const std::string& pluginPath,
                            const std::string& fileName);

// Every file in "Plug-Ins\" whose name ends in ".cnp" (any letter case),
// folders excluded, sorted by name without regard to case in the user's
// locale (ties keep the listing order). A missing folder gives no plug-ins.
// `withAuthors` also reads each author, right after the title while the
// system still holds the file.
std::vector<PluginFile> ListPlugins(platform::Platform& platform, const std::string& homeFolder,
                                    bool withAuthors = false);

// The same listing of any folder ("\" at its end), each path being the
// folder + the file name: the plug-in editor lists "PluginFolder" with it.
std::vector<PluginFile> ListPluginFolder(platform::Platform& platform, const std::string& folder,
                                         bool withAuthors = false);

// "Author" of section "Plugin" (empty by default), shown by the dialog.
std::string ReadPluginAuthor(platform::ProfileFiles& profiles, const std::string& pluginPath);

}  // namespace cindral::selection
