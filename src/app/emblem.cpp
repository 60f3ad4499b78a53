#include "app/emblem.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace cindral::app {

namespace {

// The drawing lives on a 32-unit grid, y pointing down.
constexpr double kGrid = 32;
constexpr double kPi = 3.14159265358979323846;

struct Pt {
    double x, y;
};

struct Rgb {
    int r, g, b;
};

Rgb lerp(Rgb a, Rgb b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    auto mix = [t](int p, int q) { return static_cast<int>(std::lround(p + (q - p) * t)); };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

// A polygon filled with a vertical gradient from `top` at its highest point
// to `bottom` one unit below its lowest (the shade the window drawing has
// always had), outlined with a round pen of `line` units when line > 0.
struct Shape {
    std::vector<Pt> points;
    Rgb top, bottom;
    Rgb pen{0, 0, 0};
    double line = 0;
    double minY = 0, maxY = 0;

    Shape(std::vector<Pt> p, Rgb t, Rgb b, Rgb pen = {0, 0, 0}, double line = 0)
        : points(std::move(p)), top(t), bottom(b), pen(pen), line(line) {
        minY = maxY = points.front().y;
        for (const Pt& q : points) {
            minY = std::min(minY, q.y);
            maxY = std::max(maxY, q.y);
        }
    }

    // Non-zero winding rule.
    bool contains(Pt p) const {
        int winding = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Pt a = points[i], b = points[(i + 1) % points.size()];
            const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
            if (a.y <= p.y) {
                if (b.y > p.y && side > 0) ++winding;
            } else if (b.y <= p.y && side < 0) {
                --winding;
            }
        }
        return winding != 0;
    }

    double squaredDistanceToOutline(Pt p) const {
        double best = 1e18;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const Pt a = points[i], b = points[(i + 1) % points.size()];
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double len2 = dx * dx + dy * dy;
            double t = len2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            const double ex = p.x - (a.x + t * dx), ey = p.y - (a.y + t * dy);
            best = std::min(best, ex * ex + ey * ey);
        }
        return best;
    }

    // Paints the sample when the shape covers it; false leaves it as it was.
    bool paint(Pt p, Rgb& out) const {
        bool painted = false;
        if (contains(p)) {
            out = lerp(top, bottom, (p.y - minY) / (maxY + 1 - minY));
            painted = true;
        }
        if (line > 0 && squaredDistanceToOutline(p) <= line * line / 4) {
            out = pen;
            painted = true;
        }
        return painted;
    }
};

// A circular arc stroked with a round pen, drawn counterclockwise as seen on
// the screen from `from` to `to` (angles in degrees, counterclockwise from
// the positive x axis with y pointing up).
struct Arc {
    Pt centre;
    double radius, from, to, line;
    Rgb colour;

    Pt at(double degrees) const {
        const double a = degrees * kPi / 180;
        return {centre.x + radius * std::cos(a), centre.y - radius * std::sin(a)};
    }

    bool paint(Pt p, Rgb& out) const {
        const double dx = p.x - centre.x, dy = centre.y - p.y;
        double angle = std::atan2(dy, dx) * 180 / kPi;
        double sweep = to - from;
        while (sweep < 0) sweep += 360;
        double offset = angle - from;
        while (offset < 0) offset += 360;
        bool on = offset <= sweep && std::abs(std::hypot(dx, dy) - radius) <= line / 2;
        for (double end : {from, to}) {
            const Pt e = at(end);
            on = on || std::hypot(p.x - e.x, p.y - e.y) <= line / 2;
        }
        if (on) out = colour;
        return on;
    }
};

struct Emblem {
    Shape shield{{{16, 1.5},
                  {28.5, 5.5},
                  {28.5, 15},
                  {26.5, 21},
                  {22, 26.5},
                  {16, 30.5},
                  {10, 26.5},
                  {5.5, 21},
                  {3.5, 15},
                  {3.5, 5.5}},
                 {72, 150, 232},
                 {22, 70, 146},
                 {14, 46, 98},
                 1.3};
    // The lit upper half of the shield.
    Shape highlight{
        {{16, 4}, {26, 7.2}, {26, 12}, {6, 12}, {6, 7.2}}, {140, 196, 250}, {82, 156, 232}};
    // The sweep: an open ring of radius 7 whose gap faces right.
    Arc sweep{
        {16, 16.5},     7, std::atan2(5.0, 7.0) * 180 / kPi, -std::atan2(5.0, 7.0) * 180 / kPi, 3.2,
        {255, 255, 255}};
    Shape spark{{{23.5, 4.5},
                 {24.6, 7.9},
                 {28, 9},
                 {24.6, 10.1},
                 {23.5, 13.5},
                 {22.4, 10.1},
                 {19, 9},
                 {22.4, 7.9}},
                {255, 236, 140},
                {255, 196, 40}};

    bool paint(Pt p, Rgb& out) const {
        bool painted = shield.paint(p, out);
        painted = highlight.paint(p, out) || painted;
        painted = sweep.paint(p, out) || painted;
        painted = spark.paint(p, out) || painted;
        return painted;
    }
};

}  // namespace

std::vector<std::uint32_t> RenderEmblem(int size) {
    size = std::max(size, 1);
    // At least 16 samples a pixel, more for the smallest sizes so their
    // thin strokes keep their weight.
    const int factor = std::max(4, 64 / size);
    const double unit = kGrid / (static_cast<double>(size) * factor);
    const Emblem emblem;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            unsigned r = 0, g = 0, b = 0, count = 0;
            for (int sy = 0; sy < factor; ++sy) {
                for (int sx = 0; sx < factor; ++sx) {
                    const Pt p{((x * factor) + sx + 0.5) * unit, ((y * factor) + sy + 0.5) * unit};
                    Rgb c{0, 0, 0};
                    if (!emblem.paint(p, c)) continue;
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    ++count;
                }
            }
            if (count == 0) continue;
            const unsigned alpha = count * 255 / (factor * factor);
            pixels[static_cast<std::size_t>(y) * size + x] =
                (alpha << 24) | ((r / count) << 16) | ((g / count) << 8) | (b / count);
        }
    }
    return pixels;
}

}  // namespace cindral::app
