#include "tools/preview/picture.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "AE_Effect.h"

namespace minihost::preview {
namespace {

// Sample values, as a world's channels, clamped to 0..1, scale to the PNG's
// full value: rounded to nearest, halves up.
template <int kBits>
struct Out;

template <>
struct Out<8> {
    using Sample = unsigned char;
    static constexpr unsigned kFull = 255;
    static void put(unsigned char* out, unsigned v) { out[0] = static_cast<unsigned char>(v); }
};

template <>
struct Out<16> {
    using Sample = std::uint16_t;
    static constexpr unsigned kFull = 65535;
    static void put(unsigned char* out, unsigned v) {  // big-endian, as PNG stores it
        out[0] = static_cast<unsigned char>(v >> 8);
        out[1] = static_cast<unsigned char>(v & 0xff);
    }
};

// One channel in each world format, to kFull. 8-bit channels v are v/255
// of full: v itself for 8-bit samples and v x 257 for 16-bit ones, exactly.
template <unsigned kFull>
unsigned scale(A_u_char v) {
    return kFull == 255 ? v : v * 257u;
}

// 16-bit channels v are v/32768, at most 1; v x full / 32768 is exact in
// 32 bits, so adding half and shifting rounds to nearest.
template <unsigned kFull>
unsigned scale(A_u_short v) {
    return v >= 32768 ? kFull : (v * kFull + 16384) >> 15;
}

// Floats: NaN and anything not above 0 give 0, anything from 1 up full.
// In between, v x full is exact in a double (24 + 16 bits), so adding half
// and truncating rounds to nearest.
template <unsigned kFull>
unsigned scale(PF_FpShort v) {
    if (!(v > 0.0f)) {
        return 0;
    }
    if (!(v < 1.0f)) {
        return kFull;
    }
    return static_cast<unsigned>(static_cast<double>(v) * kFull + 0.5);
}

template <typename P, int kBits>
void convertRow(const unsigned char* world_row, int x0, int count, unsigned char* out) {
    using O = Out<kBits>;
    constexpr int kStep = kBits / 8;
    const P* in = reinterpret_cast<const P*>(world_row) + x0;
    for (int i = 0; i < count; ++i) {
        const P& p = in[i];
        O::put(out, scale<O::kFull>(p.red));
        O::put(out + kStep, scale<O::kFull>(p.green));
        O::put(out + 2 * kStep, scale<O::kFull>(p.blue));
        O::put(out + 3 * kStep, scale<O::kFull>(p.alpha));
        out += 4 * kStep;
    }
}

// 8-bit worlds onto 8-bit rows: the channels as they are, in PNG's order.
// PF_Pixel8 is alpha, red, green, blue: read as a little-endian word, a
// rotation by one byte makes red, green, blue, alpha.
static_assert(std::endian::native == std::endian::little, "the 8-bit kernel reads pixels as little-endian words");

template <>
void convertRow<PF_Pixel8, 8>(const unsigned char* world_row, int x0, int count, unsigned char* out) {
    const unsigned char* in = world_row + std::size_t(x0) * 4;
    for (int i = 0; i < count; ++i) {
        std::uint32_t argb;
        std::memcpy(&argb, in + std::size_t(i) * 4, 4);
        const std::uint32_t rgba = argb >> 8 | argb << 24;
        std::memcpy(out + std::size_t(i) * 4, &rgba, 4);
    }
}

template <int kBits>
auto kernelFor(Depth depth) {
    switch (depth) {
        case Depth::k8:
            return &convertRow<PF_Pixel8, kBits>;
        case Depth::k16:
            return &convertRow<PF_Pixel16, kBits>;
        case Depth::k32:
            break;
    }
    return &convertRow<PF_PixelFloat, kBits>;
}

}  // namespace

int pngBitDepth(Depth depth) { return depth == Depth::k8 ? 8 : 16; }

Composition::Composition(int width, int height, int bit_depth) : width_(width), height_(height), bit_depth_(bit_depth) {
    if (width < 0 || height < 0 || (bit_depth != 8 && bit_depth != 16)) {
        throw std::invalid_argument("a picture needs a size and a bit depth of 8 or 16");
    }
}

void Composition::paste(const World& world, int at_x, int at_y) { paste(world, at_x, at_y, 0, 0, width_, height_); }

void Composition::paste(const World& world, int at_x, int at_y, int clip_x, int clip_y, int clip_width,
                        int clip_height) {
    const PF_EffectWorld& pf = *world.pf();
    const std::optional<Depth> depth = tryDepthOf(pf);
    if (pf.data == nullptr || !depth) {
        throw std::invalid_argument("a world without pixels or with an unknown pixel format");
    }
    // In 64 bits: origins and clips are the caller's, and may be far out.
    const long long left = static_cast<long long>(at_x) + pf.origin_x;
    const long long top = static_cast<long long>(at_y) + pf.origin_y;
    const long long x0 = std::max({0LL, static_cast<long long>(clip_x), left});
    const long long y0 = std::max({0LL, static_cast<long long>(clip_y), top});
    const long long x1 =
        std::min({static_cast<long long>(width_), static_cast<long long>(clip_x) + clip_width, left + world.width()});
    const long long y1 =
        std::min({static_cast<long long>(height_), static_cast<long long>(clip_y) + clip_height, top + world.height()});
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    Piece piece{};
    piece.data = reinterpret_cast<const unsigned char*>(pf.data);
    piece.rowbytes = pf.rowbytes;
    piece.kernel = bit_depth_ == 8 ? kernelFor<8>(*depth) : kernelFor<16>(*depth);
    piece.left = static_cast<int>(left);
    piece.top = static_cast<int>(top);
    piece.x0 = static_cast<int>(x0);
    piece.x1 = static_cast<int>(x1);
    piece.y0 = static_cast<int>(y0);
    piece.y1 = static_cast<int>(y1);
    pieces_.push_back(piece);
}

void Composition::row(int y, unsigned char* out) const {
    const std::size_t pixel_bytes = std::size_t(bit_depth_ / 8) * 4;
    // Cleared unless the first world covers the row from end to end.
    const bool covered = !pieces_.empty() && pieces_.front().x0 == 0 && pieces_.front().x1 == width_ &&
                         y >= pieces_.front().y0 && y < pieces_.front().y1;
    if (!covered) {
        std::memset(out, 0, std::size_t(width_) * pixel_bytes);
    }
    for (const Piece& p : pieces_) {
        if (y < p.y0 || y >= p.y1) {
            continue;
        }
        const unsigned char* world_row = p.data + static_cast<std::ptrdiff_t>(y - p.top) * p.rowbytes;
        p.kernel(world_row, p.x0 - p.left, p.x1 - p.x0, out + std::size_t(p.x0) * pixel_bytes);
    }
}

PngImage Composition::image() const {
    PngImage image(width_, height_, bit_depth_);
    if (image.rgba.empty()) {
        return image;
    }
    std::vector<unsigned char> line(std::size_t(width_) * 4 * std::size_t(bit_depth_ / 8));
    for (int y = 0; y < height_; ++y) {
        row(y, line.data());
        std::uint16_t* samples = image.pixel(0, y);
        for (std::size_t i = 0; i < std::size_t(width_) * 4; ++i) {
            samples[i] = bit_depth_ == 8 ? line[i] : static_cast<std::uint16_t>(line[2 * i] << 8 | line[2 * i + 1]);
        }
    }
    return image;
}

}  // namespace minihost::preview
