#include "app/emblem.h"

#include <gtest/gtest.h>

namespace cindral::app {
namespace {

// Points of the 32-unit drawing grid and what covers them, at every size
// of the program's icon.
TEST(Emblem, EachPartLandsWhereTheDrawingPutsIt) {
    const struct {
        double x, y;
        const char *part, *what;
    } points[] = {
        {1, 1, "nothing", "a corner"},
        {16, 28, "shield", "the shield's lower point"},
        {9.3, 16.5, "sweep", "the sweep's left side"},
        {23, 16.5, "shield", "the sweep's gap, facing right"},
        {23.5, 9, "spark", "the spark's centre"},
    };
    for (int size : {16, 24, 32, 48, 256}) {
        const std::vector<std::uint32_t> pixels = RenderEmblem(size);
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size * size));
        for (const auto& p : points) {
            const int x = static_cast<int>(p.x * size / 32), y = static_cast<int>(p.y * size / 32);
            const std::uint32_t px = pixels[static_cast<std::size_t>(y) * size + x];
            const unsigned alpha = px >> 24, r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF,
                           b = px & 0xFF;
            const char* seen = alpha == 0                      ? "nothing"
                               : r > 240 && g > 240 && b > 240 ? "sweep"
                               : r > 200 && g > 150 && b < 160 ? "spark"
                               : b > r + 60 && alpha == 255    ? "shield"
                                                               : "something else";
            EXPECT_STREQ(seen, p.part) << p.what << " at size " << size;
        }
    }
}

}  // namespace
}  // namespace cindral::app
