// An image ready to be written as PNG: straight (not premultiplied) RGBA,
// 8 or 16 bits per sample, rows top to bottom.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace minihost::preview {

struct PngImage {
    int width = 0;
    int height = 0;
    int bit_depth = 8;               // 8 or 16
    std::vector<std::uint16_t> rgba;  // width * height * 4 samples, 0..255 or 0..65535

    PngImage() = default;
    PngImage(int w, int h, int depth) : width(w), height(h), bit_depth(depth), rgba(std::size_t(w) * std::size_t(h) * 4, 0) {}

    std::uint16_t* pixel(int x, int y) { return &rgba[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4]; }
    const std::uint16_t* pixel(int x, int y) const {
        return &rgba[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4];
    }
};

// Writes the image to path whole or not at all: it goes to a temporary file
// beside path, which is renamed over path only once complete, and removed on
// any failure. Throws InputError naming path and the reason.
void writePngFile(const std::string& path, const PngImage& image);

// Reads a PNG written by writePngFile (for tests and --compare checks).
// Throws InputError.
PngImage readPngFile(const std::string& path);

}  // namespace minihost::preview
