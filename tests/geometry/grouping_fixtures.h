// Small builders for grouping tests: paths by box, and boxes compared whole.
#pragma once

#include <ostream>
#include <vector>

#include "geometry/text_characters.h"

namespace geometry_test {

struct Box {
    double left, top, right, bottom;
    friend bool operator==(const Box&, const Box&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Box& b) {
        return os << "(" << b.left << ", " << b.top << ", " << b.right << ", " << b.bottom << ")";
    }
};

template <typename T>
Box boxOf(const T& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// A one-vertex path whose box is b; the vertex sits at the box's top-left and
// its tangent points span the box.
inline path makePath(Box b) {
    path p;
    p.segment_count = 1;
    p.vertices = {PF_PathVertex{b.left, b.top, b.left, b.top, b.right, b.bottom}};
    p.left = b.left;
    p.top = b.top;
    p.right = b.right;
    p.bottom = b.bottom;
    return p;
}

struct Grouping {
    double x_tolerance = 0.0;
    double y_tolerance = 0.0;
    A_long alignment = 1;
    A_long expansion = 0;
};

inline std::vector<character> group(std::vector<Box> boxes, Grouping g = {}) {
    std::vector<path> paths;
    for (const Box& b : boxes) {
        paths.push_back(makePath(b));
    }
    std::vector<character> characters;
    groupCharacters(paths, g.x_tolerance, g.y_tolerance, g.alignment, g.expansion, characters);
    return characters;
}

// The boxes of a character's member paths, in membership order.
inline std::vector<Box> memberBoxes(const character& c) {
    std::vector<Box> boxes;
    for (const path& p : c.paths) {
        boxes.push_back(boxOf(p));
    }
    return boxes;
}

inline std::vector<Box> characterBoxes(const std::vector<character>& characters) {
    std::vector<Box> boxes;
    for (const character& c : characters) {
        boxes.push_back(boxOf(c));
    }
    return boxes;
}

inline std::vector<A_long> slotsOf(const std::vector<character>& characters) {
    std::vector<A_long> slots;
    for (const character& c : characters) {
        slots.push_back(c.slot);
    }
    return slots;
}

}  // namespace geometry_test
