// Image buffers of the stand-in host.
//
// Every world the host hands out has rows padded beyond width x pixel size
// (rowbytes = width x pixel size + 64, rounded up to a multiple of 16), so a
// plug-in that walks rows by width instead of rowbytes reads and writes the
// wrong pixels. Pixels start transparent black; data is aligned to 64 bytes.
// world_flags holds PF_WorldFlag_WRITEABLE, plus PF_WorldFlag_DEEP for 16-
// and 32-bit worlds; reserved_long1 holds the PF_PixelFormat code;
// extent_hint is the whole buffer (0, 0, width, height); pix_aspect_ratio 1/1.
//
// Sizes are limited to kMaxWorldSide on each side (the host's own limit).
#pragma once

#include "AE_Effect.h"
#include "minihost/pixels/depth.h"

namespace minihost {

/// Largest width or height of a world.
inline constexpr int kMaxWorldSide = 30000;

/// Row stride the host gives a world of this width and depth.
A_long paddedRowBytes(int width, Depth depth);

/// Fills in a world struct that belongs to someone else (PF_NewWorld): every
/// field is set, the pixels are cleared. Answers PF_Err_BAD_CALLBACK_PARAM for
/// a negative size, PF_Err_OUT_OF_MEMORY for a size beyond kMaxWorldSide or
/// memory that cannot be had; on an error the struct is left zeroed. The
/// memory must go back through freeWorld.
PF_Err allocateWorld(PF_EffectWorld& world, int width, int height, Depth depth) noexcept;

/// Frees what allocateWorld put into world and zeroes the struct. A zeroed
/// struct is left as it is.
void freeWorld(PF_EffectWorld& world) noexcept;

/// Reads one pixel of any world in buffer pixels (origins do not apply).
/// Throws std::out_of_range outside the buffer, std::invalid_argument for a
/// world without data or with an unknown format code.
Rgba readPixel(const PF_EffectWorld& world, int x, int y);

/// Writes one pixel; 8- and 16-bit channels are clamped to 0..1 and rounded.
/// Throws as readPixel does.
void writePixel(PF_EffectWorld& world, int x, int y, Rgba colour);

/// A world whose struct and memory the host owns (input, output, layer
/// images). Move-only; the memory is freed with the object.
class World {
public:
    /// Throws std::invalid_argument for a negative or too large size,
    /// std::bad_alloc when memory cannot be had.
    World(int width, int height, Depth depth, int origin_x = 0, int origin_y = 0);
    ~World();

    World(World&& other) noexcept;
    World& operator=(World&& other) noexcept;
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    PF_EffectWorld* pf() { return &world_; }
    const PF_EffectWorld* pf() const { return &world_; }

    Depth depth() const { return depth_; }
    int width() const { return world_.width; }
    int height() const { return world_.height; }
    int rowBytes() const { return world_.rowbytes; }

    /// Pixel at buffer position (x, y); throws std::out_of_range outside.
    Rgba at(int x, int y) const;
    void set(int x, int y, Rgba colour);

private:
    PF_EffectWorld world_{};
    Depth depth_;
};

}  // namespace minihost
