#include "engine/plugin_runner.h"

#include "engine/path_template.h"
#include "engine/registry_cleaner.h"

namespace cindral::engine {
namespace {

template <typename Action>
void runSection(EngineContext& ctx, const std::string& path, const char* section, Action action) {
    for (int n = 1; n <= kMaxPluginItems; ++n) {
        if (ctx.run.stopped()) return;
        const std::string value =
            ctx.platform.profiles->readString(path, section, "Item" + std::to_string(n), "");
        if (value.empty()) return;
        action(value);
    }
}

}  // namespace

void RunPlugin(EngineContext& ctx, const std::string& pluginPath) {
    // Keeper lists belong to three built-in items; nothing a plug-in names
    // is ever protected by them.
    ctx.run.KeeperMode = kKeeperNone;
    runSection(ctx, pluginPath, "Registry",
               [&](const std::string& entry) { CleanRegistryEntry(ctx, entry, nullptr); });
    runSection(ctx, pluginPath, "Files",
               [&](const std::string& pathTemplate) { CleanPathTemplate(ctx, pathTemplate); });
}

}  // namespace cindral::engine
