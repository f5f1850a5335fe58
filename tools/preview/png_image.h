// Images ready to be written as PNG: straight (not premultiplied) RGBA, 8 or
// 16 bits per sample, rows top to bottom.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace minihost::preview {

// The zlib levels --png-compression takes: 0 stores the rows as they are,
// 9 packs them smallest. 1, the default, is the fastest that compresses.
inline constexpr int kMinPngCompression = 0;
inline constexpr int kMaxPngCompression = 9;
inline constexpr int kDefaultPngCompression = 1;

// An image held as samples, one 16-bit word each (0..255 or 0..65535): what
// readPngFile gives back, and what tests build.
struct PngImage {
    int width = 0;
    int height = 0;
    int bit_depth = 8;                // 8 or 16
    std::vector<std::uint16_t> rgba;  // width * height * 4 samples, 0..255 or 0..65535

    PngImage() = default;
    PngImage(int w, int h, int depth)
        : width(w), height(h), bit_depth(depth), rgba(std::size_t(w) * std::size_t(h) * 4, 0) {}

    std::uint16_t* pixel(int x, int y) { return &rgba[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4]; }
    const std::uint16_t* pixel(int x, int y) const {
        return &rgba[(std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4];
    }
};

// An image made one row at a time, straight into the form PNG stores: four
// bytes a pixel for 8 bits, four big-endian 16-bit words for 16 bits. The
// writer asks for the rows in order, 0 to height - 1, into one buffer of
// width x 4 x bit_depth / 8 bytes.
class PngRowSource {
public:
    virtual ~PngRowSource() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
    virtual int bitDepth() const = 0;  // 8 or 16
    virtual void row(int y, unsigned char* out) const = 0;
};

// Writes the image to path whole or not at all: it goes to a temporary file
// beside path, which is renamed over path only once complete, and removed on
// any failure. compression is a zlib level, kMinPngCompression to
// kMaxPngCompression. Throws InputError naming path and the reason.
void writePngFile(const std::string& path, const PngRowSource& image, int compression = kDefaultPngCompression);
void writePngFile(const std::string& path, const PngImage& image, int compression = kDefaultPngCompression);

// Reads a PNG written by writePngFile (for tests and --compare checks).
// Throws InputError.
PngImage readPngFile(const std::string& path);

}  // namespace minihost::preview
