#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "minihost/pixels/detail/pixel_kernels.h"
#include "minihost/pixels/detail/world_check.h"
#include "minihost/pixels/world_ops.h"

namespace minihost {
namespace {

// Copies the part of one destination row that src_r's row y_src covers:
// pixels whose source lies outside the source buffer become transparent black.
template <typename P>
void copyRow(const P* src_row, int src_width, long long src_x0, P* dst_row, int dst_x0, int count) {
    for (int i = 0; i < count;) {
        const long long sx = src_x0 + i;
        if (src_row == nullptr || sx < 0 || sx >= src_width) {
            dst_row[dst_x0 + i] = P{};
            ++i;
            continue;
        }
        const int run = static_cast<int>(std::min<long long>(count - i, src_width - sx));
        std::memcpy(dst_row + dst_x0 + i, src_row + sx, static_cast<std::size_t>(run) * sizeof(P));
        i += run;
    }
}

template <typename P>
void copyRect(const PF_EffectWorld& src, PF_EffectWorld& dst, const PF_Rect& src_r, const PF_Rect& dst_r) {
    // Only the destination pixels inside dst are written; their sources keep
    // the one-to-one offset between the two rectangles.
    const PF_Rect target = pixels_detail::intersect(dst_r, pixels_detail::wholeOf(dst));
    if (pixels_detail::isEmpty(target)) return;
    // 64 bits: the two rectangles may lie further apart than A_long spans.
    const long long dx = static_cast<long long>(src_r.left) - dst_r.left;
    const long long dy = static_cast<long long>(src_r.top) - dst_r.top;
    const int count = target.right - target.left;

    // The same buffer on both sides: each row is read into a snapshot before
    // it is written, so overlapping rectangles copy as if all was read
    // before anything was written.
    std::vector<P> snapshot;
    const bool same = src.data == dst.data;
    if (same) snapshot.resize(static_cast<std::size_t>(count));

    // Rows are walked away from the source, so that no row is read after it
    // was written: upwards when the source lies above the destination.
    const bool upwards = same && dy < 0;
    for (int k = 0; k < target.bottom - target.top; ++k) {
        const int y = upwards ? target.bottom - 1 - k : target.top + k;
        const long long sy = y + dy;
        const P* src_row = (sy >= 0 && sy < src.height) ? pixels_detail::rowOf<P>(src, static_cast<int>(sy)) : nullptr;
        P* dst_row = pixels_detail::rowOf<P>(dst, y);
        if (same) {
            copyRow(src_row, src.width, target.left + dx, snapshot.data(), 0, count);
            std::copy(snapshot.begin(), snapshot.end(), dst_row + target.left);
        } else {
            copyRow(src_row, src.width, target.left + dx, dst_row, target.left, count);
        }
    }
}

}  // namespace

PF_Err copyWorld(const PF_EffectWorld* src, PF_EffectWorld* dst, const PF_Rect* src_r, const PF_Rect* dst_r) noexcept {
    const auto src_depth = pixels_detail::checkWorld(src);
    const auto dst_depth = pixels_detail::checkWorld(dst);
    if (!src_depth || !dst_depth || *src_depth != *dst_depth) return PF_Err_BAD_CALLBACK_PARAM;
    const PF_Rect s = src_r != nullptr ? *src_r : pixels_detail::wholeOf(*src);
    const PF_Rect d = dst_r != nullptr ? *dst_r : pixels_detail::wholeOf(*dst);
    if (!pixels_detail::wellFormed(s) || !pixels_detail::wellFormed(d)) return PF_Err_BAD_CALLBACK_PARAM;
    // Sizes compared in 64 bits: rectangles may span more than A_long holds.
    if (static_cast<long long>(s.right) - s.left != static_cast<long long>(d.right) - d.left ||
        static_cast<long long>(s.bottom) - s.top != static_cast<long long>(d.bottom) - d.top)
        return PF_Err_BAD_CALLBACK_PARAM;
    try {
        pixels_detail::dispatch(*src_depth, [&](auto tag) { copyRect<decltype(tag)>(*src, *dst, s, d); });
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    }
    return PF_Err_NONE;
}

}  // namespace minihost
