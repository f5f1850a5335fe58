// Union of two integer rectangles, as the pre-render grows its output extent.
#pragma once

#include "AE_Effect.h"

// A rectangle is empty when left >= right or top >= bottom.
bool isEmptyLRect(const PF_LRect& rect);

// Grows dst to hold src. An empty dst takes src as it is (also when src is
// empty too); an empty src leaves a non-empty dst unchanged. Only compares
// coordinates, so every input is defined.
void UnionLRect(const PF_LRect& src, PF_LRect& dst);
