// Integer rectangles in buffer or layer pixels: left and top inside, right and
// bottom outside.
#pragma once

#include <algorithm>

#include "AE_Effect.h"

namespace minihost {

/// True when the rectangle holds no pixel.
inline bool isEmpty(const PF_Rect& r) { return r.right <= r.left || r.bottom <= r.top; }

/// Intersection of two well-formed rectangles; when they do not meet the
/// result is empty with right == left or bottom == top.
inline PF_Rect intersect(const PF_Rect& a, const PF_Rect& b) {
    PF_Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

}  // namespace minihost
