#include "app/item_queue.h"

#include "engine/builtin_items.h"
#include "selection/custom_record_list.h"
#include "selection/plugin_list.h"
#include "selection/selection_store.h"

namespace cindral::app {

const char* const kStatusPending = "Pending";

ItemQueue RebuildItemQueue(platform::Platform& platform, const DataPaths& paths) {
    ItemQueue queue;
    selection::SelectionStore store(*platform.profiles, *platform.files, paths.selItems);
    for (const auto& item : engine::BuiltInItems()) {
        if (!store.KeepSelected(item.name)) continue;
        queue.rows.push_back({item.name, item.digit, kStatusPending});
    }
    for (const auto& plugin : selection::ListPlugins(platform, paths.home)) {
        queue.pluginFiles.push_back(plugin.fileName);
        if (!store.KeepSelected(plugin.key)) continue;
        queue.rows.push_back({plugin.key, kIconPlugin, kStatusPending});
    }
    queue.registryTitles = selection::EnabledRecordTitles(*platform.files, paths.customRegistry);
    for (const auto& title : queue.registryTitles)
        queue.rows.push_back({title, kIconCustomRegistry, kStatusPending});
    queue.folderTitles = selection::EnabledRecordTitles(*platform.files, paths.customFolder);
    for (const auto& title : queue.folderTitles)
        queue.rows.push_back({title, kIconCustomFolder, kStatusPending});
    return queue;
}

int ChooseImageSet(const platform::SystemVersion& version) {
    // The newer icon set belongs to XP and every NT release after it; comparing
    // major and minor separately would hand Vista (6.0) and 10.0 the old set.
    const bool first = version.platformId == platform::kPlatformNt &&
                       (version.major > 5 || (version.major == 5 && version.minor >= 1));
    return first ? 0 : 1;
}

}  // namespace cindral::app
