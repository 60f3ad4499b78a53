#include "engine/builtin_items.h"

#include <gtest/gtest.h>

namespace cindral::engine {
namespace {

// What the queue, "SelItems.dat" and the Erase Items dialog show of each
// item, in catalogue order: digit, name, dialog group and check box, caption.
TEST(BuiltInItems, RowsCarryTheNamesDigitsAndCheckBoxesTheProgramShows) {
    const char* groups[] = {"Windows", "IE", "Netscape", "Opera", "AOL", "Drive Scan"};
    const auto dialog = ItemsInDialogOrder();
    std::string rows;
    for (const BuiltInItem& item : BuiltInItems()) {
        rows += std::to_string(item.digit) + " " + item.name + " | " +
                groups[static_cast<int>(item.group)] + " CB" + std::to_string(item.checkBox) + " " +
                item.caption + "\n";
        EXPECT_EQ(dialog.at(item.checkBox - 1), &item) << item.name;
        EXPECT_EQ(&BuiltInItems().at(FindBuiltInItem(item.name) - 1), &item);  // names differ
    }
    EXPECT_EQ(rows,
              "0 IE Address Drop-Down List | IE CB8 Address Drop-Down List\n"
              "0 IE Cookies | IE CB9 Cookies\n"
              "0 IE Cache (Temporary Internet Files) | IE CB10 Cache (Temporary Internet Files)\n"
              "0 Index.dat File | IE CB11 Index.dat File\n"
              "0 IE Autocomplete Forms and Passwords | IE CB12 Autocomplete Forms and Passwords\n"
              "1 Windows Open/Save Dialog History | Windows CB1 Windows Open/Save Dialog History\n"
              "1 Windows Search History | Windows CB2 Windows Search History\n"
              "1 Windows Recent Documents | Windows CB3 Windows Recent Documents\n"
              "1 Windows Run History | Windows CB4 Windows Run History\n"
              "1 Windows Temp Folder | Windows CB5 Windows Temp Folder\n"
              "2 Windows Recycle Bin | Windows CB6 Windows Recycle Bin\n"
              "1 Clipboard | Windows CB7 Clipboard\n"
              "5 Netscape Address Drop-Down List | Netscape CB13 Address Drop-Down List\n"
              "5 Netscape Cookies | Netscape CB14 Cookies\n"
              "5 Netscape Cache | Netscape CB15 Cache (Temporary Internet Files)\n"
              "5 Netscape History Files | Netscape CB16 History Files\n"
              "6 Opera Address Drop-Down List | Opera CB17 Address Drop-Down List\n"
              "6 Opera Cookies | Opera CB18 Cookies\n"
              "6 Opera Cache | Opera CB19 Cache and History\n"
              "7 AOL Address Drop-Down List | AOL CB20 Address Drop-Down List\n"
              "7 AOL Cookies | AOL CB21 Cookies\n"
              "7 AOL Cache | AOL CB22 Cache (Temporary Internet Files)\n"
              "7 AOL History Files | AOL CB23 Internet History Files\n"
              "8 Drive Scan with Mask | Drive Scan CB24 Enable Drive Scanning\n");
    for (const char* name : {"clipboard", "1Clipboard", "Clipboard ", ""})
        EXPECT_EQ(FindBuiltInItem(name), 0) << name;
}

}  // namespace
}  // namespace cindral::engine
