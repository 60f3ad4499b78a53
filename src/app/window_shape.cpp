#include "app/window_shape.h"

namespace cindral::app {

std::size_t WindowShape::build(const std::uint32_t* pixels, int width, int height, int stride,
                               const BatchSink& sink) const {
    if (pixels == nullptr || width <= 0 || height <= 0 || stride < width) return 0;
    std::vector<ShapeRect> buffer;
    buffer.reserve(kFlushAt);
    std::size_t emitted = 0;
    const std::uint32_t key = transparent_ & 0x00FFFFFF;

    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = pixels + static_cast<std::size_t>(y) * stride;
        int x = 0;
        while (x < width) {
            while (x < width && (row[x] & 0x00FFFFFF) == key) ++x;
            if (x == width) break;
            const int x0 = x;
            while (x < width && (row[x] & 0x00FFFFFF) != key) ++x;
            buffer.push_back(ShapeRect{x0, y, x, y + 1});
            ++emitted;
            if (buffer.size() == kFlushAt) {
                sink(buffer);
                buffer.clear();
            }
        }
    }
    if (!buffer.empty()) sink(buffer);
    return emitted;
}

}  // namespace cindral::app
