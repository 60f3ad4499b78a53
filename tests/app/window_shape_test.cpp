#include "app/window_shape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cindral::app {
namespace {

constexpr std::uint32_t M = kShapeMagenta;
constexpr std::uint32_t W = 0x00FFFFFF;
constexpr std::uint32_t B = 0x00000000;

// The rectangles in the order they came, whatever the batches.
std::vector<ShapeRect> build(const std::vector<std::uint32_t>& pixels, int width, int height,
                             int stride) {
    std::vector<ShapeRect> all;
    const std::size_t n = WindowShape().build(pixels.data(), width, height, stride,
                                              [&](const std::vector<ShapeRect>& batch) {
                                                  EXPECT_FALSE(batch.empty());
                                                  all.insert(all.end(), batch.begin(), batch.end());
                                              });
    EXPECT_EQ(n, all.size());
    return all;
}

TEST(WindowShape, EachMaximalOpaqueRunOfARowBecomesOneRectangle) {
    const struct {
        const char* name;
        std::vector<std::uint32_t> pixels;
        int width, height, stride;
        const char* rects;
    } cases[] = {
        {"two runs, an empty row, runs at both edges",
         {M, W, W, M, B, M, /**/ M, M, M, M, M, M, /**/ W, M, M, M, M, B},
         6,
         3,
         6,
         "(1,0,3,1)(4,0,5,1)(0,2,1,3)(5,2,6,3)"},
        {"only exact magenta is cut; the top byte is ignored",
         {0xFF000000 | M, 0x00FE00FF, 0x00FF01FF, 0x00FF00FE, 0xAAFF00FF},
         5,
         1,
         5,
         "(1,0,4,1)"},
        {"padding beyond the width is never looked at",
         {W, M, W, W, /**/ M, W, M, W},
         3,
         2,
         4,
         "(0,0,1,1)(2,0,3,1)(1,1,2,2)"},
        {"fully transparent", std::vector<std::uint32_t>(16, M), 4, 4, 4, ""},
        {"empty picture", {}, 0, 0, 0, ""},
        {"stride shorter than the width is refused", std::vector<std::uint32_t>(16, W), 4, 4, 2,
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string rects;
        for (const auto& r : build(c.pixels, c.width, c.height, c.stride))
            rects += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                     std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
        EXPECT_EQ(rects, c.rects);
    }
}

// A checkerboard makes one rectangle per opaque pixel, far more than fit one
// batch: together the batches still cover each opaque pixel exactly once.
TEST(WindowShape, ThePartsCoverEveryOpaquePixelOfALargePictureOnce) {
    const int width = 101, height = 170;
    std::vector<std::uint32_t> pic(width * height);
    for (int i = 0; i < width * height; ++i) pic[i] = (i % 2 == 0) ? W : M;
    std::vector<int> covered(pic.size());
    for (const ShapeRect& r : build(pic, width, height, width))
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) ++covered[y * width + x];
    for (int i = 0; i < width * height; ++i)
        ASSERT_EQ(covered[i], pic[i] == W ? 1 : 0) << "pixel " << i % width << "," << i / width;
}

}  // namespace
}  // namespace cindral::app
