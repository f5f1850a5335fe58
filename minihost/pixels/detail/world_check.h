// Acceptance of worlds and rectangles handed in
// by a caller, shared by the pixel operations.
#pragma once

#include <optional>

#include "AE_Effect.h"
#include "minihost/pixels/depth.h"
#include "minihost/pixels/rect.h"

namespace minihost::pixels_detail {

/// The world's depth when the world is usable (see world_ops.h), else nothing.
std::optional<Depth> checkWorld(const PF_EffectWorld* world);

/// The whole buffer of a world as a rectangle.
PF_Rect wholeOf(const PF_EffectWorld& world);

/// False for a rectangle with right < left or bottom < top.
bool wellFormed(const PF_Rect& rect);

using minihost::intersect;
using minihost::isEmpty;

}  // namespace minihost::pixels_detail
