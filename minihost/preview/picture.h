// Host worlds into PNG images: each world is pasted onto a canvas at its
// origin (a world's buffer pixel (0, 0) stands at layer pixel
// (origin_x, origin_y)), so a world smaller than the comp keeps its place.
#pragma once

#include "minihost/pixels/world.h"
#include "minihost/preview/png_image.h"

namespace minihost::preview {

// 8-bit PNG samples for 8-bit worlds, 16-bit for 16- and 32-bit worlds.
int pngBitDepth(Depth depth);

// A transparent canvas of the given size.
PngImage blankCanvas(int width, int height, Depth depth);

// Pastes world onto canvas with its buffer pixel (0, 0) at canvas pixel
// (at_x + origin_x, at_y + origin_y); pixels outside the canvas are dropped.
// Channels are clamped to 0..1 first (float worlds may hold more, or NaN,
// which becomes 0); the alpha stays straight.
void paste(PngImage& canvas, const World& world, int at_x, int at_y);

// Copies image into canvas with its top left corner at (x, y); what falls
// outside canvas is dropped. Both have one bit depth.
void place(PngImage& canvas, const PngImage& image, int x, int y);

}  // namespace minihost::preview
