// The vector kernel of transform_world's fractional translation for 8-bit
// worlds: one run of destination pixels of one row whose taps are regular
// (lane k samples the source columns of lane 0 moved by k, with the same
// weights and the same taps in use), worked out several pixels at a time
// with exactly the float operations, in the same order, that the one-pixel
// path does, so the pixels are the same to the bit.
#pragma once

#include "AE_Effect.h"

namespace minihost::pixels_detail {

struct FractionRun {
    const PF_Pixel8* taps[2][2];  // lane 0's tap [row][column]; null: not in use
    float weights[2][2];          // the taps' weights, column weight x row weight
    bool whole;                   // one tap in use, at weight 1: its colour passes unchanged
    float opacity;
    bool screen;  // screen mode, else over
    PF_Pixel8* dst;
    int count;  // pixels in the run, at least fractionLanes()
};

/// How many pixels the kernel works out at a time on this machine.
int fractionLanes() noexcept;

/// Composites the run onto its destination; pixels whose sample has no
/// alpha are left as they are.
void compositeFractionRun(const FractionRun& run) noexcept;

}  // namespace minihost::pixels_detail
