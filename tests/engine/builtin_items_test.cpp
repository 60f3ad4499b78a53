#include "engine/builtin_items.h"

#include <gtest/gtest.h>

namespace cindral::engine {
namespace {

// The names are the keys of "SelItems.dat": a changed name loses the user's
// stored choice; each is shown after its category digit, the row's resting
// icon. Every check box of the dialog stands for one item.
TEST(BuiltInItems, NamesAreTheStoredKeysAndEachCheckBoxHasOneItem) {
    std::string names;
    for (const BuiltInItem& item : BuiltInItems()) {
        names += std::to_string(item.digit) + item.name + "|";
        const int at = FindBuiltInItem(item.name);
        EXPECT_EQ(&BuiltInItems().at(at - 1), &item);
        // The five Internet Explorer items lead the catalogue but follow the
        // seven Windows boxes in the dialog; the rest share their number.
        EXPECT_EQ(item.checkBox, at <= 5 ? at + 7 : at <= 12 ? at - 5 : at) << item.name;
        EXPECT_EQ(ItemsInDialogOrder().at(item.checkBox - 1), &item) << item.name;
    }
    EXPECT_EQ(names,
              "0IE Address Drop-Down List|0IE Cookies|0IE Cache (Temporary Internet Files)|"
              "0Index.dat File|0IE Autocomplete Forms and Passwords|"
              "1Windows Open/Save Dialog History|1Windows Search History|"
              "1Windows Recent Documents|1Windows Run History|1Windows Temp Folder|"
              "2Windows Recycle Bin|1Clipboard|5Netscape Address Drop-Down List|"
              "5Netscape Cookies|5Netscape Cache|5Netscape History Files|"
              "6Opera Address Drop-Down List|6Opera Cookies|6Opera Cache|"
              "7AOL Address Drop-Down List|7AOL Cookies|7AOL Cache|7AOL History Files|"
              "8Drive Scan with Mask|");
    // The caption beside each box, CB1 first: a caption on another item's box
    // has the user switch off one trace and erase another.
    std::string captions;
    for (const BuiltInItem* item : ItemsInDialogOrder())
        captions += std::string(item->caption) + "|";
    EXPECT_EQ(captions,
              "Windows Open/Save Dialog History|Windows Search History|Windows Recent Documents|"
              "Windows Run History|Windows Temp Folder|Windows Recycle Bin|Clipboard|"
              "Address Drop-Down List|Cookies|Cache (Temporary Internet Files)|Index.dat File|"
              "Autocomplete Forms and Passwords|Address Drop-Down List|Cookies|"
              "Cache (Temporary Internet Files)|History Files|Address Drop-Down List|Cookies|"
              "Cache and History|Address Drop-Down List|Cookies|Cache (Temporary Internet Files)|"
              "Internet History Files|Enable Drive Scanning|");
    for (const char* name : {"clipboard", "1Clipboard", "Clipboard ", ""})
        EXPECT_EQ(FindBuiltInItem(name), 0) << name;
}

}  // namespace
}  // namespace cindral::engine
