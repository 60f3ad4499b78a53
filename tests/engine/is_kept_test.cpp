#include "engine/is_kept.h"

#include <gtest/gtest.h>

#include "support/sandbox.h"

namespace cindral::engine {
namespace {

TEST(IsKept, WholeTextWithoutRegardToCaseAndWithoutTrimming) {
    cindral::test::Sandbox box;
    auto& sys = *box.platform().system;
    const KeeperList list = {"Alpha.Example", "C:\\Cookies\\ann@site.txt", " padded "};
    EXPECT_TRUE(IsKept(&list, "alpha.example", sys));
    EXPECT_TRUE(IsKept(&list, "ALPHA.EXAMPLE", sys));
    EXPECT_TRUE(IsKept(&list, "c:\\cookies\\ANN@SITE.TXT", sys));
    EXPECT_TRUE(IsKept(&list, " PADDED ", sys));
    EXPECT_FALSE(IsKept(&list, "padded", sys));
    EXPECT_FALSE(IsKept(&list, "alpha.example ", sys));
    EXPECT_FALSE(IsKept(&list, "alpha", sys));  // no partial match
    EXPECT_FALSE(IsKept(&list, "", sys));
    EXPECT_FALSE(IsKept(nullptr, "alpha.example", sys));
    const KeeperList withEmpty = {""};
    EXPECT_TRUE(IsKept(&withEmpty, "", sys));
}

}  // namespace
}  // namespace cindral::engine
