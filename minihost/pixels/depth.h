// Pixel depths of the stand-in host's worlds and the straight-alpha colour
// that tests and the host read and write pixels through.
//
// A world carries its PF_PixelFormat code in PF_EffectWorld::reserved_long1;
// 16- and 32-bit worlds also have PF_WorldFlag_DEEP set.
#pragma once

#include <optional>

#include "AE_Effect.h"
#include "AE_EffectPixelFormat.h"

namespace minihost {

/// The three pixel types: PF_Pixel8, PF_Pixel16 (channels 0..32768), PF_PixelFloat.
enum class Depth { k8, k16, k32 };

/// PF_PixelFormat_ARGB32, PF_PixelFormat_ARGB64 or PF_PixelFormat_ARGB128.
PF_PixelFormat pixelFormatOf(Depth depth);

/// The depth of a format code; nothing for any other code.
std::optional<Depth> depthFromFormat(PF_PixelFormat format);

/// The depth recorded in world.reserved_long1; nothing when the code is not
/// one of the three formats.
std::optional<Depth> tryDepthOf(const PF_EffectWorld& world);

/// The depth recorded in world.reserved_long1. Throws std::invalid_argument
/// when the code is not one of the three formats.
Depth depthOf(const PF_EffectWorld& world);

/// Bytes of one pixel: 4, 8 or 16.
int pixelBytes(Depth depth);

/// "8", "16" or "32", for test names and messages.
const char* depthName(Depth depth);

/// One pixel as straight (not premultiplied) alpha and colour, nominally 0..1:
/// 8-bit channels are divided by 255, 16-bit channels by 32768, float
/// channels are taken as they are (and may leave 0..1).
struct Rgba {
    float a, r, g, b;
};

}  // namespace minihost
