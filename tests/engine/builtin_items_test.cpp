#include "engine/builtin_items.h"

#include <gtest/gtest.h>

namespace cindral::engine {
namespace {

TEST(BuiltInItems, EachNameFindsItsPositionAndDigitExactly) {
    // "Clipboard" (12) keeps the Windows digit although it follows the recycle bin.
    const int digits[24] = {0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 2, 1, 5, 5, 5, 5, 6, 6, 6, 7, 7, 7, 7, 8};
    const auto items = enumerateBuiltInItems();
    ASSERT_EQ(items.size(), 24u);
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(items[i].name);
        EXPECT_EQ(items[i].digit, digits[i]);
        EXPECT_EQ(FindBuiltInItem(items[i].name), i + 1);  // also: no two share a name
        EXPECT_EQ(builtInItemAt(i + 1).name, items[i].name);
    }
    EXPECT_EQ(items[11].name, "Clipboard");
    for (const char* name : {"ie cookies", "0IE Cookies", "IE Cookies ", "IE", ""})
        EXPECT_EQ(FindBuiltInItem(name), 0) << name;
    EXPECT_EQ(FindBuiltInItem("IE Cookies"), 2);
    for (int position : {0, 25, -1}) EXPECT_TRUE(builtInItemAt(position).name.empty()) << position;
}

}  // namespace
}  // namespace cindral::engine
