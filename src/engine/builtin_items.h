// The 24 built-in items: their names, their order and their category digits.
// Start-up queues them in this order, a run walks them in this order, the
// catalogue gives each its action and the selection store keys each by name.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace cindral::engine {

constexpr int kBuiltInItemCount = 24;

// Each text is the category digit followed directly by the item's name. The
// digit is the row's resting icon in the item queue: 0 Internet Explorer,
// 1 Windows, 2 recycle bin, 5 Netscape, 6 Opera, 7 AOL, 8 drive scan.
inline constexpr std::array<const char*, kBuiltInItemCount> BuiltInItems = {
    "0IE Address Drop-Down List",
    "0IE Cookies",
    "0IE Cache (Temporary Internet Files)",
    "0Index.dat File",
    "0IE Autocomplete Forms and Passwords",
    "1Windows Open/Save Dialog History",
    "1Windows Search History",
    "1Windows Recent Documents",
    "1Windows Run History",
    "1Windows Temp Folder",
    "2Windows Recycle Bin",
    "1Clipboard",
    "5Netscape Address Drop-Down List",
    "5Netscape Cookies",
    "5Netscape Cache",
    "5Netscape History Files",
    "6Opera Address Drop-Down List",
    "6Opera Cookies",
    "6Opera Cache",
    "7AOL Address Drop-Down List",
    "7AOL Cookies",
    "7AOL Cache",
    "7AOL History Files",
    "8Drive Scan with Mask",
};

struct BuiltInItem {
    int position = 0;  // 1 to 24, catalogue order
    int digit = 0;     // category digit, the resting icon index
    std::string name;  // row caption and key in "SelItems.dat"
};

// All 24 entries in catalogue order.
std::vector<BuiltInItem> enumerateBuiltInItems();

// The entry at a position of 1 to 24; position 0 and an empty name otherwise.
BuiltInItem builtInItemAt(int position);

// Position (1 to 24) of the entry whose name equals the text exactly, letter
// case included; 0 when there is none.
int FindBuiltInItem(const std::string& name);

}  // namespace cindral::engine
