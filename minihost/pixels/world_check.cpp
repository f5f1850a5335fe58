#include "minihost/pixels/detail/world_check.h"

#include <algorithm>
#include <cstdint>

namespace minihost::pixels_detail {

std::optional<Depth> checkWorld(const PF_EffectWorld* world) {
    if (world == nullptr) return std::nullopt;
    const auto depth = tryDepthOf(*world);
    if (!depth || world->width < 0 || world->height < 0) return std::nullopt;
    if (world->width == 0 || world->height == 0) return depth;
    if (world->data == nullptr) return std::nullopt;
    // Every pixel type is made of channels of one size; rows must keep them aligned.
    const auto channel = static_cast<std::uintptr_t>(pixelBytes(*depth) / 4);
    if (reinterpret_cast<std::uintptr_t>(world->data) % channel != 0) return std::nullopt;
    if (world->rowbytes <= 0 || static_cast<std::uintptr_t>(world->rowbytes) % channel != 0) return std::nullopt;
    if (static_cast<std::int64_t>(world->rowbytes) < static_cast<std::int64_t>(world->width) * pixelBytes(*depth))
        return std::nullopt;
    return depth;
}

PF_Rect wholeOf(const PF_EffectWorld& world) { return PF_Rect{0, 0, world.width, world.height}; }

bool wellFormed(const PF_Rect& rect) { return rect.right >= rect.left && rect.bottom >= rect.top; }

}  // namespace minihost::pixels_detail
