#include "selection/selection_store.h"

namespace cindral::selection {

namespace {
constexpr const char* kSection = "Items";
}

bool SelectionStore::IsSelected(const std::string& key) {
    return profiles_.readString(path_, kSection, key, "1") != "0";
}

bool SelectionStore::IsChecked(const std::string& key) {
    return profiles_.readInt(path_, kSection, key, 1) != 0;
}

bool SelectionStore::SetSelected(const std::string& key, bool selected) {
    return profiles_.writeString(path_, kSection, key, selected ? "1" : "0");
}

const std::array<DialogBuiltInItem, 24>& DialogBuiltInItems() {
    static const std::array<DialogBuiltInItem, 24> items = {{
        {"Windows Open/Save Dialog History", "Windows Open/Save Dialog History"},
        {"Windows Search History", "Windows Search History"},
        {"Windows Recent Documents", "Windows Recent Documents"},
        {"Windows Run History", "Windows Run History"},
        {"Windows Temp Folder", "Windows Temp Folder"},
        {"Windows Recycle Bin", "Windows Recycle Bin"},
        {"Clipboard", "Clipboard"},
        {"IE Address Drop-Down List", "Address Drop-Down List"},
        {"IE Cookies", "Cookies"},
        {"IE Cache (Temporary Internet Files)", "Cache (Temporary Internet Files)"},
        {"Index.dat File", "Index.dat File"},
        {"IE Autocomplete Forms and Passwords", "Autocomplete Forms and Passwords"},
        {"Netscape Address Drop-Down List", "Address Drop-Down List"},
        {"Netscape Cookies", "Cookies"},
        {"Netscape Cache", "Cache (Temporary Internet Files)"},
        {"Netscape History Files", "History Files"},
        {"Opera Address Drop-Down List", "Address Drop-Down List"},
        {"Opera Cookies", "Cookies"},
        {"Opera Cache", "Cache and History"},
        {"AOL Address Drop-Down List", "Address Drop-Down List"},
        {"AOL Cookies", "Cookies"},
        {"AOL Cache", "Cache (Temporary Internet Files)"},
        {"AOL History Files", "Internet History Files"},
        {"Drive Scan with Mask", "Enable Drive Scanning"},
    }};
    return items;
}

SelectionDialogState FillSelectionDialog(platform::Platform& platform, SelectionStore& store,
                                         const std::string& homeFolder) {
    SelectionDialogState state;
    const auto& items = DialogBuiltInItems();
    for (std::size_t i = 0; i < items.size(); ++i) state.builtIn[i] = store.IsChecked(items[i].key);
    for (const auto& plugin : ListPlugins(platform, homeFolder)) {
        PluginRow row;
        row.caption = plugin.key;
        row.author = ReadPluginAuthor(*platform.profiles, plugin.path);
        row.checked = store.IsSelected(plugin.key);
        if (row.checked) store.SetSelected(plugin.key, true);
        state.plugins.push_back(std::move(row));
    }
    return state;
}

bool SaveSelectionDialog(SelectionStore& store, const SelectionDialogState& state) {
    bool ok = true;
    const auto& items = DialogBuiltInItems();
    for (std::size_t i = 0; i < items.size(); ++i)
        ok = store.SetSelected(items[i].key, state.builtIn[i]) && ok;
    for (const auto& row : state.plugins) ok = store.SetSelected(row.caption, row.checked) && ok;
    return ok;
}

}  // namespace cindral::selection
