#include "minihost/pixels/depth.h"

#include <stdexcept>

namespace minihost {

PF_PixelFormat pixelFormatOf(Depth depth) {
    switch (depth) {
        case Depth::k8:
            return PF_PixelFormat_ARGB32;
        case Depth::k16:
            return PF_PixelFormat_ARGB64;
        case Depth::k32:
            return PF_PixelFormat_ARGB128;
    }
    return PF_PixelFormat_INVALID;
}

std::optional<Depth> depthFromFormat(PF_PixelFormat format) {
    if (format == PF_PixelFormat_ARGB32) return Depth::k8;
    if (format == PF_PixelFormat_ARGB64) return Depth::k16;
    if (format == PF_PixelFormat_ARGB128) return Depth::k32;
    return std::nullopt;
}

std::optional<Depth> tryDepthOf(const PF_EffectWorld& world) {
    // The four-char codes are below 2^31, so they survive the signed field.
    return depthFromFormat(static_cast<PF_PixelFormat>(world.reserved_long1));
}

Depth depthOf(const PF_EffectWorld& world) {
    if (auto depth = tryDepthOf(world)) return *depth;
    throw std::invalid_argument("world has no known pixel format code");
}

int pixelBytes(Depth depth) {
    switch (depth) {
        case Depth::k8:
            return static_cast<int>(sizeof(PF_Pixel8));
        case Depth::k16:
            return static_cast<int>(sizeof(PF_Pixel16));
        case Depth::k32:
            return static_cast<int>(sizeof(PF_PixelFloat));
    }
    return 0;
}

const char* depthName(Depth depth) {
    switch (depth) {
        case Depth::k8:
            return "8";
        case Depth::k16:
            return "16";
        case Depth::k32:
            return "32";
    }
    return "?";
}

}  // namespace minihost
