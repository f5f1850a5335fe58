#include "minihost/preview/picture.h"

#include <algorithm>
#include <cmath>

namespace minihost::preview {
namespace {

std::uint16_t sample(float v, double full) {
    if (!(v > 0.0f)) {
        return 0;  // also NaN
    }
    const double clamped = v < 1.0f ? static_cast<double>(v) : 1.0;
    return static_cast<std::uint16_t>(std::lround(clamped * full));
}

}  // namespace

int pngBitDepth(Depth depth) { return depth == Depth::k8 ? 8 : 16; }

PngImage blankCanvas(int width, int height, Depth depth) { return PngImage(width, height, pngBitDepth(depth)); }

void paste(PngImage& canvas, const World& world, int at_x, int at_y) {
    const double full = canvas.bit_depth == 8 ? 255.0 : 65535.0;
    const int left = at_x + world.pf()->origin_x;
    const int top = at_y + world.pf()->origin_y;
    for (int y = 0; y < world.height(); ++y) {
        const int cy = top + y;
        if (cy < 0 || cy >= canvas.height) {
            continue;
        }
        for (int x = 0; x < world.width(); ++x) {
            const int cx = left + x;
            if (cx < 0 || cx >= canvas.width) {
                continue;
            }
            const Rgba p = world.at(x, y);
            std::uint16_t* out = canvas.pixel(cx, cy);
            out[0] = sample(p.r, full);
            out[1] = sample(p.g, full);
            out[2] = sample(p.b, full);
            out[3] = sample(p.a, full);
        }
    }
}

void place(PngImage& canvas, const PngImage& image, int x, int y) {
    for (int row = 0; row < image.height; ++row) {
        for (int column = 0; column < image.width; ++column) {
            const int cx = x + column;
            const int cy = y + row;
            if (cx >= 0 && cx < canvas.width && cy >= 0 && cy < canvas.height) {
                std::copy(image.pixel(column, row), image.pixel(column, row) + 4, canvas.pixel(cx, cy));
            }
        }
    }
}

}  // namespace minihost::preview
