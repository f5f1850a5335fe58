// Host worlds into PNG pictures: each world is pasted onto a transparent
// canvas at its origin (a world's buffer pixel (0, 0) stands at layer pixel
// (origin_x, origin_y)), so a world smaller than the comp keeps its place.
//
// The canvas is never held whole: the PNG writer asks for one row at a time
// and each row is made from the worlds that cross it, by a kernel chosen
// once per world for its pixel format and the canvas's bit depth.
#pragma once

#include <vector>

#include "minihost/pixels/world.h"
#include "tools/preview/png_image.h"

namespace minihost::preview {

// 8-bit PNG samples for 8-bit worlds, 16-bit for 16- and 32-bit worlds.
int pngBitDepth(Depth depth);

class Composition final : public PngRowSource {
public:
    // A transparent canvas; bit_depth 8 or 16.
    Composition(int width, int height, int bit_depth);

    // Pastes world with its buffer pixel (0, 0) at canvas pixel
    // (at_x + origin_x, at_y + origin_y), keeping only what falls inside the
    // clip rectangle (and the canvas); a later paste covers an earlier one.
    // Channels are clamped to 0..1 first (float worlds may hold more, or NaN,
    // which becomes 0); the alpha stays straight. The world must outlive
    // the composition. Throws std::invalid_argument for a world without
    // data or with an unknown pixel format.
    void paste(const World& world, int at_x, int at_y);
    void paste(const World& world, int at_x, int at_y, int clip_x, int clip_y, int clip_width, int clip_height);

    int width() const override { return width_; }
    int height() const override { return height_; }
    int bitDepth() const override { return bit_depth_; }
    void row(int y, unsigned char* out) const override;

    // The whole picture as samples.
    PngImage image() const;

private:
    // Converts count pixels of one world row, starting at its pixel x0, into
    // PNG samples at out.
    using RowKernel = void (*)(const unsigned char* world_row, int x0, int count, unsigned char* out);
    struct Piece {
        const unsigned char* data;
        long rowbytes;
        RowKernel kernel;
        int left, top;       // canvas position of buffer pixel (0, 0)
        int x0, x1, y0, y1;  // canvas span covered, end exclusive
    };

    int width_, height_, bit_depth_;
    std::vector<Piece> pieces_;
};

}  // namespace minihost::preview
