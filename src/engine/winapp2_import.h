// Conversion of winapp2.ini entries (a community format of cleaning rules)
// into plug-in files. Only what a plug-in runs the same way is converted:
// FileKey (with or without RECURSE), RegKey (with or without a value name)
// and the environment variables a path macro stands for. Everything else is
// listed with its reason, never guessed at.
#pragma once

#include <string>
#include <vector>

#include "engine/plugin_file.h"
#include "platform/platform.h"

namespace cindral::engine {

struct ImportedPlugin {
    std::string fileName;  // from the title, with the characters Windows refuses replaced
    PluginDocument doc;
};

struct Winapp2Import {
    std::vector<ImportedPlugin> plugins;
    // One line per entry, key or line not converted, or converted only in
    // part: "[Name *] FileKey2=...: reason" or "line 7: reason".
    std::vector<std::string> notConverted;
};

// `sourceName` names the file in each plug-in's author line and header.
// Every converted entry passes the plug-in checker; one that does not is
// listed with the checker's finding instead.
Winapp2Import ImportWinapp2(const std::string& bytes, const std::string& sourceName,
                            platform::Platform& p);

}  // namespace cindral::engine
