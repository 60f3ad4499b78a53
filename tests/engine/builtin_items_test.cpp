#include "engine/builtin_items.h"

#include <gtest/gtest.h>

#include <set>

namespace cindral::engine {
namespace {

// The names are the keys of "SelItems.dat": a changed name loses the user's
// stored choice. Every check box of the dialog stands for one item.
TEST(BuiltInItems, NamesAreTheStoredKeysAndEachCheckBoxHasOneItem) {
    std::string names;
    std::set<int> boxes;
    for (const BuiltInItem& item : BuiltInItems()) {
        names += std::string(item.name) + "|";
        EXPECT_EQ(&BuiltInItems().at(FindBuiltInItem(item.name) - 1), &item);
        EXPECT_EQ(ItemsInDialogOrder().at(item.checkBox - 1), &item) << item.name;
        boxes.insert(item.checkBox);
    }
    EXPECT_EQ(boxes.size(), std::size_t(kBuiltInItemCount));
    EXPECT_EQ(names,
              "IE Address Drop-Down List|IE Cookies|IE Cache (Temporary Internet Files)|"
              "Index.dat File|IE Autocomplete Forms and Passwords|"
              "Windows Open/Save Dialog History|Windows Search History|Windows Recent Documents|"
              "Windows Run History|Windows Temp Folder|Windows Recycle Bin|Clipboard|"
              "Netscape Address Drop-Down List|Netscape Cookies|Netscape Cache|"
              "Netscape History Files|Opera Address Drop-Down List|Opera Cookies|Opera Cache|"
              "AOL Address Drop-Down List|AOL Cookies|AOL Cache|AOL History Files|"
              "Drive Scan with Mask|");
    for (const char* name : {"clipboard", "1Clipboard", "Clipboard ", ""})
        EXPECT_EQ(FindBuiltInItem(name), 0) << name;
}

}  // namespace
}  // namespace cindral::engine
