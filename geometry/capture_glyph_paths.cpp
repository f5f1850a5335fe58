// Capture of the text layer's glyph outlines as path records.
//
// Host calls are chained on one status: each is made only while no earlier
// call failed, and the first error is the one answered. Reading stops at
// that error: the paths answered are the outlines read completely before it,
// never geometry filled from a vertex that the host did not deliver. The
// outline set, once the host has handed it over, is disposed of on every way
// out, also after a later call failed or while an exception passes.
#include <cstddef>
#include <utility>
#include <vector>

#include "geometry/downsample_factor.h"
#include "geometry/text_characters.h"
#include "host/suite_handler.h"

namespace {

// The outline set of one capture. Move-only; disposes of the set when it
// goes out of scope unless dispose() already did.
class TextOutlinesGuard {
public:
    explicit TextOutlinesGuard(const AEGP_TextLayerSuite1* suite) : suite_(suite) {}
    ~TextOutlinesGuard() {
        if (handle_ != nullptr) {
            (void)suite_->AEGP_DisposeTextOutlines(handle_);
        }
    }
    TextOutlinesGuard(TextOutlinesGuard&& other) noexcept
        : suite_(other.suite_), handle_(std::exchange(other.handle_, nullptr)) {}
    TextOutlinesGuard& operator=(TextOutlinesGuard&&) = delete;
    TextOutlinesGuard(const TextOutlinesGuard&) = delete;
    TextOutlinesGuard& operator=(const TextOutlinesGuard&) = delete;

    // Asks the host for the layer's outlines. The set is held only when the
    // call succeeds: whatever a failing call left in its out-parameter is not
    // the host's to take back.
    A_Err acquire(AEGP_LayerH layer, const A_Time* layer_time) {
        AEGP_TextOutlinesH set = nullptr;
        const A_Err err = suite_->AEGP_GetNewTextOutlines(layer, layer_time, &set);
        if (err == A_Err_NONE) {
            handle_ = set;
        }
        return err;
    }

    AEGP_TextOutlinesH get() const { return handle_; }

    // Gives the set back now and answers the host's result.
    A_Err dispose() {
        const AEGP_TextOutlinesH set = std::exchange(handle_, nullptr);
        return set != nullptr ? suite_->AEGP_DisposeTextOutlines(set) : A_Err_NONE;
    }

private:
    const AEGP_TextLayerSuite1* suite_;
    AEGP_TextOutlinesH handle_ = nullptr;
};

void scaleVertex(PF_PathVertex& v, double dsx, double dsy) {
    v.x *= dsx;
    v.tan_in_x *= dsx;
    v.tan_out_x *= dsx;
    v.y *= dsy;
    v.tan_in_y *= dsy;
    v.tan_out_y *= dsy;
}

double min3(double a, double b, double c) {
    const double ab = b < a ? b : a;
    return c < ab ? c : ab;
}

double max3(double a, double b, double c) {
    const double ab = b > a ? b : a;
    return c > ab ? c : ab;
}

// Grows p's box to hold the vertex and both its tangent points; the first
// vertex starts the box.
void widenBox(path& p, const PF_PathVertex& v, bool first) {
    if (first) {
        p.left = p.right = v.x;
        p.top = p.bottom = v.y;
    }
    const double left = min3(v.x, v.tan_in_x, v.tan_out_x);
    const double right = max3(v.x, v.tan_in_x, v.tan_out_x);
    const double top = min3(v.y, v.tan_in_y, v.tan_out_y);
    const double bottom = max3(v.y, v.tan_in_y, v.tan_out_y);
    p.left = left < p.left ? left : p.left;
    p.right = right > p.right ? right : p.right;
    p.top = top < p.top ? top : p.top;
    p.bottom = bottom > p.bottom ? bottom : p.bottom;
}

struct CaptureContext {
    const PF_InData* in_data;
    const AEGP_SuiteHandler& suites;
    AEGP_TextOutlinesH set;
    double dsx;
    double dsy;
};

// Reads outline i into p. Answers the first host error; p is then partial.
A_Err readOutline(const CaptureContext& ctx, A_long i, path& p) {
    const AEGP_TextLayerSuite1* text = ctx.suites.TextLayerSuite1();
    PF_PathOutlinePtr outline = nullptr;
    A_Err err = text->AEGP_GetIndexedTextOutline(ctx.set, i, &outline);
    if (err != A_Err_NONE) {
        return err;
    }
    const PF_PathDataSuite1* path_data = ctx.suites.PathDataSuite1();
    A_long segments = 0;
    err = path_data->PF_PathNumSegments(ctx.in_data->effect_ref, outline, &segments);
    if (err != A_Err_NONE) {
        return err;
    }
    // Every outline is read as closed: one vertex per segment. A negative
    // count from the host reads as none, so that segment_count always
    // matches the vertices held.
    p.segment_count = segments > 0 ? segments : 0;
    for (A_long j = 0; j < p.segment_count; ++j) {
        PF_PathVertex v{};
        err = path_data->PF_PathVertexInfo(ctx.in_data->effect_ref, outline, j, &v);
        if (err != A_Err_NONE) {
            return err;
        }
        scaleVertex(v, ctx.dsx, ctx.dsy);
        p.vertices.push_back(v);
        widenBox(p, v, j == 0);
    }
    return A_Err_NONE;
}

// Caps the room reserved up front, so that an absurd count from the host
// costs nothing until outlines actually arrive.
constexpr A_long kReserveLimit = 4096;

}  // namespace

A_Err captureGlyphPaths(const PF_InData* in_data, AEGP_LayerH layer, A_Time layer_time, std::vector<path>& paths) {
    // A null in_data is treated like a missing suite access: it ends the
    // command with the handler's error.
    AEGP_SuiteHandler suites(in_data != nullptr ? in_data->pica_basicP : nullptr);
    // A zero downsample denominator describes no resolution at all: the
    // quotient would be infinite or NaN and every coordinate meaningless (and
    // the division itself would trap in a host that unmasks floating-point
    // exceptions). Nothing is read, and the bad record is reported.
    if (in_data->downsample_x.den == 0 || in_data->downsample_y.den == 0) {
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    const double dsx = downsampleFactor(in_data->downsample_x);
    const double dsy = downsampleFactor(in_data->downsample_y);

    TextOutlinesGuard set(suites.TextLayerSuite1());
    A_Err err = set.acquire(layer, &layer_time);
    A_long count = 0;
    if (err == A_Err_NONE) {
        err = suites.TextLayerSuite1()->AEGP_GetNumTextOutlines(set.get(), &count);
    }
    if (err == A_Err_NONE && count > 0) {
        paths.reserve(paths.size() + static_cast<std::size_t>(count < kReserveLimit ? count : kReserveLimit));
        const CaptureContext ctx{in_data, suites, set.get(), dsx, dsy};
        for (A_long i = 0; i < count && err == A_Err_NONE; ++i) {
            path p;
            err = readOutline(ctx, i, p);
            if (err == A_Err_NONE) {
                paths.push_back(std::move(p));
            }
        }
    }
    const A_Err dispose_err = set.dispose();
    return err != A_Err_NONE ? err : dispose_err;
}
