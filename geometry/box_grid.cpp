#include "geometry/box_grid.h"

#include <algorithm>
#include <cmath>

namespace geometry_detail {
namespace {

// A box that overlaps more cells than this is listed once, among the wide.
constexpr std::int64_t kWideCells = 16;
// Cells per axis at most, and cells in all at most per box indexed.
constexpr int kMaxAxisCells = 4096;
constexpr std::int64_t kCellsPerBox = 4;

// The value at fraction q of the sorted values (values are reordered).
double quantile(std::vector<double>& values, double q) {
    const auto k = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(k), values.end());
    return values[k];
}

struct Span {
    double lo = 0.0, hi = 0.0;
    double extent() const { return hi - lo; }
};

// The range holding all but the outermost 1 % of the finite coordinates:
// outliers only land in the edge cells, they do not stretch the grid.
Span spread(std::vector<double>& values) {
    if (values.empty()) return {};
    return {quantile(values, 0.01), quantile(values, 0.99)};
}

}  // namespace

int BoxGrid::Axis::cellOf(double v) const {
    if (cells == 1) return 0;
    // Subtraction, multiplication by a positive number and truncation of a
    // non-negative number never decrease as v grows, nor does the clamping.
    const double t = (v - origin) * scale;
    if (!(t >= 0.0)) return 0;
    if (t >= static_cast<double>(cells)) return cells - 1;
    return static_cast<int>(t);
}

BoxGrid::BoxGrid(const std::vector<GridBox>& boxes) {
    std::vector<double> xs, ys, sizes;
    for (const GridBox& b : boxes) {
        for (const double x : {b.left, b.right})
            if (std::isfinite(x)) xs.push_back(x);
        for (const double y : {b.top, b.bottom})
            if (std::isfinite(y)) ys.push_back(y);
        const double size = std::max(b.right - b.left, b.bottom - b.top);
        if (std::isfinite(size)) sizes.push_back(size);
    }
    const Span sx = spread(xs);
    const Span sy = spread(ys);
    const double typical = sizes.empty() ? 0.0 : quantile(sizes, 0.5);
    const double n = static_cast<double>(std::max<std::size_t>(boxes.size(), 1));
    const double w = sx.extent();
    const double h = sy.extent();

    // Cells about as large as a typical box, and about one box per cell.
    double side = std::max(typical, w > 0.0 && h > 0.0 ? std::sqrt(w / n * h) : std::max(w, h) / n);
    if (!(side > 0.0) || !std::isfinite(side)) side = std::max(w, h);
    const auto cellsAlong = [side](double extent) {
        if (!(extent > 0.0) || !std::isfinite(extent) || !(side > 0.0)) return 1.0;
        return std::clamp(std::ceil(extent / side), 1.0, static_cast<double>(kMaxAxisCells));
    };
    double cols = cellsAlong(w);
    double rows = cellsAlong(h);
    const double most = static_cast<double>(kCellsPerBox) * n + 64.0;
    if (cols * rows > most) {
        const double shrink = std::sqrt(most / (cols * rows));
        cols = std::max(1.0, std::floor(cols * shrink));
        rows = std::max(1.0, std::floor(rows * shrink));
    }
    x_ = Axis{sx.lo, cols > 1.0 ? cols / w : 0.0, static_cast<int>(cols)};
    y_ = Axis{sy.lo, rows > 1.0 ? rows / h : 0.0, static_cast<int>(rows)};
    // A scale that rounds to infinity or zero would break the cell formula.
    if (!std::isfinite(x_.scale) || !(x_.scale > 0.0)) x_ = Axis{};
    if (!std::isfinite(y_.scale) || !(y_.scale > 0.0)) y_ = Axis{};

    const auto cell_count = static_cast<std::size_t>(x_.cells) * static_cast<std::size_t>(y_.cells);
    std::vector<std::uint32_t> counts(cell_count + 1, 0);
    const auto eachCell = [this](const GridBox& b, auto&& visit) {
        const int c0 = x_.cellOf(b.left), c1 = x_.cellOf(b.right);
        const int r0 = y_.cellOf(b.top), r1 = y_.cellOf(b.bottom);
        const std::int64_t span = static_cast<std::int64_t>(c1 - c0 + 1) * (r1 - r0 + 1);
        if (span > kWideCells) return false;
        for (int r = r0; r <= r1; ++r)
            for (int c = c0; c <= c1; ++c) visit(static_cast<std::size_t>(r) * static_cast<std::size_t>(x_.cells) + c);
        return true;
    };
    for (const GridBox& b : boxes) {
        if (!eachCell(b, [&counts](std::size_t cell) { ++counts[cell + 1]; })) wide_.push_back(b.id);
    }
    for (std::size_t i = 1; i < counts.size(); ++i) counts[i] += counts[i - 1];
    ids_.resize(counts.back());
    starts_ = counts;
    for (const GridBox& b : boxes) {
        eachCell(b, [&](std::size_t cell) { ids_[counts[cell]++] = b.id; });
    }
}

BoxGrid::Candidates BoxGrid::candidatesAt(double x, double y) const {
    const std::size_t cell = static_cast<std::size_t>(y_.cellOf(y)) * static_cast<std::size_t>(x_.cells) + x_.cellOf(x);
    const std::span<const std::uint32_t> all(ids_);
    return {all.subspan(starts_[cell], starts_[cell + 1] - starts_[cell]), wide_};
}

}  // namespace geometry_detail
