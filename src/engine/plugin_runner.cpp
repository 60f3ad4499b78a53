#include "engine/plugin_runner.h"

#include "engine/path_template.h"
#include "engine/plugin_file.h"
#include "engine/registry_cleaner.h"

namespace cindral::engine {
namespace {

// `read(section, n)` gives "Item" + n of the section.
template <typename Read>
void runPlugin(EngineContext& ctx, Read read) {
    // Keeper lists belong to three built-in items; nothing a plug-in names
    // is ever protected by them.
    ctx.run.KeeperMode = kKeeperNone;
    for (const char* section : {kRegistrySection, kFilesSection}) {
        for (int n = 1; n <= kMaxPluginItems; ++n) {
            if (ctx.run.stopped()) return;
            const std::string value = read(section, n);
            if (value.empty()) break;
            if (section == kRegistrySection)
                CleanRegistryEntry(ctx, value, nullptr);
            else
                CleanPathTemplate(ctx, value);
        }
    }
}

std::string itemKey(int n) { return "Item" + std::to_string(n); }

}  // namespace

void RunPlugin(EngineContext& ctx, const std::string& pluginPath) {
    runPlugin(ctx, [&](const char* section, int n) {
        return ctx.platform.profiles->readString(pluginPath, section, itemKey(n), "");
    });
}

void RunPluginText(EngineContext& ctx, const std::string& bytes) {
    runPlugin(ctx, [&](const char* section, int n) {
        return ReadPluginValue(bytes, section, itemKey(n));
    });
}

}  // namespace cindral::engine
