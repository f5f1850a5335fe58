#include <algorithm>
#include <cstring>

#include "minihost/pixels/detail/pixel_kernels.h"
#include "minihost/pixels/detail/world_check.h"
#include "minihost/pixels/world_ops.h"

namespace minihost {
namespace {

// Memory speed: one row is filled pixel by pixel (or all rows byte by byte
// when every byte of the value is the same, as for transparent black), the
// others are copies of it.
template <typename P>
void fillRect(PF_EffectWorld& world, const PF_Rect& r, const PF_Pixel& colour) {
    const P value = pixels_detail::from8<P>(colour);
    const auto bytes = static_cast<std::size_t>(r.right - r.left) * sizeof(P);
    unsigned char first_byte = 0;
    std::memcpy(&first_byte, &value, 1);
    bool one_byte = true;
    for (std::size_t i = 0; i < sizeof(P); ++i) {
        unsigned char b = 0;
        std::memcpy(&b, reinterpret_cast<const unsigned char*>(&value) + i, 1);
        one_byte = one_byte && b == first_byte;
    }
    P* first = pixels_detail::rowOf<P>(world, r.top) + r.left;
    if (one_byte) {
        for (int y = r.top; y < r.bottom; ++y)
            std::memset(pixels_detail::rowOf<P>(world, y) + r.left, first_byte, bytes);
        return;
    }
    std::fill(first, first + (r.right - r.left), value);
    for (int y = r.top + 1; y < r.bottom; ++y) std::memcpy(pixels_detail::rowOf<P>(world, y) + r.left, first, bytes);
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
