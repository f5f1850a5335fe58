#include "host/union_lrect.h"

#include <algorithm>

bool isEmptyLRect(const PF_LRect& rect) { return rect.left >= rect.right || rect.top >= rect.bottom; }

void UnionLRect(const PF_LRect& src, PF_LRect& dst) {
    if (isEmptyLRect(dst)) {
        dst = src;
    } else if (!isEmptyLRect(src)) {
        dst.left = std::min(dst.left, src.left);
        dst.top = std::min(dst.top, src.top);
        dst.right = std::max(dst.right, src.right);
        dst.bottom = std::max(dst.bottom, src.bottom);
    }
}
