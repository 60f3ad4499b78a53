#include "engine/builtin_items.h"

#include <gtest/gtest.h>

namespace cindral::engine {
namespace {

// What the queue, "SelItems.dat" and the Erase Items dialog show of each
// item, in catalogue order.
TEST(BuiltInItems, RowsCarryTheNamesDigitsAndCheckBoxesTheProgramShows) {
    using G = ItemGroup;
    const struct {
        const char* name;
        int digit;
        int checkBox;
        ItemGroup group;
        const char* caption;
    } rows[] = {
        {"IE Address Drop-Down List", 0, 8, G::InternetExplorer, "Address Drop-Down List"},
        {"IE Cookies", 0, 9, G::InternetExplorer, "Cookies"},
        {"IE Cache (Temporary Internet Files)", 0, 10, G::InternetExplorer,
         "Cache (Temporary Internet Files)"},
        {"Index.dat File", 0, 11, G::InternetExplorer, "Index.dat File"},
        {"IE Autocomplete Forms and Passwords", 0, 12, G::InternetExplorer,
         "Autocomplete Forms and Passwords"},
        {"Windows Open/Save Dialog History", 1, 1, G::Windows, "Windows Open/Save Dialog History"},
        {"Windows Search History", 1, 2, G::Windows, "Windows Search History"},
        {"Windows Recent Documents", 1, 3, G::Windows, "Windows Recent Documents"},
        {"Windows Run History", 1, 4, G::Windows, "Windows Run History"},
        {"Windows Temp Folder", 1, 5, G::Windows, "Windows Temp Folder"},
        {"Windows Recycle Bin", 2, 6, G::Windows, "Windows Recycle Bin"},
        {"Clipboard", 1, 7, G::Windows, "Clipboard"},
        {"Netscape Address Drop-Down List", 5, 13, G::Netscape, "Address Drop-Down List"},
        {"Netscape Cookies", 5, 14, G::Netscape, "Cookies"},
        {"Netscape Cache", 5, 15, G::Netscape, "Cache (Temporary Internet Files)"},
        {"Netscape History Files", 5, 16, G::Netscape, "History Files"},
        {"Opera Address Drop-Down List", 6, 17, G::Opera, "Address Drop-Down List"},
        {"Opera Cookies", 6, 18, G::Opera, "Cookies"},
        {"Opera Cache", 6, 19, G::Opera, "Cache and History"},
        {"AOL Address Drop-Down List", 7, 20, G::Aol, "Address Drop-Down List"},
        {"AOL Cookies", 7, 21, G::Aol, "Cookies"},
        {"AOL Cache", 7, 22, G::Aol, "Cache (Temporary Internet Files)"},
        {"AOL History Files", 7, 23, G::Aol, "Internet History Files"},
        {"Drive Scan with Mask", 8, 24, G::DriveScan, "Enable Drive Scanning"},
    };
    const auto& items = BuiltInItems();
    const auto dialog = ItemsInDialogOrder();
    ASSERT_EQ(std::size(rows), items.size());
    ASSERT_EQ(dialog.size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto& row = rows[i];
        SCOPED_TRACE(row.name);
        EXPECT_STREQ(items[i].name, row.name);
        EXPECT_EQ(items[i].digit, row.digit);
        EXPECT_EQ(items[i].group, row.group);
        EXPECT_STREQ(items[i].caption, row.caption);
        EXPECT_EQ(dialog[row.checkBox - 1], &items[i]);
        EXPECT_EQ(FindBuiltInItem(row.name), static_cast<int>(i) + 1);  // no two share a name
    }
    for (const char* name : {"clipboard", "1Clipboard", "Clipboard ", ""})
        EXPECT_EQ(FindBuiltInItem(name), 0) << name;
}

}  // namespace
}  // namespace cindral::engine
