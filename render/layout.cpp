#include "render/layout.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "render/int_conversion.h"
#include "render/matrix.h"

A_long cell_for(const RenderSettings& settings, std::int64_t position) {
    for (const custom_size& pair : settings.custom_sizes) {
        if (pair.index == position) {
            return pair.size;
        }
    }
    return settings.cell_size;
}

run_state prepareRun(RenderSettings& settings) {
    run_state run;
    run.track_step = settings.track_step;
    // Sums in double: 2 x expansion or (n - 1) x expansion may not fit 32 bits.
    const double expansion = static_cast<double>(settings.expansion);
    switch (settings.alignment) {
        case ALIGN_RIGHT:
            // The run grows towards -x from start, last character first.
            std::reverse(settings.characters.begin(), settings.characters.end());
            run.track_step = -run.track_step;
            run.cursor = settings.start + 2.0 * expansion;
            break;
        case ALIGN_CENTER: {
            // n cells and n - 1 gaps centred on start; skipped characters count.
            const std::size_t n = settings.characters.size();
            double sum = 0.0;
            for (std::size_t i = 1; i <= n; ++i) {
                sum += static_cast<double>(cell_for(settings, static_cast<std::int64_t>(i)));
            }
            run.cursor = settings.start - 0.5 * sum - (static_cast<double>(n) - 1.0) * expansion;
            break;
        }
        default:
            run.cursor = settings.start;
            break;
    }
    return run;
}

namespace {

// The character's pixels grown by the expansion, in layer coordinates and in
// input buffer pixels, with their size. Every value must fit 32 bits exactly.
bool computeRects(const character& c, A_long expansion, const world_origins& origins, placement& p) {
    const std::optional<A_long> left = wholeToLong(std::floor(c.left));
    const std::optional<A_long> top = wholeToLong(std::floor(c.top));
    const std::optional<A_long> right = wholeToLong(std::ceil(c.right));
    const std::optional<A_long> bottom = wholeToLong(std::ceil(c.bottom));
    if (!left || !top || !right || !bottom) {
        return false;
    }
    const std::int64_t e = expansion;
    const std::int64_t l = *left - e;
    const std::int64_t t = *top - e;
    const std::int64_t r = *right + e;
    const std::int64_t b = *bottom + e;
    const std::optional<A_long> values[] = {
        narrowExact(l),
        narrowExact(t),
        narrowExact(r),
        narrowExact(b),
        narrowExact(r - l),
        narrowExact(b - t),
        narrowExact(l - origins.input_x),
        narrowExact(t - origins.input_y),
        narrowExact(r - origins.input_x),
        narrowExact(b - origins.input_y),
    };
    for (const std::optional<A_long>& v : values) {
        if (!v) {
            return false;
        }
    }
    p.source_rect = {*values[0], *values[1], *values[2], *values[3]};
    p.width = *values[4];
    p.height = *values[5];
    p.buffer_rect = {*values[6], *values[7], *values[8], *values[9]};
    return true;
}

}  // namespace

bool computePlacement(const RenderSettings& settings, run_state& run, std::size_t k, const world_origins& origins,
                      placement& p) {
    const character& c = settings.characters[k];
    p = placement{};
    p.cell = cell_for(settings, static_cast<std::int64_t>(k) + 1);
    const std::int64_t advance = static_cast<std::int64_t>(p.cell) + 2 * static_cast<std::int64_t>(settings.expansion);
    if (!computeRects(c, settings.expansion, origins, p)) {
        return false;
    }
    p.extent = settings.horizontal ? c.right - c.left : c.bottom - c.top;
    p.center_offset = (p.cell - p.extent) * 0.5;
    p.fraction_x = c.left - std::floor(c.left);
    p.fraction_y = c.top - std::floor(c.top);

    // Skip test. An advance beyond 32 bits is no room any buffer has either.
    const std::optional<A_long> advance32 = narrowExact(advance);
    if (p.width < 2 || p.height < 2 || advance < 2 || !advance32) {
        return false;
    }
    p.advance = *advance32;

    const bool right = settings.alignment == ALIGN_RIGHT;
    const double cell_start = right ? run.cursor - p.advance : run.cursor;
    const double expansion = static_cast<double>(settings.expansion);
    // The slot goes through single precision, as the host's own helpers do.
    const double track_offset = static_cast<double>(static_cast<float>(c.slot)) * run.track_step;

    PF_FloatMatrix& m = p.translation;
    SetIdentityMatrix(m);
    if (settings.horizontal) {
        TranslateMatrix(m, p.center_offset, 0.0);
        TranslateMatrix(m, -p.fraction_x, -p.fraction_y);
        TranslateMatrix(m, -expansion, -expansion);
        TranslateMatrix(m, 0.0, c.top);
        TranslateMatrix(m, cell_start, 0.0);
        TranslateMatrix(m, track_offset, 0.0);
    } else {
        TranslateMatrix(m, 0.0, p.center_offset);
        TranslateMatrix(m, -p.fraction_x, -p.fraction_y);
        TranslateMatrix(m, -expansion, -expansion);
        TranslateMatrix(m, c.left, 0.0);
        TranslateMatrix(m, 0.0, cell_start);
        TranslateMatrix(m, 0.0, track_offset);
    }
    TranslateMatrix(m, -static_cast<double>(origins.output_x), -static_cast<double>(origins.output_y));

    // A move by NaN or infinity (a degenerate layer matrix, NaN tracking)
    // places the pixels nowhere; the host must not be asked to.
    if (!std::isfinite(m.mat[2][0]) || !std::isfinite(m.mat[2][1])) {
        return false;
    }
    p.cell_start = cell_start;
    run.cursor = right ? cell_start : run.cursor + p.advance;
    return true;
}
