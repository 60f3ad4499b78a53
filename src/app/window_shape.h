// The outline of a borderless window, taken from its background picture:
// every pixel that is not exactly the transparent colour belongs to the
// window. Each row is cut into maximal runs of such pixels, one rectangle
// of height 1 per run; the rectangles are handed out in batches so the
// caller can turn each batch into a region and unite it with the rest.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace cindral::app {

struct ShapeRect {
    int left = 0;
    int top = 0;
    int right = 0;   // one past the last column
    int bottom = 0;  // one past the last row

    friend bool operator==(const ShapeRect& a, const ShapeRect& b) {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
};

// Pixels are 32 bits, 0x00RRGGBB in the low 24 bits (the layout of a
// top-down 32-bit DIB section); the top byte is ignored.
constexpr std::uint32_t kShapeMagenta = 0x00FF00FF;

class WindowShape {
public:
    // Receives one batch of rectangles; the batch is only valid during the call.
    using BatchSink = std::function<void(const std::vector<ShapeRect>& batch)>;

    static constexpr std::size_t kFlushAt = 2000;

    explicit WindowShape(std::uint32_t transparent = kShapeMagenta) : transparent_(transparent) {}

    // Walks the picture row by row (top to bottom, each row left to right).
    // `stride` is the distance in pixels between the starts of two rows.
    // The sink is called whenever kFlushAt rectangles have collected and
    // once more at the end for the rest (not at all for a wholly
    // transparent picture). Returns the number of rectangles emitted.
    std::size_t build(const std::uint32_t* pixels, int width, int height, int stride,
                      const BatchSink& sink) const;

private:
    std::uint32_t transparent_;
};

}  // namespace cindral::app
