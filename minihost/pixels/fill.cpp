#include <algorithm>

#include "minihost/pixels/pixel_kernels.h"
#include "minihost/pixels/world_check.h"
#include "minihost/pixels/world_ops.h"

namespace minihost {
namespace {

template <typename P>
void fillRect(PF_EffectWorld& world, const PF_Rect& r, const PF_Pixel& colour) {
    const P value = pixels_detail::from8<P>(colour);
    for (int y = r.top; y < r.bottom; ++y) {
        P* row = pixels_detail::rowOf<P>(world, y);
        std::fill(row + r.left, row + r.right, value);
    }
}

}  // namespace

PF_Err fillWorld(const PF_Pixel* color, const PF_Rect* rect, PF_EffectWorld* world) noexcept {
    const auto depth = pixels_detail::checkWorld(world);
    if (!depth) return PF_Err_BAD_CALLBACK_PARAM;
    if (rect != nullptr && !pixels_detail::wellFormed(*rect)) return PF_Err_BAD_CALLBACK_PARAM;
    const PF_Rect whole = pixels_detail::wholeOf(*world);
    const PF_Rect r = rect != nullptr ? pixels_detail::intersect(*rect, whole) : whole;
    if (pixels_detail::isEmpty(r)) return PF_Err_NONE;
    const PF_Pixel colour = color != nullptr ? *color : PF_Pixel{0, 0, 0, 0};
    pixels_detail::dispatch(*depth, [&](auto tag) { fillRect<decltype(tag)>(*world, r, colour); });
    return PF_Err_NONE;
}

}  // namespace minihost
