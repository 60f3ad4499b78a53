#include "app/emblem.h"

#include <gtest/gtest.h>

namespace cindral::app {
namespace {

// At every size of the program's icon the picture fills the whole buffer the
// icon writer reads, with its corners see-through and the shield (its lower
// point at 16,28 of the 32-unit drawing grid) opaque. Which colour lands
// where is the drawing's look, seen on screen.
TEST(Emblem, EverySizeFillsItsBufferWithSeeThroughCornersAndAnOpaqueShield) {
    for (int size : {16, 24, 32, 48, 256}) {
        const std::vector<std::uint32_t> pixels = RenderEmblem(size);
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(size * size));
        const auto alpha = [&](double x, double y) {
            const int px = static_cast<int>(x * size / 32), py = static_cast<int>(y * size / 32);
            return pixels[static_cast<std::size_t>(py) * size + px] >> 24;
        };
        EXPECT_EQ(alpha(1, 1), 0u) << size;
        EXPECT_EQ(alpha(16, 28), 255u) << size;
    }
}

}  // namespace
}  // namespace cindral::app
