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

// The rectangles as "(left,top,right,bottom)" texts, in order.
std::string rects(const std::vector<std::uint32_t>& pixels, int width, int height, int stride) {
    std::string text;
    for (const auto& r : build(pixels, width, height, stride))
        text += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
    return text;
}

TEST(WindowShape, EachMaximalOpaqueRunOfARowBecomesOneRectangle) {
    // Two runs, an empty row, runs at both edges.
    EXPECT_EQ(rects({M, W, W, M, B, M, /**/ M, M, M, M, M, M, /**/ W, M, M, M, M, B}, 6, 3, 6),
              "(1,0,3,1)(4,0,5,1)(0,2,1,3)(5,2,6,3)");
    // Only exact magenta is cut; the top byte is ignored.
    EXPECT_EQ(rects({0xFF000000 | M, 0x00FE00FF, 0x00FF01FF, 0x00FF00FE, 0xAAFF00FF}, 5, 1, 5),
              "(1,0,4,1)");
    // Padding beyond the width is never looked at.
    EXPECT_EQ(rects({W, M, W, W, /**/ M, W, M, W}, 3, 2, 4), "(0,0,1,1)(2,0,3,1)(1,1,2,2)");
    // A stride shorter than the width is refused.
    EXPECT_EQ(rects(std::vector<std::uint32_t>(16, W), 4, 4, 2), "");
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
