#include "engine/builtin_items.h"

#include <gtest/gtest.h>

#include <set>

namespace cindral::engine {
namespace {

TEST(BuiltInItems, CatalogueOrderPositionsAndDigits) {
    // "Clipboard" (12) keeps the Windows digit although it follows the recycle bin.
    const int digits[24] = {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 1, 5, 5, 5, 5, 6, 6, 6, 7, 7, 7, 7, 8};
    const auto items = enumerateBuiltInItems();
    ASSERT_EQ(items.size(), 24u);
    std::set<std::string> names;
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(items[i].name);
        EXPECT_EQ(items[i].position, i + 1);
        EXPECT_EQ(items[i].digit, digits[i]);
        ASSERT_FALSE(items[i].name.empty());
        EXPECT_FALSE(items[i].name[0] >= '0' && items[i].name[0] <= '9');
        EXPECT_EQ(FindBuiltInItem(items[i].name), i + 1);
        EXPECT_EQ(builtInItemAt(i + 1).name, items[i].name);
        names.insert(items[i].name);
    }
    EXPECT_EQ(names.size(), 24u);
    EXPECT_EQ(items[0].name, "IE Address Drop-Down List");
    EXPECT_EQ(items[11].name, "Clipboard");
    EXPECT_EQ(items[23].name, "Drive Scan with Mask");
}

TEST(BuiltInItems, LookupsOutsideTheTableFindNothing) {
    for (const char* name : {"ie cookies", "IE COOKIES", "0IE Cookies", "IE Cookies ", "IE", ""})
        EXPECT_EQ(FindBuiltInItem(name), 0) << name;
    for (int position : {0, 25, -1}) EXPECT_TRUE(builtInItemAt(position).name.empty()) << position;
}

}  // namespace
}  // namespace cindral::engine
