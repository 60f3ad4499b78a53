// The selection of built-in items and plug-ins: section "Items" of
// "Data\SelItems.dat", values "1" or "0", a missing file or key meaning
// selected. Every call goes to the file; nothing is cached.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"
#include "selection/plugin_list.h"

namespace cindral::selection {

// The key an item is stored under. A plug-in title is free text, but in the
// file "=" ends a key, a line starting with "[" is a section and a CR or LF
// ends the line (a file name, the key of a plug-in without a title, may hold
// one on Linux): a title holding any of them would be written as one key and
// read back as another, so the item could never be switched off and every
// rebuild would append it anew. Each "=", CR and LF, and a "[" that starts
// the key, is stored as "_"; the title shown is unchanged.
std::string SelectionKey(const std::string& key);

// A file that exists but cannot be read gives the profile functions their
// defaults, which read as selected: every item the user switched off would
// run. Such a file selects nothing instead; `files` tells it from a missing
// one, which selects everything. Whether it can be read is asked once, when
// the store is made: a queue rebuild or a run reads every key.
class SelectionStore {
public:
    SelectionStore(platform::ProfileFiles& profiles, platform::Files& files, std::string path);

    // The text rule of the queue and the runs: anything but exactly "0".
    bool IsSelected(const std::string& key);
    // The number rule of the dialog's 24 check boxes: leading number not 0.
    bool IsChecked(const std::string& key);
    // Writes "1" or "0"; false when the profile write failed.
    bool SetSelected(const std::string& key, bool selected);
    // IsSelected, and a selected key is then stored as "1": a key new to
    // the store is recorded, a stored "1" is not written again.
    bool KeepSelected(const std::string& key);

    const std::string& path() const { return path_; }

private:
    platform::ProfileFiles& profiles_;
    std::string path_;
    bool readable_;
};

struct PluginRow {
    std::string caption;  // the plug-in's key
    std::string author;
    bool checked = false;
};

struct SelectionDialogState {
    std::vector<std::string> builtInKeys;  // the built-in items in the dialog's order
    std::vector<bool> builtIn;             // their check boxes, CB1 first
    std::vector<PluginRow> plugins;        // enumeration order
};

// Filling the dialog: a box per built-in key (given in the dialog's order)
// by IsChecked; a row per plug-in, checked unless stored "0", and "1"
// written for each plug-in not stored as "0".
SelectionDialogState FillSelectionDialog(platform::Platform& platform, SelectionStore& store,
                                         const std::string& homeFolder,
                                         const std::vector<std::string>& builtInKeys);

// OK: the built-in keys, then every plug-in row in list order (a later row
// with the same key decides). False when any write failed.
bool SaveSelectionDialog(SelectionStore& store, const SelectionDialogState& state);

}  // namespace cindral::selection
