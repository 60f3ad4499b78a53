// The 24 built-in items in one table: what the item queue, a run, the
// selection store and the Erase Items dialog know of each, and what it runs.
// Start-up queues them in table order and a run walks them in that order; the
// dialog shows them in the order of its check boxes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/run_state.h"
#include "selection/item_group.h"

namespace cindral::engine {

constexpr int kBuiltInItemCount = 24;

// The Erase Items dialog's groups of check boxes.
using selection::ItemGroup;

// What an item asks of the system besides registry entries and files.
enum class ItemService {
    None,
    UrlCacheAndHistory,  // clean run only: the URL cache, then the URL history
    RecycleBin,
    Clipboard,  // clean run only
    DriveScan,  // the fixed drives with the masks of "DriveScan.dat"
};

// Up to three texts, in order; the unused ones are null.
using ItemTexts = std::array<const char*, 3>;

// In this order: the keeper list is loaded, then the registry entries run,
// then the path templates, then the names below the Opera folder, then the
// service.
struct ItemAction {
    int keeperMode;        // kKeeperNone, or the keeper list the item consults
    ItemTexts registry;    // registry entries
    ItemTexts templates;   // path templates
    ItemTexts operaFiles;  // names below the Opera folder, used as they stand
    ItemService service;
};

struct BuiltInItem {
    const char* name;     // the row's caption and the key in "SelItems.dat"
    int digit;            // category digit: the row's resting icon
    int checkBox;         // n of the dialog's check box CBn
    ItemGroup group;      // the dialog's group of that check box
    const char* caption;  // the check box's caption
    ItemAction action;
};

// The 24 items in catalogue order.
const std::array<BuiltInItem, kBuiltInItemCount>& BuiltInItems();

// Position (1 to 24) of the item whose name equals the text exactly, letter
// case included; 0 when there is none.
int FindBuiltInItem(const std::string& name);

// The 24 items in the order of the dialog's check boxes, CB1 first.
std::vector<const BuiltInItem*> ItemsInDialogOrder();

}  // namespace cindral::engine
