#include "selection/selection_store.h"

#include "selection/line_file.h"

namespace cindral::selection {

namespace {
constexpr const char* kSection = "Items";
}

std::string SelectionKey(const std::string& key) {
    std::string stored = key;
    for (char& c : stored)
        if (c == '=' || c == '\r' || c == '\n') c = '_';
    const std::size_t first = stored.find_first_not_of(" \t");
    if (first != std::string::npos && stored[first] == '[') stored[first] = '_';
    return stored;
}

SelectionStore::SelectionStore(platform::ProfileFiles& profiles, platform::Files& files,
                               std::string path)
    : profiles_(profiles), path_(std::move(path)) {
    std::string bytes;
    readable_ = readTextBytes(files, path_, bytes) != ReadStatus::Unreadable;
}

bool SelectionStore::IsSelected(const std::string& key) {
    return readable_ && profiles_.readString(path_, kSection, SelectionKey(key), "1") != "0";
}

bool SelectionStore::IsChecked(const std::string& key) {
    return readable_ && profiles_.readInt(path_, kSection, SelectionKey(key), 1) != 0;
}

bool SelectionStore::SetSelected(const std::string& key, bool selected) {
    return profiles_.writeString(path_, kSection, SelectionKey(key), selected ? "1" : "0");
}

bool SelectionStore::KeepSelected(const std::string& key) {
    if (!readable_) return false;
    const std::string stored = profiles_.readString(path_, kSection, SelectionKey(key), "");
    if (stored == "0") return false;
    if (stored != "1") SetSelected(key, true);
    return true;
}

SelectionDialogState FillSelectionDialog(platform::Platform& platform, SelectionStore& store,
                                         const std::string& homeFolder,
                                         const std::vector<std::string>& builtInKeys) {
    SelectionDialogState state;
    state.builtInKeys = builtInKeys;
    for (const auto& key : builtInKeys) state.builtIn.push_back(store.IsChecked(key));
    for (auto& plugin : ListPlugins(platform, homeFolder, true)) {
        const bool checked = store.KeepSelected(plugin.key);
        state.plugins.push_back({std::move(plugin.key), std::move(plugin.author), checked});
    }
    return state;
}

bool SaveSelectionDialog(SelectionStore& store, const SelectionDialogState& state) {
    bool ok = true;
    for (std::size_t i = 0; i < state.builtInKeys.size() && i < state.builtIn.size(); ++i)
        ok = store.SetSelected(state.builtInKeys[i], state.builtIn[i]) && ok;
    for (const auto& row : state.plugins) ok = store.SetSelected(row.caption, row.checked) && ok;
    return ok;
}

}  // namespace cindral::selection
