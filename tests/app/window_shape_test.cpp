#include "app/window_shape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cindral::app {
namespace {

constexpr std::uint32_t M = kShapeMagenta;
constexpr std::uint32_t W = 0x00FFFFFF;
constexpr std::uint32_t B = 0x00000000;

using Batches = std::vector<std::vector<ShapeRect>>;

Batches build(const std::vector<std::uint32_t>& pixels, int width, int height, int stride) {
    Batches batches;
    std::size_t total = 0;
    const std::size_t n = WindowShape().build(pixels.data(), width, height, stride,
                                              [&](const std::vector<ShapeRect>& b) {
                                                  batches.push_back(b);
                                                  total += b.size();
                                              });
    EXPECT_EQ(n, total);
    return batches;
}

std::string describe(const Batches& batches) {
    std::string s;
    for (const auto& b : batches)
        for (const auto& r : b)
            s += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                 std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
    return s;
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
        const Batches batches = build(c.pixels, c.width, c.height, c.stride);
        EXPECT_EQ(describe(batches), c.rects);
        EXPECT_LE(batches.size(), 1u);  // never an empty batch
    }
}

TEST(WindowShape, FlushesEvery2000RectanglesThenTheRest) {
    // Stripes of one-pixel runs: 50 a row over 90 rows, then 20 a row over 100 rows.
    std::vector<std::uint32_t> pic(100 * 90);
    for (std::size_t i = 0; i < pic.size(); ++i) pic[i] = (i % 2 == 0) ? W : M;
    Batches batches = build(pic, 100, 90, 100);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0].size(), 2000u);
    EXPECT_EQ(batches[1].size(), 2000u);
    EXPECT_EQ(batches[2].size(), 500u);
    // The second batch starts exactly where the first stopped: row 40, column 0.
    EXPECT_EQ(batches[1].front(), (ShapeRect{0, 40, 1, 41}));
    EXPECT_EQ(batches[2].back(), (ShapeRect{98, 89, 99, 90}));

    pic.assign(40 * 100, W);
    for (std::size_t i = 0; i < pic.size(); i += 2) pic[i] = M;
    batches = build(pic, 40, 100, 40);
    ASSERT_EQ(batches.size(), 1u);  // exactly 2000: no empty tail
    EXPECT_EQ(batches[0].size(), 2000u);
}

}  // namespace
}  // namespace cindral::app
