#include "engine/is_kept.h"

#include <gtest/gtest.h>

#include "support/sandbox.h"

namespace cindral::engine {
namespace {

TEST(IsKept, WholeTextWithoutRegardToCaseAndWithoutTrimming) {
    cindral::test::Sandbox box;
    auto& sys = *box.platform().system;
    const KeeperList list = {"Alpha.Example", "C:\\Cookies\\ann@site.txt", " padded "};
    for (const char* kept : {"ALPHA.EXAMPLE", "c:\\cookies\\ANN@SITE.TXT", " PADDED "})
        EXPECT_TRUE(IsKept(&list, kept, sys)) << kept;
    for (const char* other : {"padded", "alpha.example ", "alpha", ""})
        EXPECT_FALSE(IsKept(&list, other, sys)) << other;
    EXPECT_FALSE(IsKept(nullptr, "alpha.example", sys));
}

}  // namespace
}  // namespace cindral::engine
