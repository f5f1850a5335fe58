// One visual character: one or more outlines, its box and its grid slot.
#pragma once

#include <vector>

#include "geometry/path.h"

struct character {
    A_long path_count = 0;    // equals paths.size()
    std::vector<path> paths;  // in the order they joined
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    A_long slot = 0;  // set by grouping from the text alignment
};
