#include "engine/builtin_items.h"

#include <gtest/gtest.h>

#include <set>

namespace cindral::engine {
namespace {

TEST(BuiltInItems, EnumerationYieldsTheCatalogueInOrder) {
    const auto items = enumerateBuiltInItems();
    ASSERT_EQ(items.size(), 24u);
    EXPECT_EQ(items.front().name, "IE Address Drop-Down List");
    EXPECT_EQ(items.front().digit, 0);
    EXPECT_EQ(items.back().name, "Drive Scan with Mask");
    EXPECT_EQ(items.back().digit, 8);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(items[i].position, i + 1) << "entry " << i;
}

TEST(BuiltInItems, DigitsFollowTheCategories) {
    // Expected digit of each position; "Clipboard" keeps the Windows digit
    // although it follows the recycle bin.
    const int expected[24] = {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 1,
                              5, 5, 5, 5, 6, 6, 6, 7, 7, 7, 7, 8};
    const auto items = enumerateBuiltInItems();
    ASSERT_EQ(items.size(), 24u);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(items[i].digit, expected[i]) << items[i].name;
    EXPECT_EQ(items[11].name, "Clipboard");
    EXPECT_EQ(items[10].name, "Windows Recycle Bin");
}

TEST(BuiltInItems, NamesAreDistinctAndCarryNoDigit) {
    std::set<std::string> names;
    for (const auto& item : enumerateBuiltInItems()) {
        EXPECT_FALSE(item.name.empty());
        EXPECT_FALSE(item.name[0] >= '0' && item.name[0] <= '9') << item.name;
        names.insert(item.name);
    }
    EXPECT_EQ(names.size(), 24u);
}

TEST(BuiltInItems, FindGivesEachNameItsPosition) {
    for (const auto& item : enumerateBuiltInItems())
        EXPECT_EQ(FindBuiltInItem(item.name), item.position) << item.name;
    EXPECT_EQ(FindBuiltInItem("IE Cookies"), 2);
    EXPECT_EQ(FindBuiltInItem("Clipboard"), 12);
}

TEST(BuiltInItems, FindIsExactAndCaseSensitive) {
    EXPECT_EQ(FindBuiltInItem("ie cookies"), 0);
    EXPECT_EQ(FindBuiltInItem("IE COOKIES"), 0);
    EXPECT_EQ(FindBuiltInItem("0IE Cookies"), 0);  // the stored text, digit included
    EXPECT_EQ(FindBuiltInItem("IE Cookies "), 0);
    EXPECT_EQ(FindBuiltInItem("IE"), 0);
    EXPECT_EQ(FindBuiltInItem(""), 0);
}

TEST(BuiltInItems, PositionOutsideTheTableGivesNoEntry) {
    EXPECT_EQ(builtInItemAt(0).position, 0);
    EXPECT_TRUE(builtInItemAt(25).name.empty());
    EXPECT_TRUE(builtInItemAt(-1).name.empty());
    EXPECT_EQ(builtInItemAt(24).name, "Drive Scan with Mask");
}

}  // namespace
}  // namespace cindral::engine
