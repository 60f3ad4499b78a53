// The selection of built-in items and plug-ins: section "Items" of
// "Data\SelItems.dat", values "1" or "0", a missing file or key meaning
// selected. Every call goes to the file; nothing is cached.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "selection/plugin_list.h"

namespace cindral::selection {

class SelectionStore {
public:
    SelectionStore(platform::ProfileFiles& profiles, std::string path)
        : profiles_(profiles), path_(std::move(path)) {}

    // The text rule of the queue and the runs: anything but exactly "0".
    bool IsSelected(const std::string& key);
    // The number rule of the dialog's 24 check boxes: leading number not 0.
    bool IsChecked(const std::string& key);
    // Writes "1" or "0"; false when the profile write failed.
    bool SetSelected(const std::string& key, bool selected);

    const std::string& path() const { return path_; }

private:
    platform::ProfileFiles& profiles_;
    std::string path_;
};

// The 24 built-in keys in the order the Erase Items dialog reads and writes
// them, with the check box (CB1 to CB24) and its caption.
struct DialogBuiltInItem {
    const char* key;
    const char* caption;
};
const std::array<DialogBuiltInItem, 24>& DialogBuiltInItems();

struct PluginRow {
    std::string caption;  // the plug-in's key
    std::string author;
    bool checked = false;
};

struct SelectionDialogState {
    std::array<bool, 24> builtIn{};  // CB1..CB24, dialog order
    std::vector<PluginRow> plugins;  // enumeration order
};

// Filling the dialog: the 24 boxes by IsChecked; a row per plug-in, checked
// unless stored "0", and "1" written for each plug-in not stored as "0".
SelectionDialogState FillSelectionDialog(platform::Platform& platform, SelectionStore& store,
                                         const std::string& homeFolder);

// OK: the 24 keys, then every plug-in row in list order (a later row with the
// same key decides). False when any write failed.
bool SaveSelectionDialog(SelectionStore& store, const SelectionDialogState& state);

}  // namespace cindral::selection
