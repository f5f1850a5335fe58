// A uniform grid over a fixed list of boxes, to find the boxes that may hold
// another one without testing every pair.
//
// A box that holds a well-ordered box (left <= right, top <= bottom) holds
// that box's top-left corner, so it overlaps the grid cell of that corner.
// Every box is listed in each cell it overlaps, and a box that overlaps many
// cells (a huge or infinite one) is listed once among the wide boxes, which
// every query returns. Cells are found by a rounding that never decreases
// with the coordinate, so a box and every point it holds agree on their cells
// exactly, whatever the coordinates (infinities included): the candidates
// returned for a corner always include every box that holds it. Used for
// grouping, which must answer exactly as a test of all pairs would.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace geometry_detail {

struct GridBox {
    std::uint32_t id;
    double left, top, right, bottom;
};

/// True when left <= right and top <= bottom; false for any NaN.
inline bool wellOrdered(double left, double top, double right, double bottom) { return left <= right && top <= bottom; }

class BoxGrid {
public:
    /// Indexes boxes given in ascending id order; every box must be well
    /// ordered. The grid's cells follow the boxes' spread and typical size.
    explicit BoxGrid(const std::vector<GridBox>& boxes);

    /// Ids of the boxes that may hold a box whose top-left corner is (x, y),
    /// x and y not NaN: those of the corner's cell and the wide ones, each
    /// list in ascending id order.
    struct Candidates {
        std::span<const std::uint32_t> cell;
        std::span<const std::uint32_t> wide;
    };
    Candidates candidatesAt(double x, double y) const;

private:
    struct Axis {
        double origin = 0.0;
        double scale = 0.0;  // cells per unit
        int cells = 1;
        int cellOf(double v) const;
    };

    Axis x_, y_;
    std::vector<std::uint32_t> starts_;  // cells + 1 offsets into ids_
    std::vector<std::uint32_t> ids_;
    std::vector<std::uint32_t> wide_;
};

}  // namespace geometry_detail
