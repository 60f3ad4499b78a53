#include "app/window_shape.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cindral::app {
namespace {

constexpr std::uint32_t M = kShapeMagenta;
constexpr std::uint32_t W = 0x00FFFFFF;
constexpr std::uint32_t B = 0x00000000;

struct Collected {
    std::vector<std::vector<ShapeRect>> batches;
    std::vector<ShapeRect> all() const {
        std::vector<ShapeRect> out;
        for (const auto& b : batches) out.insert(out.end(), b.begin(), b.end());
        return out;
    }
};

Collected run(const std::vector<std::uint32_t>& pixels, int width, int height, int stride,
              std::size_t* count = nullptr) {
    Collected c;
    WindowShape shape;
    std::size_t n = shape.build(pixels.data(), width, height, stride,
                                [&](const std::vector<ShapeRect>& b) { c.batches.push_back(b); });
    if (count) *count = n;
    return c;
}

std::string describe(const std::vector<ShapeRect>& rects) {
    std::string s;
    for (const auto& r : rects) {
        s += "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
             std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
    }
    return s;
}

TEST(WindowShapeRuns, EachMaximalOpaqueRunBecomesOneRowRectangle) {
    // Row 0: two runs; row 1: fully transparent; row 2: runs touching both edges.
    const std::vector<std::uint32_t> pic = {
        M, W, W, M, B, M,  //
        M, M, M, M, M, M,  //
        W, M, M, M, M, B,  //
    };
    std::size_t n = 0;
    Collected c = run(pic, 6, 3, 6, &n);
    EXPECT_EQ(n, 4u);
    ASSERT_EQ(c.batches.size(), 1u);
    EXPECT_EQ(describe(c.all()), "(1,0,3,1)(4,0,5,1)(0,2,1,3)(5,2,6,3)");
}

TEST(WindowShapeRuns, OnlyExactMagentaIsTransparentAndTheTopByteIsIgnored) {
    // Near-magenta colours stay opaque; magenta with an alpha byte is still cut.
    const std::vector<std::uint32_t> pic = {0xFF000000 | M, 0x00FE00FF, 0x00FF01FF, 0x00FF00FE,
                                            0xAAFF00FF};
    Collected c = run(pic, 5, 1, 5);
    EXPECT_EQ(describe(c.all()), "(1,0,4,1)");
}

TEST(WindowShapeRuns, StrideSkipsPaddingBeyondTheWidth) {
    // The padding column holds opaque pixels that must never be looked at.
    const std::vector<std::uint32_t> pic = {
        W, M, W, W,  //
        M, W, M, W,  //
    };
    Collected c = run(pic, 3, 2, 4);
    EXPECT_EQ(describe(c.all()), "(0,0,1,1)(2,0,3,1)(1,1,2,2)");
}

TEST(WindowShapeRuns, FullyTransparentOrEmptyPictureEmitsNothing) {
    std::vector<std::uint32_t> pic(16, M);
    std::size_t n = 99;
    Collected c = run(pic, 4, 4, 4, &n);
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(c.batches.empty());

    c = run({}, 0, 0, 0, &n);
    EXPECT_EQ(n, 0u);
    EXPECT_TRUE(c.batches.empty());

    // A stride shorter than the width is refused rather than read out of bounds.
    c = run(pic, 4, 4, 2, &n);
    EXPECT_EQ(n, 0u);
}

TEST(WindowShapeBatches, FlushesEvery2000RectanglesThenTheRest) {
    // A striped picture: each row has 50 one-pixel runs; 90 rows give 4500 runs.
    const int width = 100, height = 90;
    std::vector<std::uint32_t> pic(width * height);
    for (int i = 0; i < width * height; ++i) pic[i] = (i % 2 == 0) ? W : M;
    std::size_t n = 0;
    Collected c = run(pic, width, height, width, &n);
    EXPECT_EQ(n, 4500u);
    ASSERT_EQ(c.batches.size(), 3u);
    EXPECT_EQ(c.batches[0].size(), 2000u);
    EXPECT_EQ(c.batches[1].size(), 2000u);
    EXPECT_EQ(c.batches[2].size(), 500u);
    // The second batch starts exactly where the first stopped: row 40, column 0.
    EXPECT_EQ(c.batches[1].front(), (ShapeRect{0, 40, 1, 41}));
    EXPECT_EQ(c.batches[2].back(), (ShapeRect{98, 89, 99, 90}));
}

TEST(WindowShapeBatches, ExactlyTwoThousandGivesOneBatchAndNoEmptyTail) {
    const int width = 40, height = 100;  // 20 runs a row
    std::vector<std::uint32_t> pic(width * height);
    for (int i = 0; i < width * height; ++i) pic[i] = (i % 2 == 0) ? M : B;
    Collected c = run(pic, width, height, width);
    ASSERT_EQ(c.batches.size(), 1u);
    EXPECT_EQ(c.batches[0].size(), 2000u);
}

TEST(WindowShapeBatches, BufferGrowsInStepsOfOneHundred) {
    WindowShape shape;
    std::vector<std::uint32_t> pic(10, W);  // one run
    shape.build(pic.data(), 10, 1, 10, [](const std::vector<ShapeRect>&) {});
    EXPECT_EQ(shape.lastCapacity(), 100u);

    std::vector<std::uint32_t> stripes(2 * 101, M);  // 101 runs in one row
    for (std::size_t i = 0; i < stripes.size(); i += 2) stripes[i] = W;
    shape.build(stripes.data(), static_cast<int>(stripes.size()), 1,
                static_cast<int>(stripes.size()), [](const std::vector<ShapeRect>&) {});
    EXPECT_EQ(shape.lastCapacity(), 200u);
}

}  // namespace
}  // namespace cindral::app
